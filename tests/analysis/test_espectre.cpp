// Block preparation and spectrum: pre-emphasis, window, level gate, frequency axis, FFT and ear weighting.
#include "UnitCalculsReconeixement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <random>

namespace tessora {
namespace {

using LD = long double;
float F(LD v) {
    return static_cast<float>(v);
}

LD Pes(int i) {
    return 0.46L * std::cos(static_cast<LD>(i - 256) * static_cast<LD>(0.012271875f)) + 0.54L;
}

struct Espectre : ::testing::Test {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    ConfiguracioAnalisi config;
    void SetUp() override { config.Preemfasis = false; }
};

TEST_F(Espectre, ElPesDeLaFinestraEsUnAlCentreIAsimetricAlsExtrems) {
    estat->Mostres.fill(100);
    ASSERT_TRUE(CalcularEspectre(*estat, config));
    EXPECT_EQ(estat->SenyalLPC[255], 100.0f); // i = 256: cos 0
    EXPECT_EQ(estat->SenyalLPC[0], F(100.0L * Pes(1)));
    EXPECT_EQ(estat->SenyalLPC[511], F(100.0L * Pes(512)));
    EXPECT_NE(estat->SenyalLPC[0], estat->SenyalLPC[511]);
    EXPECT_NEAR(estat->SenyalLPC[0], 8.0f, 0.1f); // falls to about 0.08
}

struct CasPorta {
    const char* nom;
    std::int32_t valor;
    bool obre;
};

class PortaDeNivell : public ::testing::TestWithParam<CasPorta> {};

TEST_P(PortaDeNivell, NomesUnaMostraPerSobreDeDosObreLaPorta) {
    auto estat = std::make_unique<EstatAnalisi>();
    ConfiguracioAnalisi config;
    config.Preemfasis = false;
    estat->Mostres[255] = GetParam().valor; // weight exactly 1.0 there
    estat->SenyalLPC.fill(9.0f);
    ASSERT_TRUE(CalcularEspectre(*estat, config));
    if (GetParam().obre) {
        EXPECT_EQ(estat->SenyalLPC[255], static_cast<float>(GetParam().valor));
    } else {
        for (int i = 0; i < 512; ++i)
            ASSERT_EQ(estat->SenyalLPC[i], 0.0f) << i;
    }
    EXPECT_EQ(estat->SenyalLPC[512], 9.0f); // only 0..511 are written
}

INSTANTIATE_TEST_SUITE_P(Llindar, PortaDeNivell,
                         ::testing::Values(CasPorta{"dosExactes", 2, false},
                                           CasPorta{"menysDosExactes", -2, false}, CasPorta{"tres", 3, true},
                                           CasPorta{"menysTres", -3, true}, CasPorta{"zero", 0, false}),
                         [](const auto& info) { return std::string(info.param.nom); });

TEST_F(Espectre, LaPreemfasiUsaLaMostraAnteriorSenseFiltrar) {
    config.Preemfasis = true;
    estat->Mostres.fill(40);
    ASSERT_TRUE(CalcularEspectre(*estat, config));
    EXPECT_EQ(estat->SenyalLPC[0], F(40.0L * Pes(1)));                // p = 0 for the first sample
    const float filtrada = F(40.0L - static_cast<LD>(0.95f) * 40.0L); // about 0.05 x 40
    EXPECT_NEAR(filtrada, 2.0f, 1e-5f);
    for (int i = 2; i <= 512; ++i)
        ASSERT_EQ(estat->SenyalLPC[i - 1], F(static_cast<LD>(filtrada) * Pes(i))) << i;
}

TEST_F(Espectre, LEixDeFrequenciesSempreEsCalcula) {
    config.GraficsVisibles = false;
    estat->ModulEspectre.fill(3.0f);
    ASSERT_TRUE(CalcularEspectre(*estat, config));
    EXPECT_EQ(estat->FrequenciesEspectre[0], 0.0f);
    EXPECT_EQ(estat->FrequenciesEspectre[1], 21.533203125f);
    EXPECT_EQ(estat->FrequenciesEspectre[99], 2131.787109375f); // position 100
    EXPECT_EQ(estat->ModulEspectre[0], 3.0f);                   // no FFT while the graphs are hidden
    config.GraficsVisibles = true;
    config.VeureFFT = false;
    ASSERT_TRUE(CalcularEspectre(*estat, config));
    EXPECT_EQ(estat->ModulEspectre[7], 3.0f);
}

TEST_F(Espectre, UnImpulsDonaUnModulPla) {
    config.GraficsVisibles = true;
    estat->Mostres[0] = 100;
    ASSERT_TRUE(CalcularEspectre(*estat, config));
    const float x1 = F(100.0L * Pes(1));
    for (int k = 0; k < 512; ++k)
        ASSERT_EQ(estat->ModulEspectre[k], F(static_cast<LD>(x1) / 256.0L)) << k;

    config.EscalaAdaptadaOida = true;
    ASSERT_TRUE(CalcularEspectre(*estat, config));
    EXPECT_EQ(estat->ModulEspectre[0], 0.0f);
    for (int k = 1; k <= 255; ++k) {
        const float f = estat->FrequenciesEspectre[k];
        const float esperat = F(static_cast<LD>(F(static_cast<LD>(x1) / 256.0L)) /
                                (std::exp(std::log(static_cast<LD>(f)) * -0.800147L) * 79.1874212L));
        ASSERT_EQ(estat->ModulEspectre[k], esperat) << k;
    }
    EXPECT_EQ(estat->ModulEspectre[256], F(static_cast<LD>(x1) / 256.0L)); // upper half not weighted
}

TEST_F(Espectre, LaFFTCoincideAmbUnaDFTDirecta) {
    config.GraficsVisibles = true;
    std::mt19937 gen(3);
    std::uniform_int_distribution<int> d(-127, 128);
    for (int i = 0; i < 512; ++i)
        estat->Mostres[i] = d(gen);
    ASSERT_TRUE(CalcularEspectre(*estat, config));
    for (int k = 0; k < 512; k += 17) {
        std::complex<double> suma = 0;
        for (int n = 0; n < 512; ++n)
            suma += static_cast<double>(estat->Mostres[n] * Pes(n + 1)) *
                    std::polar(1.0, 2.0 * M_PI * k * n / 512.0);
        // Nine stages of 32-bit butterflies: a relative error of a few 1e-6 against double.
        EXPECT_NEAR(estat->ModulEspectre[k], std::abs(suma) / 256.0, 1e-4 + 1e-5 * std::abs(suma) / 256.0)
            << k;
    }
}

} // namespace
} // namespace tessora
