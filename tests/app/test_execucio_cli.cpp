// tessora-cli: the output contract on the demo recording (a, e, i, o, u spoken one by one), the options
// that change what the loop does, the saved utterance, outputs that fail and bad command lines.
#include "CarpetaTemporal.h"
#include "ExecucioCliDeProva.h"
#include "LecturaSo.h"

#include <QtGlobal>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace tessora {
namespace {

using proves::Executar;

std::vector<std::string> Camps(const std::string& text, char separador) {
    std::vector<std::string> camps;
    std::istringstream entrada(text);
    for (std::string camp; std::getline(entrada, camp, separador);)
        camps.push_back(camp);
    if (!text.empty() && text.back() == separador && separador != '\n') camps.emplace_back();
    return camps;
}

// Block and vowel of every analysis line: "5 A 46 E ...".
std::string BlocsIVocals(const std::string& sortida) {
    std::string s;
    for (const auto& linia : Camps(sortida, '\n'))
        s += (s.empty() ? "" : " ") + Camps(linia, '\t').at(0) + " " + Camps(linia, '\t').at(1);
    return s;
}

// Converts a recording with sox (installed by the setup script): a copy made by another program.
int Sox(const std::string& entrada, const std::string& opcions, const std::string& sortida) {
    return std::system(("sox -q '" + entrada + "' " + opcions + " '" + sortida + "'").c_str());
}

// The line format itself is checked on the installed program (tessora_cli_demo).
struct CasOpcions {
    const char* nom;
    std::vector<std::string> opcions;
    const char* esperat; // blocks and vowels
};
class Opcions : public ::testing::TestWithParam<CasOpcions> {};
TEST_P(Opcions, CanvienElQueFaElBucle) {
    auto arguments = GetParam().opcions;
    arguments.push_back(TESSORA_MOSTRA_DEMO);
    EXPECT_EQ(BlocsIVocals(Executar(arguments).sortida), GetParam().esperat);
}
INSTANTIATE_TEST_SUITE_P(
    Demo, Opcions,
    ::testing::Values(CasOpcions{"PerDefecte", {}, "5 A 46 E 86 I 127 O 168 U"},
                      CasOpcions{"EnCatalaNoEsPleguen", {"--llengua", "ca"}, "5 A 46 È 86 I 127 O 168 U"},
                      CasOpcions{"LletraDiferentAtura", {"--lletra", "A"}, "5 A 46 E"},
                      CasOpcions{"LletraEnMinusculaAturaAlPrimer", {"--lletra", "a"}, "5 A"},
                      CasOpcions{"OrdreQueNoEsEnter", {"--ordre", "x"}, "5  46  86  127  168 "}),
    [](const auto& info) { return std::string(info.param.nom); });

TEST(Cli, ReconeixementContinuAnalitzaCadaBlocSencer) {
    const auto linies = Camps(Executar({"--continu", TESSORA_MOSTRA_DEMO}).sortida, '\n');
    EXPECT_EQ(linies.size(), 206u); // 105786 samples: the partial block at the end is dropped
    EXPECT_EQ(linies.back().substr(0, 4), "205\t");
}

TEST(Cli, LaTaulaCsvDuElsValorsDeLaLiniaDeDades) {
    const auto files = Camps(Executar({"--csv", TESSORA_MOSTRA_DEMO}).sortida, '\n');
    ASSERT_EQ(files.size(), 6u);
    EXPECT_EQ(files[0], "block,time,vowel,pitch,F1,MigLPC,S2F,AF1,Y");
    const auto c = Camps(files[5], ',');
    ASSERT_EQ(c.size(), 9u);
    EXPECT_EQ(std::tuple(c[0], c[1], c[2]), std::tuple("168", "7.802", "U")); // 168 x 512 / 11025 s
    EXPECT_EQ(Camps(Executar({TESSORA_MOSTRA_DEMO}).sortida, '\n')[4],
              "168\tU\tFreq: " + c[3] + " - F1:" + c[4] + " - MigLPC:" + c[5] + " - S2F:" + c[6] +
                  " - AF1:" + c[7] + " - YF1/YF2:" + c[8] + " - U");
}

// The utterance's second loud block is the one the last line names; the slot holds it and its
// neighbours, byte for byte as read from the file.
TEST(Cli, DesaEscriuLaDarreraEmissio) {
    proves::CarpetaTemporal carpeta;
    const auto desti = carpeta.Cami() / "u.wav";
    ASSERT_EQ(Executar({"--desa", desti.string(), TESSORA_MOSTRA_DEMO}).codi, 0);
    const auto bytes = proves::LlegirBytes(desti);
    ASSERT_EQ(bytes.size(), 1656u);
    const auto so = LlegirFitxerSo(TESSORA_MOSTRA_DEMO).Mostres;
    EXPECT_TRUE(std::equal(bytes.begin() + 120, bytes.end(), so.begin() + 167 * 512));
}

// A line that cannot be written is an error (1), reported unless the reader went away; the files
// asked for are still written, and a file that cannot be written is an error too (said in the chosen
// language, with the system's reason).
class SortidaQueFalla : public std::streambuf {
public:
    explicit SortidaQueFalla(int error) : error_(error) {}
    int overflow(int) override { return errno = error_, traits_type::eof(); }

private:
    int error_;
};
TEST(Cli, UnaSortidaQueFallaDonaUn1) {
    proves::CarpetaTemporal carpeta;
    SortidaQueFalla plena(ENOSPC), tancada(EPIPE);
    const auto r = Executar({"--desa", (carpeta.Cami() / "u.wav").string(), TESSORA_MOSTRA_DEMO}, &plena);
    EXPECT_EQ(std::tuple(r.codi, r.errors),
              std::tuple(1, "tessora-cli: standard output: No space left on device\n"));
    EXPECT_TRUE(std::filesystem::exists(carpeta.Cami() / "u.wav"));
    const auto pipa = Executar({TESSORA_MOSTRA_DEMO}, &tancada);
    EXPECT_EQ(std::tuple(pipa.codi, pipa.errors), std::tuple(1, ""));
    const auto desa = Executar({"--llengua", "ca", "--desa", "/no/x.wav", TESSORA_MOSTRA_DEMO});
    EXPECT_EQ(std::tuple(desa.codi, desa.errors),
              std::tuple(1, "tessora-cli: No es pot crear el fitxer /no/x.wav: No such file or directory\n"));
    EXPECT_EQ(BlocsIVocals(desa.sortida), "5 A 46 È 86 I 127 O 168 U"); // the lines are already out
}

struct CasDolent {
    const char* nom;
    std::vector<std::string> arguments;
    const char* anomenat; // what the one error line must name
};
class OrdreDolenta : public ::testing::TestWithParam<CasDolent> {};
TEST_P(OrdreDolenta, UnaLiniaCurtaISortida2SenseEscriureRes) {
    proves::CarpetaTemporal carpeta;
    std::vector<std::string> arguments = {"--desa", (carpeta.Cami() / "desat.wav").string()};
    arguments.insert(arguments.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    const auto r = Executar(arguments);
    EXPECT_EQ(std::tuple(r.codi, r.sortida), std::tuple(2, ""));
    EXPECT_EQ(std::count(r.errors.begin(), r.errors.end(), '\n'), 1) << r.errors;
    EXPECT_LT(r.errors.size(), 100u) << r.errors;
    EXPECT_NE(r.errors.find(GetParam().anomenat), std::string::npos) << r.errors;
    EXPECT_TRUE(carpeta.Contingut().empty());
}
INSTANTIATE_TEST_SUITE_P(
    Casos, OrdreDolenta,
    ::testing::Values(CasDolent{"SenseFitxer", {}, "FILE"},
                      CasDolent{"MicrofonIFitxer", {"--microfon", TESSORA_MOSTRA_DEMO}, "FILE"},
                      CasDolent{"FitxerQueNoEsPotLlegir", {"/no/such/file.wav"}, "/no/such/file.wav: "},
                      CasDolent{"DesaBuit", {"--desa", "", TESSORA_MOSTRA_DEMO}, "--desa: "},
                      CasDolent{
                          "CapturaImpossible", {"--desa-captura", "/no/c", TESSORA_MOSTRA_DEMO}, "/no/c: "},
                      CasDolent{"DuradaNoNumerica", {"--microfon", "--durada", "nan"}, "--durada"},
                      CasDolent{"DuradaNegativa", {"--microfon", "--durada", "-1"}, "--durada"},
                      CasDolent{"DuradaMassaLlarga", {"--microfon", "--durada", "3e6"}, "--durada"},
                      CasDolent{"AvaluaSenseCarpeta",
                                {"--avalua", TESSORA_MOSTRA_DEMO, TESSORA_MOSTRA_DEMO, "/a/vocals-es.wav"},
                                "--avalua: with several FILEs, a folder"},
                      CasDolent{"GraellesAmbElMateixNom",
                                {"--textgrid", "/no", TESSORA_MOSTRA_DEMO, "/a/vocals-es.wav"},
                                "two FILEs named vocals-es"},
                      CasDolent{"CapaSenseAvalua", {"--capa", "v", TESSORA_MOSTRA_DEMO}, "--capa"},
                      CasDolent{"AgregaAmbFitxersASalvar", {"--agrega", "a.csv"}, "not with --agrega"}),
    [](const auto& info) { return std::string(info.param.nom); });

// A file cut off near its end is refused before the first line: status 2, nothing written or saved.
TEST(Cli, UnFitxerTallatAPropDelFinalNoEscriuRes) {
    proves::CarpetaTemporal carpeta;
    auto bytes = proves::LlegirBytes(TESSORA_MOSTRA_DEMO);
    bytes.resize(bytes.size() - 10);
    proves::EscriureBytes(carpeta.Cami() / "tallat.wav", bytes);
    const auto r = Executar({"--continu", "--desa-captura", (carpeta.Cami() / "c.wav").string(),
                             (carpeta.Cami() / "tallat.wav").string()});
    EXPECT_EQ(std::tuple(r.codi, r.sortida), std::tuple(2, ""));
    EXPECT_NE(r.errors.find("tallat.wav: file is truncated\n"), std::string::npos) << r.errors;
    EXPECT_FALSE(std::filesystem::exists(carpeta.Cami() / "c.wav"));
}

// A file whose damage only shows part-way (a FLAC file, its length in its header, cut short): the lines
// of the blocks read stand, then one line says why, status 2, nothing saved.
TEST(Cli, UnFitxerQueFallaAMeitatDeixaLesLiniesISurt2) {
    proves::CarpetaTemporal carpeta;
    const auto flac = (carpeta.Cami() / "d.flac").string();
    ASSERT_EQ(Sox(TESSORA_MOSTRA_DEMO, "-b 16", flac), 0);
    std::filesystem::resize_file(flac, std::filesystem::file_size(flac) * 3 / 4);
    const auto desat = (carpeta.Cami() / "c.wav").string();
    const auto r = Executar({"--desa-captura", desat, flac});
    EXPECT_EQ(std::tuple(r.codi, BlocsIVocals(r.sortida)), std::tuple(2, "5 A 46 E 86 I 127 O"));
    EXPECT_EQ(r.errors, "tessora-cli: " + flac + ": sound data cannot be read\n");
    EXPECT_FALSE(std::filesystem::exists(desat));
}

// A 16-bit stereo copy of the demo at a common, a low or a high rate recognises the same utterances (the
// same blocks), with at least 70% of the continuous mode's vowels the same as on the original.
class CopiaConvertida : public ::testing::TestWithParam<int> {};
TEST_P(CopiaConvertida, ReconeixLesMateixesEmissions) {
    proves::CarpetaTemporal carpeta;
    const auto copia = (carpeta.Cami() / "copia.wav").string();
    ASSERT_EQ(Sox(TESSORA_MOSTRA_DEMO, "-b 16 -c 2 -r " + std::to_string(GetParam()), copia), 0);
    const auto emissions = [](const std::string& sortida) {
        std::string blocs;
        for (const auto& linia : Camps(sortida, '\n'))
            blocs += Camps(linia, '\t').at(0) + " ";
        return blocs;
    };
    EXPECT_EQ(emissions(Executar({copia}).sortida), emissions(Executar({TESSORA_MOSTRA_DEMO}).sortida));
    const auto a = Camps(Executar({"--continu", TESSORA_MOSTRA_DEMO}).sortida, '\n');
    const auto b = Camps(Executar({"--continu", copia}).sortida, '\n');
    ASSERT_EQ(a.size(), b.size());
    std::size_t iguals = 0, ambVocal = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto va = Camps(a[i], '\t').at(1);
        ambVocal += !va.empty();
        iguals += !va.empty() && va == Camps(b[i], '\t').at(1);
    }
    EXPECT_GE(iguals * 10, ambVocal * 7) << iguals << " of " << ambVocal;
}
INSTANTIATE_TEST_SUITE_P(Frequencies, CopiaConvertida, ::testing::Values(8000, 22050, 44100, 48000, 96000));

// No sound server: one line that says so (a server without inputs is told apart against a real server,
// in the end-to-end test), and Qt's message handler is the caller's again afterwards.
void Recollir(QtMsgType, const QMessageLogContext&, const QString&) {}
TEST(Cli, SenseServidorDeSoUnaLiniaISortida2) {
    const char* anterior = std::getenv("PULSE_SERVER");
    const std::string guardat = anterior != nullptr ? anterior : "";
    ::setenv("PULSE_SERVER", "unix:/nonexistent/tessora-no-server", 1);
    const QtMessageHandler abans = qInstallMessageHandler(Recollir);
    for (const auto& arguments :
         {std::vector<std::string>{"--microfon"}, std::vector<std::string>{"--dispositius"}}) {
        const auto r = Executar(arguments);
        EXPECT_EQ(std::tuple(r.codi, r.sortida, r.errors),
                  std::tuple(2, "", "tessora-cli: no sound server answers (is one running?)\n"));
        EXPECT_EQ(qInstallMessageHandler(Recollir), Recollir);
    }
    qInstallMessageHandler(abans);
    anterior != nullptr ? ::setenv("PULSE_SERVER", guardat.c_str(), 1) : ::unsetenv("PULSE_SERVER");
}

} // namespace
} // namespace tessora
