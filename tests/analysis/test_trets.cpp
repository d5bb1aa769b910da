// Features of the envelope: MigLPC, scaling, peaks, merging of weak peaks, band and width of the first
// peak, and the values kept when a block does not produce them. The envelopes are built by hand and
// sum to 1600 where exact values are checked, so the scaling factor is exactly 1.
#include "UnitCalculsReconeixement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numeric>

namespace tessora {
namespace {

constexpr float kPas = 21.533203125f; // Hz per position at 11025 Hz

struct Trets : ::testing::Test {
    std::unique_ptr<EstatAnalisi> e = std::make_unique<EstatAnalisi>();
    ConfiguracioAnalisi config;
    float* E = nullptr;

    void SetUp() override {
        for (int k = 0; k < 512; ++k)
            e->FrequenciesEspectre[k] = static_cast<float>(k) * kPas;
        E = e->EnvolupantLPC.data();
    }
    void Base(float valor) { std::fill_n(E, 256, valor); }
    bool Calcular() {
        bool dos = false;
        EXPECT_TRUE(CalcularTrets(*e, config, dos));
        return dos;
    }
    float Posicio(int s) const { return e->PicsLPC[1][s]; }
    float Alcada(int s) const { return e->PicsLPC[2][s]; }
};

// Base 5 (1280) plus three peaks (+320): maxima at elements 30, 81 and 151.
void TresPics(float* E) {
    std::fill_n(E, 256, 5.0f);
    E[29] = 25, E[30] = 65, E[31] = 25;
    E[80] = 35, E[81] = 105, E[82] = 35;
    E[150] = 15, E[151] = 45, E[152] = 15;
}

TEST_F(Trets, TresPicsDonenTotsElsValors) {
    TresPics(E);
    ASSERT_EQ(std::accumulate(E, E + 256, 0.0f), 1600.0f);
    EXPECT_TRUE(Calcular());
    // A peak's position is one above its maximum and its height is the element there.
    EXPECT_EQ(Posicio(1), 646.0f); // Hz(31) = 30 x 21.53
    EXPECT_EQ(Posicio(2), 1744.0f);
    EXPECT_EQ(Posicio(3), 3252.0f);
    EXPECT_EQ(Posicio(4), 0.0f);
    EXPECT_EQ(Alcada(1), 25.0f);
    EXPECT_EQ(Alcada(2), 35.0f);
    EXPECT_EQ(Alcada(3), 15.0f);
    EXPECT_EQ(e->FrequenciaF1, 646.0f);
    EXPECT_EQ(e->SeparacioF2F1, 1098);
    EXPECT_EQ(e->AmpladaF1, 65); // edges 29 and 32: Round(3 x 21.53)
    EXPECT_DOUBLE_EQ(e->YF1YF2, static_cast<double>(25.0L / 35.0L));
    EXPECT_EQ(e->MigLPC, 2304); // the running sum first exceeds 800 at element 108
    EXPECT_EQ(e->LimitInferiorF1, 29);
    EXPECT_EQ(e->LimitSuperiorF1, 31);
}

TEST_F(Trets, LEnvolupantQuedaEscaladaASumarMilSisCents) {
    TresPics(E);
    for (int k = 0; k < 256; ++k)
        E[k] *= 0.37f;
    Calcular();
    // 256 float products each rounded once: the sum is 1600 within a few float ulps of the terms.
    EXPECT_NEAR(std::accumulate(E, E + 256, 0.0), 1600.0, 1e-3);
    EXPECT_EQ(Posicio(1), 646.0f);
}

TEST_F(Trets, UnBlocSilenciosNoCanviaResIDeixaElLimitInferiorAU) {
    Base(0.0f);
    e->MigLPC = 777;
    e->LimitInferiorF1 = 50;
    e->LimitSuperiorF1 = 60;
    e->FrequenciaF1 = 500;
    EXPECT_FALSE(Calcular());
    EXPECT_EQ(e->MigLPC, 777);
    EXPECT_EQ(e->LimitInferiorF1, 1);
    EXPECT_EQ(e->LimitSuperiorF1, 60);
    EXPECT_EQ(e->FrequenciaF1, 500.0f);
    for (int s = 1; s <= 10; ++s)
        EXPECT_EQ(Posicio(s), 0.0f);
}

struct CasPrimerPic {
    int maxim;       // element of the first local maximum
    float posicioHz; // slot 1 afterwards
};

class PrimerPicPerSobreDe80Hz : public Trets, public ::testing::WithParamInterface<CasPrimerPic> {};

TEST_P(PrimerPicPerSobreDe80Hz, NomesSiLaSevaFrequenciaSuperaEls80Hz) {
    Base(5.0f);
    // Peaks two elements wide: the height, taken one above the maximum, stands clear of the valleys.
    for (int m : {GetParam().maxim, 60, 100}) {
        E[m] = 50.0f;
        E[m + 1] = 40.0f;
    }
    Calcular();
    EXPECT_EQ(Posicio(1), GetParam().posicioHz);
}

// A maximum at element 3 stands at Hz(4) = 64.6: not a first peak, the next one is. Element 4 (86.1 Hz) is.
INSTANTIATE_TEST_SUITE_P(Llindar, PrimerPicPerSobreDe80Hz,
                         ::testing::Values(CasPrimerPic{3, 1292.0f}, CasPrimerPic{4, 86.0f}));

TEST_F(Trets, UnSolPicConservaElsValorsDelBlocAnterior) {
    Base(5.0f);
    E[40] = 80.0f;
    e->FrequenciaF1 = 321;
    e->SeparacioF2F1 = 654;
    e->AmpladaF1 = 99;
    e->YF1YF2 = 1.5;
    EXPECT_FALSE(Calcular());
    EXPECT_EQ(Posicio(1), 861.0f); // maximum at element 40: position 41, Hz(41) = 40 x 21.53
    EXPECT_EQ(e->FrequenciaF1, 321.0f);
    EXPECT_EQ(e->SeparacioF2F1, 654);
    EXPECT_EQ(e->AmpladaF1, 99);
    EXPECT_EQ(e->YF1YF2, 1.5);
}

TEST_F(Trets, ElsPicsSobrantsGuardenElsDosMesAltsOrdenatsPerPosicio) {
    Base(5.0f);
    E[20] = 60.0f, E[21] = 40.0f;   // slot 1
    E[50] = 60.0f, E[51] = 40.0f;   // slot 2
    E[100] = 30.0f, E[101] = 10.0f; // height 10: dropped
    E[130] = 50.0f, E[131] = 30.0f; // height 30
    E[160] = 40.0f, E[161] = 20.0f; // height 20
    Calcular();
    EXPECT_EQ(Posicio(3), static_cast<float>(std::nearbyint(130 * kPas)));
    EXPECT_EQ(Posicio(4), static_cast<float>(std::nearbyint(160 * kPas)));
}

// Maxima at 30 (strong), 36 (a bump on its shoulder) and 45; the bump stands less than 25 % above the
// valleys at both sides and is merged away, so 45 becomes the second peak.
TEST_F(Trets, UnPicFeblePerTotsDosCostatsSElimina) {
    Base(5.0f);
    const float forma[] = {65, 50, 40, 30, 28, 27, 29, 27.5f, 26, 25, 24, 23, 22, 21.5f, 30, 40, 30, 20};
    std::copy(std::begin(forma), std::end(forma), E + 30);
    EXPECT_TRUE(Calcular());
    EXPECT_EQ(Posicio(1), static_cast<float>(std::nearbyint(30 * kPas)));
    EXPECT_EQ(Posicio(2), static_cast<float>(std::nearbyint(45 * kPas)));
    EXPECT_EQ(Posicio(3), 0.0f);
}

TEST_F(Trets, UnDarrerPicFebleNoSEliminaMai) {
    Base(5.0f);
    const float forma[] = {65, 50, 40, 30, 28, 27, 29, 27.5f, 26, 25};
    std::copy(std::begin(forma), std::end(forma), E + 30);
    EXPECT_TRUE(Calcular());
    EXPECT_EQ(Posicio(2), static_cast<float>(std::nearbyint(36 * kPas)));
}

TEST_F(Trets, SenseLimitSuperiorEsConservaLAnterior) {
    // Low up to element 89, then at 8.5 or more to the end: scaled by 1600/1524 it stays above 8.
    std::fill_n(E, 90, 1.0f);
    std::fill(E + 90, E + 256, 8.5f);
    E[100] = 20.0f;
    E[150] = 20.0f;
    e->LimitSuperiorF1 = 123;
    Calcular();
    EXPECT_EQ(e->LimitSuperiorF1, 123);
    EXPECT_EQ(e->LimitInferiorF1, 90);
}

TEST_F(Trets, LaPonderacioDeLOidaAnulaElsDosPrimersPunts) {
    TresPics(E);
    config.EscalaAdaptadaOida = true;
    Calcular();
    EXPECT_EQ(E[0], 0.0f);
    EXPECT_EQ(E[1], 0.0f);
    // Equal values weighted by f^0.8 at the frequencies one position below: E[3] / E[2] = (2/1)^0.800147.
    EXPECT_NEAR(E[3] / E[2], std::pow(2.0, 0.800147), 1e-5);
}

TEST_F(Trets, NormalitzarLaFFTSumaCentALaMeitatInferior) {
    TresPics(E);
    for (int k = 0; k < 512; ++k)
        e->ModulEspectre[k] = 0.5f + static_cast<float>(k % 7);
    config.NormalitzarFFT = true;
    Calcular();
    double suma = 0;
    for (int k = 0; k < 256; ++k)
        suma += e->ModulEspectre[k];
    EXPECT_NEAR(suma, 100.0, 1e-4); // 256 products rounded to float
    EXPECT_EQ(e->ModulEspectre[300], 0.5f + 300 % 7);
}

} // namespace
} // namespace tessora
