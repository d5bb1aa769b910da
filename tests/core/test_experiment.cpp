// The experiment without windows: the grids as the window opens them, a run of hits and errors, the stop
// after every 100 trials, the error slots, what the steps tell the windows around the pause, and the
// results text and files.
#include "CarpetaTemporal.h"
#include "ResultatsExperiment.h"
#include "UnitWave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace tessora {
namespace {

// Draws the scripted values in turn, the last one again when they run out.
struct FontGuionada : FontAleatoria {
    void Sembrar() override {}
    std::int32_t Enter(std::int32_t) override { return Valors[std::min(Tirades++, Valors.size() - 1)]; }
    std::vector<std::int32_t> Valors{0};
    std::size_t Tirades = 0;
};

struct Banc {
    explicit Banc(Idioma idioma = Idioma::Castella, bool experimentador = false) {
        x.PrepararTaules(idioma, experimentador);
        x.Experimentar();
    }
    // Slot 0 holds `byte`, the block's features are written, the utterance is handed over, the pause ends.
    EfecteExperiment Prova(std::string_view vocal, std::uint8_t byte = 127) {
        std::fill_n(buffer->Dades(), kMidaEmissio, byte);
        x.EscriureBlocActual({"100", "500", "3", "400", "90"});
        x.ProcessarBlocExperiment(vocal);
        return x.AcabarPausa();
    }
    const std::string& Cella(int c, int r) const { return x.GridErrors().Cella(c, r); }
    bool Ranura(int e, std::uint8_t byte) const {
        const auto r = buffer->Ranura(static_cast<std::size_t>(e));
        return std::all_of(r.begin(), r.end(), [byte](auto b) { return b == byte; });
    }

    std::unique_ptr<BufferSo> buffer = BufferSo::Crear();
    FontGuionada font;
    Experiment x{*buffer, font};
};

struct FilaDisposicio {
    const char* Nom;
    Idioma Llengua;
    bool Experimentador;
    int N, FilaPercentatge, FilaCapcalera;
    const char* Capcalera8;
};
class DisposicioGrids : public testing::TestWithParam<FilaDisposicio> {};

TEST_P(DisposicioGrids, EtiquetesIZeros) {
    const FilaDisposicio& f = GetParam();
    Banc banc(Idioma::Catala);
    banc.x.Parar();
    banc.x.PrepararTaules(f.Llengua, f.Experimentador); // opened again, maybe with a smaller set
    EXPECT_EQ(banc.Cella(f.N, 0) + banc.Cella(0, f.N + 1), "UU");
    EXPECT_EQ(banc.Cella(0, f.FilaPercentatge) + banc.Cella(f.N + 3, 0), "% enc.% enc.");
    EXPECT_EQ(banc.Cella(f.N, f.FilaPercentatge) + banc.Cella(f.N + 3, 1), "00");
    EXPECT_EQ(banc.Cella(1, f.FilaCapcalera) + banc.Cella(2, f.FilaCapcalera), "ErrorNúm.");
    EXPECT_EQ(banc.Cella(8, f.FilaCapcalera), f.Capcalera8);
    const TaulaText& diferencies = banc.x.GridDiferencies();
    EXPECT_EQ(diferencies.Cella(f.N, 0) + diferencies.Cella(0, f.N), "UU");
    EXPECT_EQ(diferencies.Cella(f.N + 1, 0), ""); // nothing left of the Catalan set
}

INSTANTIATE_TEST_SUITE_P(, DisposicioGrids,
                         testing::Values(FilaDisposicio{"Castella", Idioma::Castella, false, 5, 7, 10, ""},
                                         FilaDisposicio{"CatalaExperimentador", Idioma::Catala, true, 7, 9,
                                                        12, "Situació"}),
                         [](const auto& info) { return std::string(info.param.Nom); });

TEST(Experiment, EncertsIErrorsALesTaules) {
    Banc banc;
    banc.font.Valors = {0, 0, 0, 0, 0, 0, 0, 0, 1}; // eight prompts of A, then E
    banc.Prova("A", 1);
    for (int i = 2; i <= 16; ++i)
        EXPECT_EQ(*banc.Prova(i <= 8 ? "O" : "I", static_cast<std::uint8_t>(i)).MostrarIndicacio,
                  i < 8 ? "A" : "E");
    EXPECT_EQ(banc.Cella(6, 1) + " " + banc.Cella(7, 1) + " " + banc.Cella(8, 1), "16 1 6.2");
    EXPECT_EQ(banc.Cella(1, 1) + " " + banc.Cella(1, 5) + " " + banc.Cella(2, 4),
              "8 7 8");                // A, A as O, E as I
    EXPECT_EQ(banc.Cella(1, 7), "12"); // 1 in 8
    EXPECT_EQ(banc.Cella(1, 8) + banc.Cella(2, 8) + " " + banc.Cella(0, 9), "EI E-I");
    std::string primer;
    for (int c = 0; c <= 8; ++c)
        primer += banc.Cella(c, 11) + " ";
    EXPECT_EQ(primer, "A-O 1 2 100 500 3 400 90 2048 ");
    EXPECT_EQ(banc.Cella(8, 12) + " " + banc.Cella(2, 25) + " " + banc.Cella(0, 26), "3584 16 ");
    EXPECT_TRUE(banc.Ranura(1, 2) && banc.Ranura(15, 16) && banc.Ranura(16, 127));
    EXPECT_EQ(TextPercentatgeEncerts(2, 3, ','), "66,7");
}

TEST(Experiment, AturadaCadaCentProvesIContinuacio) {
    Banc banc;
    for (int prova = 1; prova <= 200; ++prova) {
        const EfecteExperiment efecte = banc.Prova("A");
        ASSERT_EQ(efecte.MostrarIndicacio.has_value(), prova % 100 != 0) << prova;
        if (efecte.MostrarIndicacio) continue;
        EXPECT_TRUE(efecte.AmagarIndicacio && efecte.Escolta == AccioEscolta::Parar &&
                    efecte.EnMarxa == false);
        EXPECT_FALSE(banc.x.ProcessarBlocExperiment("A").ProgramarPausa); // nothing listens for it
        EXPECT_EQ(banc.x.Experimentar().Escolta, AccioEscolta::Engegar);
    }
    EXPECT_EQ(banc.x.NombreProves(), 200);
}

TEST(Experiment, RanuresFinsA2729IComptatsMesEnlla) {
    Banc banc;
    for (int e = 1; e <= 2730; ++e) {
        if (!banc.x.EnMarxa()) banc.x.Experimentar();
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

TEST(Experiment, ElSoDeLErrorEsGuardaAbansDeLaPausa) {
    Banc banc;
    std::fill_n(banc.buffer->Dades(), kMidaEmissio, 50);
    banc.x.ProcessarBlocExperiment("E");
    std::fill_n(banc.buffer->Dades(), kMidaEmissio, 60); // the next utterance, during the pause
    banc.x.AcabarPausa();
    EXPECT_TRUE(banc.Ranura(1, 50));
}

TEST(Experiment, UnaAturadaEnLaPausaAcabaLaTanda) {
    enum Com { Parar, Clic, TancarIExperimentar };
    for (const Com com : {Parar, Clic, TancarIExperimentar}) {
        Banc banc;
        banc.x.ProcessarBlocExperiment("A");
        const EfecteExperiment e = com == Clic    ? banc.x.LabelParaulaClick()
                                   : com == Parar ? banc.x.Parar()
                                                  : banc.x.Tancar();
        EXPECT_TRUE(e.AmagarIndicacio && e.Escolta == AccioEscolta::Parar && e.EnMarxa == false) << com;
        if (com == TancarIExperimentar) banc.x.Experimentar(); // a new run shows its own prompt
        EXPECT_FALSE(banc.x.AcabarPausa().MostrarIndicacio) << com;
        EXPECT_TRUE(banc.x.ExperimentDisponible());
    }
}

// A Spanish run of one trial of A, answered `vocal`, its text with this header.
std::string TextDUnaProva(const char* vocal, bool experimentador, Banc& banc) {
    banc.Prova(vocal, 50);
    return TextResultats(banc.x, {"6/12/26", "14:03:05", true, experimentador, experimentador});
}

const std::string kCap = "6/12/26\t14:03:05\rCastell\xE0\r";
const std::string kFila0 = "\tA\tE\tI\tO\tU\ttotal\tencerts\t% enc.\t\r";
const std::string kFilesIOU =
    "I\t0\t0\t0\t0\t0\t\t\t\t\rO\t0\t0\t0\t0\t0\t\t\t\t\rU\t0\t0\t0\t0\t0\t\t\t\t\r";
const std::string kUnError =
    "Surt\t1\t0\t0\t0\t0\t1\t0\t0\t\rA\t0\t0\t0\t0\t0\t\t\t\t\rE\t1\t0\t0\t0\t0\t\t\t\t\r" + kFilesIOU +
    "% enc.\t0\t0\t0\t0\t0\t\t\t\t\r\rERRORS\r";
const std::string kFilaError = "A-E\t1\t1\t100\t500\t3\t400\t90\t2048\t\r";

TEST(TextResultats, ByteAByte) {
    Banc b1, b2, b3;
    EXPECT_EQ(TextDUnaProva("A", false, b1), kCap + "Veu Greu\r\r" + kFila0 +
                                                 "Surt\t1\t0\t0\t0\t0\t1\t1\t100\t\r" +
                                                 "A\t1\t0\t0\t0\t0\t\t\t\t\rE\t0\t0\t0\t0\t0\t\t\t\t\r" +
                                                 kFilesIOU + "% enc.\t100\t0\t0\t0\t0\t\t\t\t\r");
    EXPECT_EQ(TextDUnaProva("E", false, b2),
              kCap + "Veu Greu\r\r" + kFila0 + kUnError + "\tError\tN\xFAm.\r" + kFilaError);
    EXPECT_EQ(TextDUnaProva("E", true, b3), kCap + "Veu Aguda\r\r" + kFila0 + kUnError +
                                                "\tError\tN\xFAm.\tFreq.\tF1\tMLPC\tS2F\tAF1\tSituaci\xF3\r" +
                                                kFilaError);
}

TEST(Exportacio, NomsDelWavIDelText) {
    for (const std::string nom : {"/d/dades.xy", "/d/x.wav", "so.\xC3\xA8\xC3\xA8\xC3\xA8" /* so.èèè */})
        EXPECT_EQ(NomsFitxersExportacio(nom).Text, nom + ".txt");
    EXPECT_EQ(NomsFitxersExportacio("/d.x/prova").Text, "/d.x/prova.wav.txt");
}

TEST(Exportacio, TextIWavSubstituits) {
    for (const char* vocal : {"A", "E"}) {
        proves::CarpetaTemporal carpeta;
        Banc banc;
        banc.Prova(vocal, 50);
        const NomsExportacio noms = NomsFitxersExportacio((carpeta.Cami() / "dades").string());
        proves::EscriureBytes(noms.Text, {'v', 'e', 'l', 'l'});
        int avisos = 0;
        const auto r =
            ExportarResultats(noms, "text\r", *banc.buffer, banc.x.RanuresDesades(), [&] { ++avisos; });
        EXPECT_TRUE(r.TextDesat && r.CodiWav == kWavCorrecte && avisos == 1);
        EXPECT_EQ(proves::LlegirBytes(noms.Text), (std::vector<std::uint8_t>{'t', 'e', 'x', 't', '\r'}));
        std::vector<std::uint8_t> dades(kMidaEmissio, 127); // slot 0 silenced, then the error's slot
        if (*vocal == 'E') dades.resize(2 * kMidaEmissio, 50);
        ASSERT_EQ(EscriureWav(carpeta.Cami() / "ref.wav", 0, dades), kWavCorrecte);
        EXPECT_EQ(proves::LlegirBytes(noms.Wav), proves::LlegirBytes(carpeta.Cami() / "ref.wav")) << vocal;
    }
}

TEST(Exportacio, TextQueNoEsPotCrearNoDeixaSeguir) {
    proves::CarpetaTemporal carpeta;
    Banc banc;
    banc.Prova("E");
    const NomsExportacio noms = NomsFitxersExportacio((carpeta.Cami() / "dades").string());
    std::filesystem::create_directory(noms.Text); // a folder stands where the text would go
    int avisos = 0;
    EXPECT_FALSE(ExportarResultats(noms, "text\r", *banc.buffer, 1, [&] { ++avisos; }).TextDesat);
    EXPECT_EQ(avisos, 0);
    EXPECT_FALSE(std::filesystem::exists(noms.Wav));
}

} // namespace
} // namespace tessora
