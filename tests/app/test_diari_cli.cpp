// tessora-cli --importa and --diari on results texts made by the experiment's own export: the pooled
// table is the sum of the exports' tables, a file is stored once, a refused one not at all.
#include "CarpetaTemporal.h"
#include "ConfusioDiari.h"
#include "ExecucioCliDeProva.h"
#include "ExportacioDeProva.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <regex>

namespace tessora {
namespace {

using proves::Executar;

class DiariCli : public testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_DATA_HOME", (carpeta.Cami() / "dades").c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_DATA_HOME"); }

    // A speaker's export of `n` random trials, written as NAME.wav.txt; its table is added to the
    // pooled one of its vowel set.
    std::string Exportar(const std::string& nom, bool castella, int n) {
        const int vocals = castella ? 5 : 7;
        std::uniform_int_distribution<int> vocal(1, vocals);
        std::vector<std::pair<int, int>> llista;
        for (int k = 0; k < n; ++k) {
            const int demanada = vocal(atzar);
            llista.emplace_back(demanada, vocal(atzar) <= 3 ? demanada : vocal(atzar));
        }
        const auto e = proves::Exportacio(llista, {"7/12/26", "10:00:00", castella, false, true});
        TaulaAvaluacio& suma = castella ? castellana : catalana;
        for (std::size_t i = 0; i < suma.Confusio.size(); ++i)
            for (std::size_t j = 0; j < suma.Confusio.size(); ++j)
                suma.Confusio[i][j] += e.Taula.Confusio[i][j];
        suma.Puntuats += e.Taula.Puntuats;
        suma.Encerts += e.Taula.Encerts;
        std::string cami = (carpeta.Cami() / (nom + ".wav.txt")).string();
        std::ofstream(cami, std::ios::binary) << e.Text;
        return cami;
    }

    proves::CarpetaTemporal carpeta;
    std::mt19937 atzar{20};
    TaulaAvaluacio catalana = TaulaCurses({}, Idioma::Catala);
    TaulaAvaluacio castellana = TaulaCurses({}, Idioma::Castella);
};

TEST_F(DiariCli, LaTaulaDelDiariEsLaSumaDeLesExportacions) {
    const std::string maria = Exportar("maria", false, 40), joan = Exportar("joan", false, 130),
                      pere = Exportar("pere", true, 25);
    const std::string tallat = (carpeta.Cami() / "tallat.wav.txt").string();
    std::ofstream(tallat, std::ios::binary)
        << proves::Exportacio({{1, 2}}, {"7/12/26", "1:00", false, false, false}).Text.substr(0, 40);

    auto r = Executar({"--importa", maria, joan, tallat, pere});
    EXPECT_EQ(r.codi, 2);
    EXPECT_EQ(r.sortida, maria + ": imported as run 1\n" + joan + ": imported as run 2\n" + pere +
                             ": imported as run 3\n");
    EXPECT_EQ(r.errors, "tessora-cli: " + tallat + ":5: refused: the file ends within a line: cut short\n");

    r = Executar({"--diari", "--llengua", "ca"});
    EXPECT_EQ(r.codi, 0) << r.errors;
    const std::string pooled = TextAlineat(CellesTaulaAvaluacio(catalana));
    EXPECT_EQ(r.sortida.substr(0, pooled.size()), pooled);
    EXPECT_TRUE(std::regex_search(r.sortida, std::regex("\njoan +1 +130 "))) << r.sortida;
    // Both sets, each under its name; the Spanish one alone is the sum of its one export.
    r = Executar({"--diari"});
    EXPECT_NE(r.sortida.find("# Castellà\n" + TextAlineat(CellesTaulaAvaluacio(castellana))),
              std::string::npos)
        << r.sortida;
    EXPECT_NE(Executar({"--diari", "--csv", "--parlant", "pere"}).sortida.find("\npere,1,25,"),
              std::string::npos);

    r = Executar({"--importa", pere, "--parlant", "Pere Roig"});
    EXPECT_EQ(r.codi, 0);
    EXPECT_EQ(r.sortida, pere + ": already imported as run 3, skipped\n");
}

TEST_F(DiariCli, UnDiariQueNoEsPotObrir) {
    std::ofstream(carpeta.Cami() / "dades") << "a file where the folder should be";
    const auto r = Executar({"--importa", Exportar("maria", false, 3)});
    EXPECT_EQ(r.codi, 1);
    EXPECT_NE(r.errors.find("cannot be opened"), std::string::npos) << r.errors;
}

} // namespace
} // namespace tessora
