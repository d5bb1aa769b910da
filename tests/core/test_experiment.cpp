// The experiment's bookkeeping without windows: the grids as the window opens them, a run of hits and
// errors, the stop after every 100 trials, the error slots of BufferSo, and what the steps tell the
// windows around the pause, the stops and the close.
#include "Experiment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace tessora {
namespace {

// Draws the scripted values in turn (the last one again when they run out).
class FontGuionada : public FontAleatoria {
public:
    void Sembrar() override { ++Sembrades; }
    std::int32_t Enter(std::int32_t) override {
        ++Tirades;
        return Valors[std::min(Seguent++, Valors.size() - 1)];
    }
    std::vector<std::int32_t> Valors{0};
    std::size_t Seguent = 0;
    int Sembrades = 0;
    int Tirades = 0;
};

struct Banc {
    explicit Banc(Idioma idioma = Idioma::Castella, bool experimentador = false) {
        x.PrepararTaules(idioma, experimentador);
    }
    // Slot 0 filled with `byte`, the features of the block written, the utterance handed over, the pause
    // over.
    EfecteExperiment Prova(std::string_view vocal, std::uint8_t byte = 127) {
        std::fill_n(buffer->Dades(), kMidaEmissio, byte);
        x.EscriureBlocActual({"100", "500", "3", "400", "90"});
        x.ProcessarBlocExperiment(vocal);
        return x.AcabarPausa();
    }
    const std::string& Cella(int c, int r) const { return x.GridErrors().Cella(c, r); }

    std::unique_ptr<BufferSo> buffer = BufferSo::Crear();
    FontGuionada font;
    Experiment x{*buffer, font};
};

struct FilaDisposicio {
    const char* Nom;
    Idioma Llengua;
    bool Experimentador;
    int N, FilaPercentatge, FilaCapcalera;
    const char* Capcalera8; // (8, header row)
};

class DisposicioGrids : public testing::TestWithParam<FilaDisposicio> {};

TEST_P(DisposicioGrids, EtiquetesIZeros) {
    const FilaDisposicio& f = GetParam();
    Banc banc(Idioma::Catala);
    banc.x.PrepararTaules(f.Llengua, f.Experimentador); // opened again, maybe with a smaller set
    const int n = f.N;
    EXPECT_EQ(banc.Cella(n, 0), "U");
    EXPECT_EQ(banc.Cella(0, n + 1), "U");
    EXPECT_EQ(banc.Cella(0, f.FilaPercentatge), "% enc.");
    EXPECT_EQ(banc.Cella(n + 3, 0), "% enc.");
    for (const int c : {1, n, n + 1, n + 2, n + 3})
        EXPECT_EQ(banc.Cella(c, 1), "0") << c;
    EXPECT_EQ(banc.Cella(n, f.FilaPercentatge), "0");
    EXPECT_EQ(banc.Cella(1, n + 3), "");
    EXPECT_EQ(banc.Cella(1, f.FilaCapcalera), "Error");
    EXPECT_EQ(banc.Cella(2, f.FilaCapcalera), "Núm.");
    EXPECT_EQ(banc.Cella(8, f.FilaCapcalera), f.Capcalera8);
    const TaulaText& diferencies = banc.x.GridDiferencies();
    EXPECT_EQ(diferencies.Cella(n, 0), "U");
    EXPECT_EQ(diferencies.Cella(0, n), "U");
    EXPECT_EQ(diferencies.Cella(n + 1, 0), ""); // nothing left of the Catalan set
}

INSTANTIATE_TEST_SUITE_P(, DisposicioGrids,
                         testing::Values(FilaDisposicio{"Castella", Idioma::Castella, false, 5, 7, 10, ""},
                                         FilaDisposicio{"CatalaExperimentador", Idioma::Catala, true, 7, 9,
                                                        12, "Situació"}),
                         [](const auto& info) { return std::string(info.param.Nom); });

TEST(Experiment, EncertsIErrorsALesTaules) {
    Banc banc;
    banc.font.Valors = {0, 0, 0, 0, 0, 0, 0, 0, 1}; // eight prompts of A, then E
    EXPECT_EQ(*banc.x.Experimentar().MostrarIndicacio, "A");
    EXPECT_EQ(banc.font.Sembrades, 1);
    banc.Prova("A", 1);
    for (int i = 2; i <= 8; ++i)
        banc.Prova("O", static_cast<std::uint8_t>(i));
    for (int i = 9; i <= 16; ++i)
        banc.Prova("I", static_cast<std::uint8_t>(i));
    EXPECT_EQ(banc.x.NombreErrors(), 15);
    EXPECT_EQ(banc.Cella(6, 1), "16");
    EXPECT_EQ(banc.Cella(7, 1), "1");
    EXPECT_EQ(banc.Cella(8, 1), "6.2");
    EXPECT_EQ(banc.Cella(1, 1), "8");  // A prompted 8 times
    EXPECT_EQ(banc.Cella(1, 5), "7");  // ... 7 of them heard as O
    EXPECT_EQ(banc.Cella(2, 4), "8");  // E heard as I
    EXPECT_EQ(banc.Cella(1, 7), "12"); // 1 in 8
    EXPECT_EQ(banc.Cella(2, 7), "0");
    EXPECT_EQ(banc.Cella(1, 8), "E");
    EXPECT_EQ(banc.Cella(2, 8), "I");
    EXPECT_EQ(banc.Cella(0, 9), "E-I");
    const std::vector<std::string> primer = {"A-O", "1", "2", "100", "500", "3", "400", "90", "2048"};
    for (int c = 0; c <= 8; ++c)
        EXPECT_EQ(banc.Cella(c, 11), primer[static_cast<std::size_t>(c)]) << c;
    EXPECT_EQ(banc.Cella(8, 12), "3584");
    EXPECT_EQ(banc.Cella(0, 25), "E-I");
    EXPECT_EQ(banc.Cella(2, 25), "16"); // the trial in progress when its block was recognised
    EXPECT_EQ(banc.Cella(0, 26), "");
    EXPECT_EQ(banc.buffer->Ranura(1)[0], 2); // the sound of trial 2, the first error
    EXPECT_EQ(banc.buffer->Ranura(15)[kMidaEmissio - 1], 16);
    EXPECT_EQ(banc.buffer->Ranura(16)[0], 127);
    EXPECT_EQ(TextPercentatgeEncerts(2, 3, ','), "66,7");
}

TEST(Experiment, AturadaCadaCentProvesIContinuacio) {
    Banc banc;
    banc.x.Experimentar();
    for (int prova = 1; prova <= 200; ++prova) {
        const EfecteExperiment efecte = banc.Prova("A");
        const bool centena = prova % 100 == 0;
        ASSERT_EQ(efecte.MostrarIndicacio.has_value(), !centena) << prova;
        if (!centena) continue;
        EXPECT_TRUE(efecte.AmagarIndicacio);
        EXPECT_EQ(efecte.Escolta, AccioEscolta::Parar);
        EXPECT_EQ(efecte.EnMarxa, false);
        EXPECT_TRUE(banc.x.ExperimentDisponible());
        EXPECT_FALSE(banc.x.ProcessarBlocExperiment("A").ProgramarPausa); // nothing listens for it
        EXPECT_EQ(banc.x.Experimentar().Escolta, AccioEscolta::Engegar);
    }
    EXPECT_EQ(banc.x.NombreProves(), 200);
    EXPECT_EQ(banc.Cella(8, 1), "100");
}

TEST(Experiment, RanuresFinsA2729IComptatsMesEnlla) {
    Banc banc;
    banc.font.Valors = {0};
    for (int e = 1; e <= kRanuresError + 1; ++e) {
        if (!banc.x.EnMarxa()) banc.x.Experimentar();
        banc.Prova("E", static_cast<std::uint8_t>(e % 200));
    }
    EXPECT_EQ(banc.x.NombreErrors(), 2730);
    EXPECT_EQ(banc.x.RanuresDesades(), 2729);
    EXPECT_EQ(banc.buffer->Ranura(2729)[0], 2729 % 200);
    std::uint8_t* fi = banc.buffer->Dades() + 2730 * kMidaEmissio;
    EXPECT_TRUE(std::all_of(fi, banc.buffer->Dades() + BufferSo::kMida, [](auto b) { return b == 127; }));
    EXPECT_EQ(banc.Cella(8, 5 + 5 + 2730), std::to_string((3 * 2730 + 1) * 512));
}

TEST(Experiment, SenseVocalDelConjuntNoEsPuntua) {
    for (const char* vocal : {"", "AE"}) {
        Banc banc;
        banc.x.Experimentar();
        const EfecteExperiment pas = (banc.x.EscriureBlocActual({}), banc.x.ProcessarBlocExperiment(vocal));
        EXPECT_TRUE(pas.AmagarIndicacio && pas.ProgramarPausa && !pas.CellesCanviades) << vocal;
        EXPECT_FALSE(banc.x.ProcessarBlocExperiment("A").ProgramarPausa); // not in the pause
        EXPECT_EQ(*banc.x.AcabarPausa().MostrarIndicacio, "A");
        EXPECT_EQ(banc.font.Tirades, 1); // the same vowel again, no new draw
        EXPECT_EQ(banc.x.NombreProves(), 0);
        EXPECT_EQ(banc.Cella(1, 1), "0");
        EXPECT_EQ(banc.Cella(0, 9), "");
        EXPECT_EQ(banc.buffer->Ranura(1)[0], 127);
    }
}

TEST(Experiment, ElSoDeLErrorEsGuardaAbansDeLaPausa) {
    Banc banc;
    banc.x.Experimentar();
    std::fill_n(banc.buffer->Dades(), kMidaEmissio, 50);
    banc.x.ProcessarBlocExperiment("E");
    std::fill_n(banc.buffer->Dades(), kMidaEmissio, 60); // the next utterance, during the pause
    banc.x.AcabarPausa();
    const auto ranura = banc.buffer->Ranura(1);
    EXPECT_TRUE(std::all_of(ranura.begin(), ranura.end(), [](auto b) { return b == 50; }));
}

TEST(Experiment, UnaAturadaEnLaPausaAcabaLaTanda) {
    enum Com { Parar, Clic, TancarIExperimentar };
    for (const Com com : {Parar, Clic, TancarIExperimentar}) {
        Banc banc;
        banc.x.Experimentar();
        banc.x.ProcessarBlocExperiment("A");
        const EfecteExperiment aturada = com == Clic    ? banc.x.LabelParaulaClick()
                                         : com == Parar ? banc.x.Parar()
                                                        : banc.x.Tancar();
        EXPECT_TRUE(aturada.AmagarIndicacio) << com;
        EXPECT_EQ(aturada.Escolta, AccioEscolta::Parar);
        EXPECT_EQ(aturada.EnMarxa, false);
        if (com == TancarIExperimentar) {
            EXPECT_TRUE(banc.x.Experimentar().MostrarIndicacio);
        }
        EXPECT_FALSE(banc.x.AcabarPausa().MostrarIndicacio) << com;
        EXPECT_TRUE(banc.x.ExperimentDisponible());
        EXPECT_EQ(banc.font.Tirades, com == TancarIExperimentar ? 2 : 1);
        EXPECT_EQ(banc.x.NombreProves(), 1);
    }
}

TEST(Experiment, TancarSenseTandaNoFaRes) {
    Banc banc;
    const EfecteExperiment efecte = banc.x.Tancar();
    EXPECT_FALSE(efecte.AmagarIndicacio || efecte.EnMarxa || efecte.Escolta != AccioEscolta::Cap);
}

} // namespace
} // namespace tessora
