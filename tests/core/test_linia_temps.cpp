// The timeline's ring and records, and the models file.
#include "CarpetaTemporal.h"
#include "LiniaTemps.h"
#include "ModelsVocals.h"
#include "PerNom.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>

namespace tessora {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Blocks in a script, one character each: q quiet, L loud, S clipped, a loud and analysed with no vowel
// decided, A / O loud and analysed deciding that vowel, | listening stopped. Block b's bytes all read b.
LiniaTemps Guio(std::size_t capacitat, std::string_view guio) {
    LiniaTemps linia(capacitat);
    for (const char c : guio) {
        if (c == '|') {
            linia.Tallar();
            continue;
        }
        const std::optional<AnalisiBloc> analisi =
            c == 'a' || c == 'A' || c == 'O'
                ? std::optional(AnalisiBloc{-1, c == 'a' ? "" : std::string(1, c)})
                : std::nullopt;
        linia.Afegir(Bytes(kMidaBloc, static_cast<std::uint8_t>(linia.BlocsRebuts())),
                     c == 'q'   ? 2
                     : c == 'S' ? 128
                                : 40,
                     analisi);
    }
    return linia;
}

// "first-last vowel@principal analysis's block*(clipped)" per utterance.
std::string Registres(const LiniaTemps& linia) {
    std::string text;
    for (const EmissioLinia& e : linia.Emissions()) {
        text += std::to_string(e.PrimerBloc) + '-' + std::to_string(e.DarrerBloc) + ' ' + e.Vocal;
        if (const AnalisiBloc* principal = e.AnalisiPrincipal())
            text += '@' + std::to_string(principal->Bloc);
        text += e.Saturada ? "*;" : ";";
    }
    return text;
}

struct CasRegistres {
    const char* nom;
    std::size_t capacitat;
    const char* guio;
    const char* registres;
};
class Registre : public testing::TestWithParam<CasRegistres> {};

TEST_P(Registre, UnaEmissioSurtSencera) {
    EXPECT_EQ(Registres(Guio(GetParam().capacitat, GetParam().guio)), GetParam().registres);
}
INSTANTIATE_TEST_SUITE_P(Casos, Registre,
                         testing::Values(CasRegistres{"VocalITall", 20, "LaAOSq|LL|LqL",
                                                      "0-4 A@2*;6-7 ;8-8 ;10-10 ;"},
                                         CasRegistres{"SenseVocal", 20, "qLaq", "1-2 @2;"},
                                         CasRegistres{"PrimerBlocSobreescrit", 4, "LLqLL", "3-4 ;"},
                                         CasRegistres{"MesLlargaQueLAnell", 3, "LLLLLqL", "6-6 ;"}),
                         proves::PerNom{});

// Across the wrap the ring gives the blocks it still holds, in order, and the recording they make.
TEST(LiniaTemps, LAnellEnDonarLaVolta) {
    const LiniaTemps linia = Guio(3, "qqAqq");
    EXPECT_EQ(linia.PrimerBlocDisponible(), 2);
    EXPECT_EQ(linia.So(1, 3), Bytes());
    Bytes esperat;
    for (std::uint8_t b : {2, 3, 4})
        esperat.insert(esperat.end(), kMidaBloc, b);
    EXPECT_EQ(linia.SoSencer(), esperat);
    EXPECT_EQ(linia.So(3, 4), Bytes(esperat.begin() + kMidaBloc, esperat.end()));
    EXPECT_EQ(std::pair(linia.Nivell(1), linia.Nivell(2)),
              std::pair(std::optional<std::int32_t>(), std::optional(40)));
    EXPECT_EQ(linia.EmissioEn(2), &linia.Emissions().front());
    EXPECT_EQ(linia.EmissioEn(3), nullptr);
    const TextGrid graella = linia.Graella(); // blocks counted from the first held
    EXPECT_EQ(graella.Fi, TempsBloc(3));
    EXPECT_EQ(graella.Capes[0].Intervals[0].Text, "A");
    EXPECT_EQ(graella.Capes[0].Intervals[0].Fi, TempsBloc(1));
    EXPECT_EQ(graella.Capes[1].Punts[0].Temps, CentreBloc(0));
}

// 1960 Hz is 12.875 Bark and 0 Hz -0.53: a step of 13.405 on each axis.
TEST(ModelsVocals, DistanciaBark) {
    EXPECT_NEAR(DistanciaBark(0, 0, 1960, 1960), 13.405 * std::sqrt(2.0), 1e-12); // rounding only
}

// Lines that do not read are skipped and counted; a model set is read back as it was (the shortest
// text of a float reads back exactly); the folder is made when missing.
TEST(ModelsVocals, ElFitxerEsLlegeixTalComEsVaEscriure) {
    proves::CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / "tessora" / "models.tsv";
    ModelsVocals models(fitxer);
    EXPECT_EQ(models.Carregar(), 0u);
    ASSERT_TRUE(models.Fixar("È", {456.789f, 1876.5f}));
    Bytes text = proves::LlegirBytes(fitxer);
    for (const std::string_view linia :
         {"A\t800\t1200\r", "", "\tB\t1\t2", "I\t300", "O\t1e99\t7", "U\t-3\t7"})
        text.insert(text.begin(), linia.begin(), linia.end()), text.insert(text.begin() + linia.size(), '\n');
    proves::EscriureBytes(fitxer, text);
    ModelsVocals llegits(fitxer);
    EXPECT_EQ(llegits.Carregar(), 5u);
    EXPECT_EQ(llegits.Model("È"), (ModelVocal{456.789f, 1876.5f}));
    EXPECT_EQ(llegits.Model("A"), (ModelVocal{800, 1200}));
    EXPECT_EQ(llegits.Tots().size(), 2u);
    ASSERT_TRUE(llegits.Buidar());
    EXPECT_TRUE(llegits.Buit() && ModelsVocals(fitxer).Carregar() == 0 &&
                proves::LlegirBytes(fitxer).empty());
}

// A write that fails leaves the models in memory and the file as they were.
TEST(ModelsVocals, UnaEscripturaQueFallaNoCanviaRes) {
    proves::CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / "models.tsv";
    const Bytes abans{'A', '\t', '8', '0', '0', '\t', '9', '0', '0', '\n'};
    proves::EscriureBytes(fitxer, abans);
    EXPECT_EQ(proves::EnUnFillSensePrivilegis(
                  carpeta.Cami(),
                  [&] {
                      ModelsVocals models(fitxer);
                      models.Carregar();
                      std::filesystem::permissions(carpeta.Cami(), std::filesystem::perms::owner_read |
                                                                       std::filesystem::perms::owner_exec);
                      int error = 0;
                      const bool escrit = models.Fixar("I", {300, 2300}, &error) || models.Buidar(&error);
                      return escrit ? 1 : error != EACCES ? 2 : models.Tots().size() != 1 ? 3 : 0;
                  }),
              0);
    EXPECT_EQ(proves::LlegirBytes(fitxer), abans);
}

} // namespace
} // namespace tessora
