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

// A script of blocks: q quiet, L loud, S clipped, A / O / - loud and analysed, deciding that vowel or none,
// | a stop; block b's bytes all read b. Per utterance: "first-last vowel@principal analysis" (* clipped).
using CasLinia = std::tuple<const char*, std::size_t, std::string_view, const char*>;
class Linia : public testing::TestWithParam<CasLinia> {};

TEST_P(Linia, LAnellILesEmissionsSenceres) {
    const auto& [nom, capacitat, guio, registres] = GetParam();
    LiniaTemps linia(capacitat);
    for (const char c : guio)
        if (c == '|')
            linia.Tallar();
        else
            linia.Afegir(Bytes(kMidaBloc, static_cast<std::uint8_t>(linia.BlocsRebuts())),
                         c == 'q'   ? 2
                         : c == 'S' ? 128
                                    : 40,
                         std::string_view("AO-").find(c) < 3
                             ? std::optional(AnalisiBloc{0, std::string(c != '-', c)})
                             : std::nullopt);
    std::string fets;
    for (const EmissioLinia& e : linia.Emissions())
        fets += std::to_string(e.PrimerBloc) + '-' + std::to_string(e.DarrerBloc) + e.Vocal + '@' +
                std::to_string(e.AnalisiPrincipal() ? e.AnalisiPrincipal()->Bloc : -1) +
                (e.Saturada ? "*;" : ";");
    EXPECT_EQ(fets, registres);
    // Across the wrap: the blocks held, oldest first; the grid counts from the first of them.
    const std::int64_t primer = linia.PrimerBlocDisponible(), inici = linia.Emissions().front().PrimerBloc;
    Bytes so;
    for (std::int64_t b = primer; b < linia.BlocsRebuts(); ++b)
        so.insert(so.end(), kMidaBloc, static_cast<std::uint8_t>(b));
    EXPECT_TRUE(linia.SoSencer() == so && linia.So(primer - 1, primer).empty() && linia.EmissioEn(inici));
    EXPECT_EQ(linia.Graella().Capes[0].Intervals[inici > primer].Inici, TempsBloc(inici - primer));
}
INSTANTIATE_TEST_SUITE_P(Casos, Linia,
                         testing::Values(CasLinia{"VocalITall", 20, "L-AOSq|LL|LqL",
                                                  "0-4A@2*;6-7@-1;8-8@-1;10-10@-1;"},
                                         CasLinia{"SenseVocal", 20, "qL-q", "1-2@2;"},
                                         CasLinia{"PrimerBlocSobreescrit", 4, "LLqLAq", "3-4A@4;"},
                                         CasLinia{"MesLlargaQueLAnell", 3, "LLLLLqL", "6-6@-1;"}),
                         proves::PerNom{});

// The folder is made when missing; lines that do not read are skipped and counted; a model reads back as
// set (the shortest text of a float reads back exactly). A write that fails leaves the models in memory
// and the file as they were. 1960 Hz is 12.875 Bark and 0 Hz -0.53.
TEST(ModelsVocals, ElFitxerILaDistancia) {
    EXPECT_NEAR(DistanciaBark(0, 0, 1960, 1960), 13.405 * std::sqrt(2.0), 1e-12); // rounding only
    proves::CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / "tessora" / "models.tsv";
    ASSERT_TRUE(ModelsVocals(fitxer).Fixar("È", {456.789f, 1876.5f}));
    Bytes text = proves::LlegirBytes(fitxer);
    for (const std::string_view linia :
         {"A\t800\t1200\r", "", "\tB\t1\t2", "I\t300", "O\t1e99\t7", "U\t-3\t7"})
        text.insert(text.begin(), linia.begin(), linia.end()),
            text.insert(text.begin() + static_cast<std::ptrdiff_t>(linia.size()), '\n');
    proves::EscriureBytes(fitxer, text);
    ModelsVocals models(fitxer);
    EXPECT_EQ(models.Carregar(), 5u);
    const std::map<std::string, ModelVocal, std::less<>> llegits{{"A", {800, 1200}},
                                                                 {"È", {456.789f, 1876.5f}}};
    EXPECT_EQ(models.Tots(), llegits);
    std::error_code
        cap; // the superuser's child, made "nobody", may not change the folder: it cannot write there either
    EXPECT_EQ(proves::EnUnFillSensePrivilegis(
                  carpeta.Cami(),
                  [&] {
                      std::filesystem::permissions(
                          fitxer.parent_path(),
                          std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec, cap);
                      int error = 0;
                      const bool escrit = models.Fixar("I", {300, 2300}, &error) || models.Buidar(&error);
                      return escrit ? 1 : error != EACCES ? 2 : models.Tots() != llegits ? 3 : 0;
                  }),
              0);
    EXPECT_EQ(proves::LlegirBytes(fitxer), text);
    std::filesystem::permissions(fitxer.parent_path(), std::filesystem::perms::owner_all);
    EXPECT_TRUE(models.Buidar() && models.Buit() && proves::LlegirBytes(fitxer).empty());
}

} // namespace
} // namespace tessora
