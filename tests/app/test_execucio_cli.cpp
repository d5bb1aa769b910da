// tessora-cli: the output contract on the demo recording (a, e, i, o, u spoken one by one), the
// options, the saved utterance, and bad input.
#include "CarpetaTemporal.h"
#include "ExecucioCli.h"
#include "LecturaSo.h"
#include "UnitCalculsReconeixement.h"
#include "UnitWave.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace tessora {
namespace {

struct Execucio {
    int codi;
    std::string sortida;
    std::string errors;
};

Execucio Executar(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "tessora-cli");
    std::vector<const char*> argv;
    for (const auto& a : arguments)
        argv.push_back(a.c_str());
    std::ostringstream sortida, errors;
    const int codi = ExecutarCli(static_cast<int>(argv.size()), argv.data(), sortida, errors);
    return {codi, sortida.str(), errors.str()};
}

std::vector<std::string> Linies(const std::string& text) {
    std::vector<std::string> linies;
    std::istringstream entrada(text);
    for (std::string linia; std::getline(entrada, linia);)
        linies.push_back(linia);
    return linies;
}

std::vector<std::string> Camps(const std::string& linia, char separador) {
    std::vector<std::string> camps;
    std::string camp;
    std::istringstream entrada(linia);
    while (std::getline(entrada, camp, separador))
        camps.push_back(camp);
    if (!linia.empty() && linia.back() == separador) camps.emplace_back();
    return camps;
}

// Vowels of the analysis lines, in order.
std::vector<std::string> Vocals(const std::string& sortida) {
    std::vector<std::string> vocals;
    for (const auto& linia : Linies(sortida))
        vocals.push_back(Camps(linia, '\t').at(1));
    return vocals;
}

const std::vector<std::string> kCincVocals = {"A", "E", "I", "O", "U"};

TEST(Cli, ElDemoDiuLesCincVocalsUnaLiniaPerEmissio) {
    const auto r = Executar({TESSORA_MOSTRA_DEMO});
    ASSERT_EQ(r.codi, 0) << r.errors;
    EXPECT_EQ(r.errors, "");
    EXPECT_EQ(Vocals(r.sortida), kCincVocals);
    long anterior = -1;
    for (const auto& linia : Linies(r.sortida)) {
        const auto camps = Camps(linia, '\t');
        ASSERT_EQ(camps.size(), 3u) << linia;
        const long bloc = std::stol(camps[0]);
        EXPECT_GT(bloc, anterior);
        anterior = bloc;
        EXPECT_EQ(camps[2].rfind("Freq: ", 0), 0u) << linia;
        EXPECT_EQ(camps[2].substr(camps[2].size() - camps[1].size() - 3), " - " + camps[1]);
    }
}

TEST(Cli, EnCatalaLesVocalsNoEsPleguen) {
    const auto es = Executar({TESSORA_MOSTRA_DEMO});
    const auto ca = Executar({"--llengua", "ca", TESSORA_MOSTRA_DEMO});
    ASSERT_EQ(ca.codi, 0);
    const auto vocalsCa = Vocals(ca.sortida);
    const auto vocalsEs = Vocals(es.sortida);
    ASSERT_EQ(vocalsCa.size(), vocalsEs.size());
    for (std::size_t i = 0; i < vocalsCa.size(); ++i)
        EXPECT_EQ(PlegarCastella(vocalsCa[i]), vocalsEs[i]);
    EXPECT_NE(vocalsCa[1], "E"); // the Catalan set has no plain E
}

TEST(Cli, ReconeixementContinuAnalitzaCadaBlocComplet) {
    const SoLlegit so = LlegirFitxerSo(TESSORA_MOSTRA_DEMO);
    ASSERT_TRUE(so.Correcte);
    const auto r = Executar({"--continu", TESSORA_MOSTRA_DEMO});
    ASSERT_EQ(r.codi, 0);
    const auto linies = Linies(r.sortida);
    ASSERT_EQ(linies.size(), so.Mostres.size() / 512);
    for (std::size_t i = 0; i < linies.size(); ++i)
        ASSERT_EQ(Camps(linies[i], '\t').at(0), std::to_string(i));
}

TEST(Cli, LaTaulaCsvTeLaCapcaleraIUnaFilaPerAnalisi) {
    const auto r = Executar({"--csv", TESSORA_MOSTRA_DEMO});
    ASSERT_EQ(r.codi, 0);
    const auto linies = Linies(r.sortida);
    ASSERT_EQ(linies.size(), 6u);
    EXPECT_EQ(linies[0], "block,time,vowel,pitch,F1,MigLPC,S2F,AF1,Y");
    const auto text = Executar({TESSORA_MOSTRA_DEMO}).sortida;
    const auto normals = Linies(text);
    for (std::size_t i = 1; i < linies.size(); ++i) {
        const auto camps = Camps(linies[i], ',');
        ASSERT_EQ(camps.size(), 9u) << linies[i];
        const auto linia = Camps(normals[i - 1], '\t');
        EXPECT_EQ(camps[0], linia[0]);
        EXPECT_EQ(camps[2], linia[1]);
        // The data line and the row carry the same values.
        EXPECT_EQ(linia[2], "Freq: " + camps[3] + " - F1:" + camps[4] + " - MigLPC:" + camps[5] +
                                " - S2F:" + camps[6] + " - AF1:" + camps[7] + " - YF1/YF2:" + camps[8] +
                                " - " + camps[2]);
        char esperat[32];
        std::snprintf(esperat, sizeof esperat, "%.3f", std::stol(camps[0]) * 512.0 / 11025.0);
        EXPECT_EQ(camps[1], esperat);
    }
}

TEST(Cli, LAturadaAutomaticaIgnoraLaRestaDelFitxer) {
    const auto r = Executar({"--lletra", "A", TESSORA_MOSTRA_DEMO});
    ASSERT_EQ(r.codi, 0);
    EXPECT_EQ(Vocals(r.sortida), (std::vector<std::string>{"A", "E"}));
    const auto igual = Executar({"--lletra", "a", TESSORA_MOSTRA_DEMO}); // case-sensitive: stops at once
    EXPECT_EQ(Vocals(igual.sortida), (std::vector<std::string>{"A"}));
}

TEST(Cli, UnOrdreQueNoEsEnterDeixaLaLiniaBuida) {
    const auto r = Executar({"--ordre", "x", TESSORA_MOSTRA_DEMO});
    ASSERT_EQ(r.codi, 0);
    for (const auto& linia : Linies(r.sortida))
        EXPECT_EQ(linia.substr(linia.find('\t')), "\t\t");
    EXPECT_EQ(Linies(r.sortida).size(), 5u);
}

TEST(Cli, UnMinimQueNoEsEnterValSeixanta) {
    EXPECT_EQ(Executar({"--fmin", "abc", TESSORA_MOSTRA_DEMO}).sortida,
              Executar({TESSORA_MOSTRA_DEMO}).sortida);
}

TEST(Cli, DesaEscriuLaDarreraEmissio) {
    proves::CarpetaTemporal carpeta;
    const auto desti = carpeta.Cami() / "u.wav";
    const auto r = Executar({"--desa", desti.string(), TESSORA_MOSTRA_DEMO});
    ASSERT_EQ(r.codi, 0) << r.errors;
    const auto bytes = proves::LlegirBytes(desti);
    ASSERT_EQ(bytes.size(), 1656u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(std::string(bytes.begin() + 112, bytes.begin() + 116), "data");
    // The utterance's second loud block is the one the last line names; the slot holds it and its
    // neighbours, byte for byte as read from the file.
    const long bloc = std::stol(Camps(Linies(r.sortida).back(), '\t')[0]);
    const SoLlegit so = LlegirFitxerSo(TESSORA_MOSTRA_DEMO);
    const std::vector<std::uint8_t> esperat(so.Mostres.begin() + (bloc - 1) * 512,
                                            so.Mostres.begin() + (bloc + 2) * 512);
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 120, bytes.end()), esperat);
}

TEST(Cli, UnDesaQueFallaDonaElMissatgeIUn1) {
    const auto r = Executar({"--desa", "/no/such/folder/x.wav", TESSORA_MOSTRA_DEMO});
    EXPECT_EQ(r.codi, 1);
    EXPECT_EQ(r.errors, "tessora-cli: /no/such/folder/x.wav: Imposible crear el archivo indicado\n");
    EXPECT_EQ(Vocals(r.sortida), kCincVocals); // the analysis lines are already out
}

TEST(Cli, UnFitxerMesCurtQueUnBlocNoDonaCapLinia) {
    proves::CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / "curt.wav";
    const std::vector<std::uint8_t> so(511, 200);
    ASSERT_EQ(EscriureWav(fitxer, 0, so), kWavCorrecte);
    const auto r = Executar({"--continu", fitxer.string()});
    EXPECT_EQ(r.codi, 0);
    EXPECT_EQ(r.sortida, "");
    std::vector<std::uint8_t> tres(512 * 3 + 100, 128);
    ASSERT_EQ(EscriureWav(fitxer, 0, tres), kWavCorrecte);
    EXPECT_EQ(Linies(Executar({"--continu", fitxer.string()}).sortida).size(),
              3u); // the partial block is dropped
}

TEST(Cli, AjudaIVersio) {
    const auto ajuda = Executar({"--help"});
    EXPECT_EQ(ajuda.codi, 0);
    EXPECT_NE(ajuda.sortida.find("Usage: tessora-cli"), std::string::npos);
    const auto versio = Executar({"--version"});
    EXPECT_EQ(versio.codi, 0);
    EXPECT_EQ(versio.sortida.rfind("tessora-cli ", 0), 0u);
}

struct CasDolent {
    const char* nom;
    std::vector<std::string> arguments; // "@" stands for the test's folder
    const char* anomenat;               // what the one error line must name
};

class EntradaDolenta : public ::testing::TestWithParam<CasDolent> {};

TEST_P(EntradaDolenta, UnaLiniaDErrorISortida2SenseEscriureRes) {
    proves::CarpetaTemporal carpeta;
    const std::string dir = carpeta.Cami().string();
    proves::EscriureBytes(carpeta.Cami() / "text.wav", {'h', 'o', 'l', 'a', '\n'});
    ASSERT_EQ(EscriureWav(carpeta.Cami() / "buit.wav", 0, {}), kWavCorrecte);
    const std::vector<std::uint8_t> so(4096, 180);
    ASSERT_EQ(EscriureWav(carpeta.Cami() / "tallat.wav", 0, so), kWavCorrecte);
    auto tallat = proves::LlegirBytes(carpeta.Cami() / "tallat.wav");
    tallat.resize(1000);
    proves::EscriureBytes(carpeta.Cami() / "tallat.wav", tallat);

    std::vector<std::string> arguments = {"--desa", dir + "/desat.wav"};
    for (const auto& a : GetParam().arguments)
        arguments.push_back(a.empty() || a[0] != '@' ? a : dir + a.substr(1));
    const auto r = Executar(arguments);
    EXPECT_EQ(r.codi, 2);
    EXPECT_EQ(r.sortida, "");
    const auto linies = Linies(r.errors);
    ASSERT_EQ(linies.size(), 1u) << r.errors;
    EXPECT_NE(linies[0].find(GetParam().anomenat), std::string::npos) << linies[0];
    EXPECT_FALSE(std::filesystem::exists(carpeta.Cami() / "desat.wav"));
}

INSTANTIATE_TEST_SUITE_P(
    Casos, EntradaDolenta,
    ::testing::Values(CasDolent{"opcioDesconeguda", {"--soroll", "@/buit.wav"}, "--soroll"},
                      CasDolent{"senseFitxer", {}, "FILE"},
                      CasDolent{"fitxerInexistent", {"@/no.wav"}, "no.wav"},
                      CasDolent{"carpeta", {"@"}, "tessora-proves"},
                      CasDolent{"noEsSo", {"@/text.wav"}, "text.wav"},
                      CasDolent{"senseMostres", {"@/buit.wav"}, "buit.wav"},
                      CasDolent{"tallat", {"@/tallat.wav"}, "tallat.wav"},
                      CasDolent{"llenguaDesconeguda", {"--llengua", "fr", "@/buit.wav"}, "--llengua"},
                      CasDolent{"duesEntrades", {"@/buit.wav", "@/text.wav"}, "text.wav"},
                      CasDolent{"duradaSenseMicrofon", {"--durada", "3", "@/buit.wav"}, "--durada"},
                      CasDolent{"duradaNegativa", {"--microfon", "--durada", "-1"}, "--durada"},
                      CasDolent{"microfonIFitxer", {"--microfon", "@/buit.wav"}, "FILE"}),
    [](const auto& info) { return std::string(info.param.nom); });

TEST(Cli, SenseServidorDeSoUnaLiniaISortida2) {
    const char* anterior = std::getenv("PULSE_SERVER");
    const std::string guardat = anterior ? anterior : "";
    ::setenv("PULSE_SERVER", "unix:/nonexistent/tessora-no-server", 1);
    for (const auto& arguments : {std::vector<std::string>{"--microfon", "--durada", "1"},
                                  std::vector<std::string>{"--dispositius"}}) {
        const auto r = Executar(arguments);
        EXPECT_EQ(r.codi, 2);
        EXPECT_EQ(r.sortida, "");
        EXPECT_EQ(r.errors, "tessora-cli: no sound input device (is a sound server running?)\n");
    }
    if (anterior)
        ::setenv("PULSE_SERVER", guardat.c_str(), 1);
    else
        ::unsetenv("PULSE_SERVER");
}

} // namespace
} // namespace tessora
