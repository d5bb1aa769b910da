// Pre-emphasis, window, level gate, FFT and ear weighting (the frequency axis is held by whole analyses).
#include "Ajudes.h"
#include "UnitCalculsReconeixement.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <tuple>

namespace tessora {
namespace {

using proves::F;
using proves::LD;

// Hamming weight of sample i (1-based): 1.0 at i = 256, about 0.08 at both ends, not symmetric.
LD Pes(int i) {
    return 0.46L * std::cos(static_cast<LD>(i - 256) * static_cast<LD>(0.012271875f)) + 0.54L;
}

struct Espectre : ::testing::Test {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    ConfiguracioAnalisi config{.Preemfasis = false};
};

TEST_F(Espectre, LaPreemfasiUsaLaMostraAnteriorSenseFiltrarIDespresLaFinestra) {
    config.Preemfasis = true;
    estat->Mostres.fill(40);
    ASSERT_TRUE(CalcularEspectre(*estat, config));
    const float filtrada = F(40.0L - static_cast<LD>(0.95f) * 40.0L); // about 0.05 x 40 from sample 2 on
    EXPECT_EQ(estat->SenyalLPC[0], F(40.0L * Pes(1)));                // the first sample is unchanged
    for (int i = 2; i <= 512; ++i)
        ASSERT_EQ(estat->SenyalLPC[i - 1], F(static_cast<LD>(filtrada) * Pes(i))) << i;
}

using CasPorta = std::tuple<const char*, std::int32_t, bool>; // name, the one sample, gate open
class PortaDeNivell : public Espectre, public ::testing::WithParamInterface<CasPorta> {};

TEST_P(PortaDeNivell, NomesUnaMostraMesEnllaDeDosObreLaPorta) {
    const auto& [nom, valor, obre] = GetParam();
    estat->Mostres[255] = valor; // weight exactly 1 there
    estat->SenyalLPC.fill(9.0f);
    ASSERT_TRUE(CalcularEspectre(*estat, config));
    const auto zeros = std::count(estat->SenyalLPC.begin(), estat->SenyalLPC.begin() + 512, 0.0f);
    EXPECT_EQ(std::tuple(estat->SenyalLPC[255], zeros, estat->SenyalLPC[512]), // only 0..511 are written
              std::tuple(obre ? static_cast<float>(valor) : 0.0f, obre ? 511 : 512, 9.0f));
}

INSTANTIATE_TEST_SUITE_P(Llindar, PortaDeNivell,
                         ::testing::Values(CasPorta{"DosExactes", 2, false},
                                           CasPorta{"MenysDosExactes", -2, false}, CasPorta{"Tres", 3, true},
                                           CasPorta{"MenysTres", -3, true}),
                         proves::PerNom{});

// The spectrum is only shown, and only computed with the graphs and their FFT shown: a cosine of 32
// periods per block, amplitude 100, stands at bin 32 and its mirror with 54 (half the amplitude times the
// window's mean weight 0.54, times 512 over 256). The ear weighting then divides bins 1..255 by
// f^0.800147 / 79.1874212; bin 0 becomes 0 and the upper half is left alone.
TEST_F(Espectre, LaFFTNomesAmbElsGraficsTrobaUnCosinusILOidaElPondera) {
    for (int i = 0; i < 512; ++i)
        estat->Mostres[i] = static_cast<int>(std::lround(100 * std::cos(std::numbers::pi * i / 8)));
    estat->ModulEspectre.fill(3.0f);
    for (const bool grafics : {false, true}) {
        config.GraficsVisibles = grafics, config.VeureFFT = !grafics;
        ASSERT_TRUE(CalcularEspectre(*estat, config));
        EXPECT_EQ(estat->ModulEspectre[32], 3.0f); // the previous spectrum stays
    }
    config.VeureFFT = true;
    ASSERT_TRUE(CalcularEspectre(*estat, config));
    const auto modul = estat->ModulEspectre;
    EXPECT_EQ(std::max_element(modul.begin(), modul.begin() + 256) - modul.begin(), 32);
    EXPECT_NEAR(modul[32], 54.0, 0.5);
    EXPECT_NEAR(modul[480], modul[32], 1e-3);
    config.EscalaAdaptadaOida = true;
    ASSERT_TRUE(CalcularEspectre(*estat, config));
    for (int k : {1, 32, 255}) {
        const LD f = estat->FrequenciesEspectre[k];
        EXPECT_EQ(estat->ModulEspectre[k], F(modul[k] / (std::exp(std::log(f) * -0.800147L) * 79.1874212L)))
            << k;
    }
    EXPECT_EQ(std::tuple(estat->ModulEspectre[0], estat->ModulEspectre[256]), std::tuple(0.0f, modul[256]));
}

} // namespace
} // namespace tessora
