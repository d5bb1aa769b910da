// The experiment without windows: grids, hits and errors, the stop every 100 trials, the error slots, the
// pause, and the results text and files.
#include "CarpetaTemporal.h"
#include "DesamentAutomatic.h"
#include "PerNom.h"
#include "ResultatsExperiment.h"
#include "UnitWave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

// The system's rename, refused (as by a disk gone away) for names ending in `refusat` when it is set.
static std::string refusat;
extern "C" int renameat(int carpetaVella, const char* vell, int carpetaNova, const char* nou) noexcept {
    if (!refusat.empty() && std::string_view(nou).ends_with(refusat)) return errno = EIO, -1;
    return static_cast<int>(::syscall(SYS_renameat, carpetaVella, vell, carpetaNova, nou));
}

namespace tessora {
namespace {

// Whether a step stops the run: the prompt hidden, listening stopped.
bool Atura(const EfecteExperiment& e) {
    return e.AmagarIndicacio && e.PararEscolta && e.EnMarxa == false;
}

// Draws the scripted values in turn, the last one again when they run out.
struct FontGuionada : FontAleatoria {
    void Sembrar() override {}
    std::int32_t Enter(std::int32_t) override { return Valors[std::min(Tirades++, Valors.size() - 1)]; }
    std::vector<std::int32_t> Valors{0};
    std::size_t Tirades = 0;
};

const auto Engega = [] { return true; }; // listening starts

struct Banc {
    Banc() { x.PrepararTaules(Idioma::Castella, false), x.Experimentar(Engega); }
    // Slot 0 holds `byte`, the block's features are written, the utterance is handed over, the next one
    // fills slot 0 during the pause (an error's sound is kept before it), the pause ends.
    EfecteExperiment Prova(std::string_view vocal, std::uint8_t byte = 127) {
        std::fill_n(buffer->Dades(), kMidaEmissio, byte);
        x.EscriureBlocActual({100, 500.0f, 3, 400, 90, 900.0f});
        x.ProcessarBlocExperiment(vocal);
        std::fill_n(buffer->Dades(), kMidaEmissio, 0xEE);
        return x.AcabarPausa();
    }
    std::string Cella(int c, int r, GridExperiment g = GridExperiment::Errors) const {
        return x.Cella(g, c, r);
    }
    bool Ranura(int e, std::uint8_t byte) const {
        const auto r = buffer->Ranura(static_cast<std::size_t>(e));
        return std::all_of(r.begin(), r.end(), [byte](auto b) { return b == byte; });
    }

    std::unique_ptr<BufferSo> buffer = BufferSo::Crear();
    FontGuionada font;
    Experiment x{*buffer, font};
};

// Language, experimenter, vowels in the set, the percentage row, the error header row and its ninth caption.
using FilaDisposicio = std::tuple<const char*, Idioma, bool, int, int, int, const char*>;
class DisposicioGrids : public testing::TestWithParam<FilaDisposicio> {};

TEST_P(DisposicioGrids, EtiquetesIZeros) {
    const auto& [nom, llengua, experimentador, n, percentatge, capcalera, capcalera8] = GetParam();
    Banc banc;
    banc.x.PrepararTaules(Idioma::Catala, false);
    banc.x.Parar();
    banc.x.PrepararTaules(llengua, experimentador); // opened again, maybe with a smaller set
    const auto d = GridExperiment::Diferencies;     // nothing left of the Catalan set past U
    EXPECT_EQ(banc.Cella(n, 0) + banc.Cella(0, n + 1) + banc.Cella(n, 0, d) + banc.Cella(0, n, d) +
                  banc.Cella(n + 1, 0, d),
              "UUUU");
    EXPECT_EQ(banc.Cella(0, percentatge) + banc.Cella(n + 3, 0), "% enc.% enc.");
    EXPECT_EQ(banc.Cella(n, percentatge) + banc.Cella(n + 3, 1), "00");
    EXPECT_EQ(banc.Cella(1, capcalera) + banc.Cella(2, capcalera) + banc.Cella(8, capcalera),
              std::string("ErrorNúm.") + capcalera8);
}
INSTANTIATE_TEST_SUITE_P(, DisposicioGrids,
                         testing::Values(FilaDisposicio{"Castella", Idioma::Castella, false, 5, 7, 10, ""},
                                         FilaDisposicio{"CatalaExperimentador", Idioma::Catala, true, 7, 9,
                                                        12, "Situació"}),
                         proves::PerNom{});

TEST(Experiment, EncertsIErrorsALesTaules) {
    Banc banc;
    banc.font.Valors = {0, 0, 0, 0, 0, 0, 0, 0, 1}; // eight prompts of A, then E
    banc.Prova("A", 1);
    for (int i = 2; i <= 16; ++i)
        EXPECT_EQ(*banc.Prova(i <= 8 ? "O" : "I", static_cast<std::uint8_t>(i)).MostrarIndicacio,
                  i < 8 ? "A" : "E");
    EXPECT_EQ(banc.Cella(6, 1) + " " + banc.Cella(7, 1) + " " + banc.Cella(8, 1), "16 1 6.2");
    // A, A as O, E as I; 1 in 8; the error pairs; the first error row.
    EXPECT_EQ(banc.Cella(1, 1) + " " + banc.Cella(1, 5) + " " + banc.Cella(2, 4) + " " + banc.Cella(1, 7),
              "8 7 8 12");
    EXPECT_EQ(banc.Cella(1, 8) + banc.Cella(2, 8) + " " + banc.Cella(0, 9), "EI E-I");
    std::string primer;
    for (int c = 0; c <= 8; ++c)
        primer += banc.Cella(c, 11) + " ";
    EXPECT_EQ(primer, "A-O 1 2 100 500 3 400 90 2048 ");
    EXPECT_EQ(banc.Cella(8, 12) + " " + banc.Cella(2, 25) + " " + banc.Cella(0, 26), "3584 16 ");
    EXPECT_TRUE(banc.Ranura(1, 2) && banc.Ranura(15, 16) && banc.Ranura(16, 127));
    EXPECT_EQ(TextPercentatgeEncerts(2, 3, ','), "66,7");
    EXPECT_EQ(TextPercentatgeEncerts(47, 80), "58.8"); // 58.75 as the 48-bit real holds it, to even
}

TEST(Experiment, AturadaCadaCentProvesIContinuacio) {
    Banc banc;
    for (int prova = 1; prova <= 200; ++prova) {
        const EfecteExperiment efecte = banc.Prova("A");
        ASSERT_EQ(efecte.MostrarIndicacio.has_value(), prova % 100 != 0) << prova;
        if (efecte.MostrarIndicacio) continue;
        EXPECT_TRUE(Atura(efecte));
        EXPECT_FALSE(banc.x.ProcessarBlocExperiment("A").ProgramarPausa);         // nothing listens for it
        EXPECT_FALSE(banc.x.Experimentar([] { return false; }).MostrarIndicacio); // listening failed to start
        EXPECT_TRUE(!banc.x.EnMarxa() && banc.x.Experimentar(Engega).MostrarIndicacio);
    }
    EXPECT_EQ(banc.x.NombreProves(), 200);
}

TEST(Experiment, RanuresFinsA2729IComptatsMesEnlla) {
    Banc banc;
    for (int e = 1; e <= 2730; ++e) {
        if (!banc.x.EnMarxa()) banc.x.Experimentar(Engega);
        banc.Prova("E", static_cast<std::uint8_t>(e % 200));
    }
    EXPECT_EQ(banc.x.RanuresDesades(), 2729);
    EXPECT_TRUE(banc.Ranura(2729, 2729 % 200));
    const auto fi = banc.buffer->Tot().subspan(2730 * kMidaEmissio);
    EXPECT_TRUE(std::all_of(fi.begin(), fi.end(), [](auto b) { return b == 127; }));
    EXPECT_EQ(banc.Cella(8, 5 + 5 + 2730), std::to_string((3 * 2730 + 1) * 512));
}

TEST(Experiment, SenseVocalDelConjuntNoEsPuntua) {
    for (const char* vocal : {"", "AE"}) {
        Banc banc;
        const EfecteExperiment pas = banc.x.ProcessarBlocExperiment(vocal);
        EXPECT_TRUE(pas.AmagarIndicacio && pas.ProgramarPausa && !pas.CellesCanviades) << vocal;
        EXPECT_EQ(*banc.x.AcabarPausa().MostrarIndicacio, "A");
        EXPECT_EQ(banc.font.Tirades, 1u); // the same vowel again, no new draw
        EXPECT_EQ(banc.Cella(1, 1) + banc.Cella(0, 9), "0");
    }
}

TEST(Experiment, LesProvesPuntuadesALaCarta) {
    Banc banc;                                                 // every prompt is A
    banc.x.ProcessarBlocExperiment("A"), banc.x.AcabarPausa(); // before any decided block: no place
    banc.Prova("A"), banc.Prova("AE"), banc.Prova("O");        // a hit, one not scored, an error
    ASSERT_EQ(banc.x.ProvesCarta().size(), 2u);
    const ProvaCarta& error = banc.x.ProvesCarta()[1];
    EXPECT_TRUE(error.F1 == 500.0f && error.F2 == 900.0f && error.Demanada == 1 && error.Reconeguda == 4);
    EXPECT_EQ(banc.x.ProvesCarta()[0].Reconeguda, 1);
    banc.x.PrepararTaules(Idioma::Castella, false);
    EXPECT_TRUE(banc.x.ProvesCarta().empty());
}

TEST(Experiment, UnaAturadaEnLaPausaAcabaLaTanda) {
    for (const bool deNou : {false, true}) {
        Banc banc;
        banc.x.ProcessarBlocExperiment("A");
        EXPECT_TRUE(Atura(banc.x.Parar()));
        if (deNou) banc.x.Experimentar(Engega); // a new run shows its own prompt
        EXPECT_FALSE(banc.x.AcabarPausa().MostrarIndicacio) << deNou;
        EXPECT_TRUE(banc.x.ExperimentDisponible());
    }
}

// The results text of a Spanish run of one trial of A answered `vocal`.
std::string TextDUnaProva(const char* vocal, bool experimentador) {
    Banc banc;
    banc.Prova(vocal, 50);
    return TextResultats(banc.x, {"6/12/26", "14:03:05", true, experimentador, experimentador});
}
// Its header and hits table, for a hit or an error.
std::string Taula(bool encert, const char* veu) {
    const std::string buida = "\t0\t0\t0\t0\t0\t\t\t\t\r", a = encert ? "1" : "0", e = encert ? "0" : "1";
    return "6/12/26\t14:03:05\rCastell\xE0\r" + std::string(veu) +
           "\r\r\tA\tE\tI\tO\tU\ttotal\tencerts\t% enc.\t\r" + "Surt\t1\t0\t0\t0\t0\t1\t" + a + "\t" +
           (encert ? "100" : "0") + "\t\rA\t" + a + buida.substr(2) + "E\t" + e + buida.substr(2) + "I" +
           buida + "O" + buida + "U" + buida + "% enc.\t" + (encert ? "100" : "0") + buida.substr(2);
}
const std::string kFilaError = "A-E\t1\t1\t100\t500\t3\t400\t90\t2048\t\r";

TEST(TextResultats, ByteAByte) {
    EXPECT_EQ(TextDUnaProva("A", false), Taula(true, "Veu Greu"));
    EXPECT_EQ(TextDUnaProva("E", false),
              Taula(false, "Veu Greu") + "\rERRORS\r\tError\tN\xFAm.\r" + kFilaError);
    EXPECT_EQ(TextDUnaProva("E", true),
              Taula(false, "Veu Aguda") +
                  "\rERRORS\r\tError\tN\xFAm.\tFreq.\tF1\tMLPC\tS2F\tAF1\tSituaci\xF3\r" + kFilaError);
}

TEST(NomsExportacio, DelWavIDelText) {
    for (const std::string nom : {"/d/dades.xy", "/d/x.wav", "so.\xC3\xA8\xC3\xA8\xC3\xA8" /* so.èèè */})
        EXPECT_EQ(NomsFitxersExportacio(nom).Text, nom + ".txt");
    EXPECT_EQ(NomsFitxersExportacio("/d.x/prova").Imatge, "/d.x/prova.wav.png");
}

// An error's run exported into a private folder, where the text file exists already.
struct Exportacio : testing::Test {
    proves::CarpetaTemporal carpeta;
    Banc banc;
    NomsExportacio noms = NomsFitxersExportacio((carpeta.Cami() / "dades").string());
    int avisos = 0;
    ResultatExportacio Exportar(const char* vocal = "E") {
        banc.Prova(vocal, 50);
        return ExportarResultats(noms, "text\r", "png", *banc.buffer, banc.x.RanuresDesades(),
                                 [&] { ++avisos; });
    }
};

TEST_F(Exportacio, TextIWavSubstituits) {
    for (const char* vocal : {"A", "E"}) { // a hit: slot 0 alone, silenced; an error adds its slot
        proves::EscriureBytes(noms.Text, {'v', 'e', 'l', 'l'});
        EXPECT_TRUE(Exportar(vocal).Correcte());
        EXPECT_EQ(proves::LlegirBytes(noms.Text), (std::vector<std::uint8_t>{'t', 'e', 'x', 't', '\r'}));
        EXPECT_EQ(proves::LlegirBytes(noms.Imatge), (std::vector<std::uint8_t>{'p', 'n', 'g'}));
        std::vector<std::uint8_t> dades(kMidaEmissio, 127);
        dades.resize(*vocal == 'E' ? 2 * kMidaEmissio : kMidaEmissio, 50);
        ASSERT_EQ(EscriureWav(carpeta.Cami() / "ref.wav", 0, dades), kWavCorrecte);
        EXPECT_EQ(proves::LlegirBytes(noms.Wav), proves::LlegirBytes(carpeta.Cami() / "ref.wav"));
    }
    EXPECT_EQ(avisos, 2);
}

// Whatever fails, no file is replaced and the failure names the file and the system's reason: a folder
// at the picture's or the WAV's name, or a WAV beyond the file size the system allows (in a child).
TEST_F(Exportacio, UnaFalladaNoSubstitueixRes) {
    proves::EscriureBytes(noms.Text, {'v'});
    for (const std::string* desti : {&noms.Imatge, &noms.Wav}) {
        std::filesystem::create_directory(*desti);
        const ResultatExportacio r = Exportar();
        EXPECT_TRUE(r.FitxerFallit == *desti && r.Error == EISDIR) << r.FitxerFallit << " " << r.Error;
        std::filesystem::remove(*desti);
    }
    const pid_t fill = ::fork();
    if (fill == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{2048, 2048};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const ResultatExportacio r = Exportar();
        ::_exit(r.FitxerFallit == noms.Wav && r.Error == EFBIG ? 0 : 1);
    }
    int estat = -1;
    ::waitpid(fill, &estat, 0);
    EXPECT_EQ(estat, 0);
    EXPECT_EQ(proves::LlegirBytes(noms.Text), std::vector<std::uint8_t>{'v'});
    EXPECT_FALSE(std::filesystem::exists(noms.Imatge) || std::filesystem::exists(noms.Wav));
    EXPECT_EQ(avisos, 0);
}

// A rename refused once every file is written: that file is named, and the WAV is not put in place.
TEST_F(Exportacio, UnReanomenamentRefusatEsDiu) {
    for (const std::string* desti : {&noms.Text, &noms.Imatge, &noms.Wav}) {
        refusat = desti->substr(desti->size() - 4);
        const ResultatExportacio r = Exportar();
        refusat.clear();
        EXPECT_TRUE(r.FitxerFallit == *desti && r.Error == EIO && !std::filesystem::exists(noms.Wav));
    }
}

TEST(DesamentAutomatic, NomsSenseSobreescriureIAvis) {
    ::setenv("XDG_DATA_HOME", "/d", 1);
    EXPECT_EQ(CarpetaDades(), "/d/tessora");
    ::unsetenv("XDG_DATA_HOME"), ::setenv("HOME", "/h", 1);
    EXPECT_EQ(CarpetaDades(), "/h/.local/share/tessora");

    proves::CarpetaTemporal arrel;
    const std::filesystem::path carpeta = arrel.Cami() / "dades" / "tessora";
    std::tm moment{}; // 2026-12-06 18:30:12
    moment.tm_year = 126, moment.tm_mon = 11, moment.tm_mday = 6;
    moment.tm_hour = 18, moment.tm_min = 30, moment.tm_sec = 12;
    const auto nom = [&](const char* final) {
        return (carpeta / ("experiment-2026-12-06-183012" + std::string(final))).string();
    };
    const auto primer = ReservarNomsAutomatics(carpeta, moment);
    ASSERT_TRUE(primer); // the folder is created, the WAV's name taken
    EXPECT_EQ(primer->Text, nom(".wav.txt"));
    EXPECT_TRUE(std::filesystem::exists(primer->Wav));
    proves::EscriureBytes(nom("-3.wav.png"), {});
    EXPECT_EQ(ReservarNomsAutomatics(carpeta, moment)->Wav, nom("-2.wav"));
    const auto quart = ReservarNomsAutomatics(carpeta, moment);
    EXPECT_EQ(quart->Wav, nom("-4.wav"));

    EXPECT_TRUE(LlegirAvisDesament(carpeta).empty());
    ASSERT_TRUE(AfegirAvisDesament(carpeta, *primer) && AfegirAvisDesament(carpeta, *quart));
    EXPECT_EQ(LlegirAvisDesament(carpeta),
              (std::vector<std::string>{primer->Wav, primer->Text, primer->Imatge, quart->Wav, quart->Text,
                                        quart->Imatge}));
    EsborrarAvisDesament(carpeta);
    EXPECT_TRUE(LlegirAvisDesament(carpeta).empty());
}

} // namespace
} // namespace tessora
