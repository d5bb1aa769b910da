// The feature step on envelopes built by hand: MigLPC and scaling, peaks, band, merging of weak peaks,
// width of the first peak, and the values kept when a block does not produce them. Where exact values
// are checked the envelopes sum to 1600, so the scaling factor is exactly 1.
#include "Ajudes.h"
#include "UnitCalculsReconeixement.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <tuple>
#include <utility>
#include <vector>

namespace tessora {
namespace {

constexpr float kPas = 21.533203125f; // Hz per position at 11025 Hz

// Round(Hz(p)) for a peak at position p.
float Hz(int p) {
    return static_cast<float>(std::nearbyint((p - 1) * kPas));
}

struct Trets : ::testing::Test {
    std::unique_ptr<EstatAnalisi> e = std::make_unique<EstatAnalisi>();
    ConfiguracioAnalisi config;
    float* E = e->EnvolupantLPC.data();

    void SetUp() override {
        for (int k = 0; k < 512; ++k)
            e->FrequenciesEspectre[k] = static_cast<float>(k) * kPas;
        std::fill_n(E, 256, 5.0f);
    }
    // Base 5 (1280) plus three peaks (+320): maxima at elements 30, 81 and 151.
    void TresPics() {
        E[29] = 25, E[30] = 65, E[31] = 25, E[80] = 35, E[81] = 105, E[82] = 35;
        E[150] = 15, E[151] = 45, E[152] = 15;
    }
    // A maximum at element m (a peak at position m + 1) that stands clear of its valleys.
    void Pic(int m, float alcada) { E[m] = alcada + 20.0f, E[m + 1] = alcada; }
    void Forma(int desde, std::vector<float> valors) { std::copy(valors.begin(), valors.end(), E + desde); }
    float Posicio(int s) const { return e->PicsLPC[1][s]; }
    std::vector<float> Posicions() const { return {&e->PicsLPC[1][1], &e->PicsLPC[1][5]}; }
};

TEST_F(Trets, TresPicsDonenTotsElsValors) {
    TresPics();
    ASSERT_EQ(std::accumulate(E, E + 256, 0.0f), 1600.0f);
    EXPECT_EQ(CalcularTrets(*e, config), ResultatTrets::DosPics);
    // A peak's position is one above its maximum (Hz(31) = 30 x 21.53) and its height is the element there.
    EXPECT_EQ(Posicions(), (std::vector<float>{646, 1744, 3252, 0}));
    // Edges 29 and 32 give AF1 = Round(3 x 21.53); the running sum first exceeds 800 at element 108.
    EXPECT_EQ(std::tuple(e->PicsLPC[2][1], e->FrequenciaF1, e->SeparacioF2F1, e->AmpladaF1, e->MigLPC,
                         e->YF1YF2, e->LimitInferiorF1, e->LimitSuperiorF1),
              std::tuple(25.0f, 646.0f, 1098, 65, 2304, static_cast<double>(25.0L / 35.0L), 29, 31));
}

TEST_F(Trets, SenseDosPicsEsConservenElsValorsDelBlocAnterior) {
    e->FrequenciaF1 = 321, e->SeparacioF2F1 = 654, e->AmpladaF1 = 99, e->YF1YF2 = 1.5;
    Pic(40, 60.0f); // one peak
    EXPECT_EQ(CalcularTrets(*e, config), ResultatTrets::MenysDeDosPics);
    EXPECT_EQ(Posicio(1), Hz(41));
    e->MigLPC = 777, e->LimitSuperiorF1 = 60;
    std::fill_n(E, 256, 0.0f); // silence: no MigLPC, no peak, no band either
    EXPECT_EQ(CalcularTrets(*e, config), ResultatTrets::MenysDeDosPics);
    EXPECT_EQ(std::tuple(Posicio(1), e->MigLPC, e->LimitInferiorF1, e->LimitSuperiorF1),
              std::tuple(0.0f, 777, 1, 60));
    EXPECT_EQ(std::tuple(e->FrequenciaF1, e->SeparacioF2F1, e->AmpladaF1, e->YF1YF2),
              std::tuple(321.0f, 654, 99, 1.5));
}

// Name, the maxima (element, height) and the positions in slots 1..4 afterwards, Hz.
using CasPics = std::tuple<const char*, std::vector<std::pair<int, float>>, std::vector<float>>;
class CercaDePics : public Trets, public ::testing::WithParamInterface<CasPics> {};

TEST_P(CercaDePics, OmpleLesPosicions) {
    const auto& [nom, maxims, posicions] = GetParam();
    for (auto [m, alcada] : maxims)
        Pic(m, alcada);
    CercarPics(*e);
    CalcularValorsTrets(*e, {});
    EXPECT_EQ(Posicions(), posicions);
}

// A maximum at element 3 stands at Hz(4) = 64.6 Hz and is no first peak; one at element 4 (86.1 Hz) is.
// After the first two, the two highest remaining peaks are kept, sorted by position.
INSTANTIATE_TEST_SUITE_P(
    Casos, CercaDePics,
    ::testing::Values(CasPics{"MaximA64HzNoEsPrimerPic", {{3, 40}, {60, 40}}, {Hz(61), 0, 0, 0}},
                      CasPics{"MaximA86HzSi", {{4, 40}, {60, 40}}, {86, Hz(61), 0, 0}},
                      CasPics{"DosMesAltsOrdenats",
                              {{20, 40}, {50, 40}, {100, 10}, {160, 20}, {130, 30}},
                              {Hz(21), Hz(51), Hz(131), Hz(161)}}),
    proves::PerNom{});

TEST_F(Trets, SenseLimitSuperiorEsConservaElDelBlocAnterior) {
    std::fill_n(E, 90, 1.0f); // below 8 up to element 89, then 8.5 to the end
    std::fill(E + 90, E + 256, 8.5f);
    e->LimitSuperiorF1 = 123;
    LimitarBandaF1(*e, 100);
    EXPECT_EQ(std::pair(e->LimitInferiorF1, e->LimitSuperiorF1), std::pair(90, 123));
}

// Maxima at 30 (strong), 36 (a bump on its shoulder) and 45: the bump stands less than 25 % above the
// valleys at both sides and is merged away, so 45 becomes the second peak. As the last peak, the same
// bump stays.
TEST_F(Trets, UnPicFeblePerTotsDosCostatsSEliminaSiNoEsElDarrer) {
    Forma(30, {65, 50, 40, 30, 28, 27, 29, 27.5f, 26, 25, 24, 23, 22, 21.5f, 30, 40, 30, 20});
    EXPECT_EQ(CalcularTrets(*e, config), ResultatTrets::DosPics);
    EXPECT_EQ(std::pair(Posicio(2), Posicio(3)), std::pair(Hz(46), 0.0f));
    SetUp();
    Forma(30, {65, 50, 40, 30, 28, 27, 29, 27.5f, 26, 25});
    EXPECT_EQ(CalcularTrets(*e, config), ResultatTrets::DosPics);
    EXPECT_EQ(Posicio(2), Hz(37));
}

TEST_F(Trets, LOidaAnulaElsDosPrimersPuntsINormalitzarSumaCent) {
    config.EscalaAdaptadaOida = config.NormalitzarFFT = true;
    for (int k = 0; k < 512; ++k)
        e->ModulEspectre[k] = 0.5f + static_cast<float>(k % 7);
    ASSERT_TRUE(PonderarINormalitzar(*e, config));
    EXPECT_EQ(std::pair(E[0], E[1]), std::pair(0.0f, 0.0f));
    // Equal values weighted by f^0.8 at the frequencies one position below: E[3] / E[2] = (2/1)^0.800147.
    EXPECT_NEAR(E[3] / E[2], std::pow(2.0, 0.800147), 1e-5); // float quotient of two rounded values
    EXPECT_NEAR(std::accumulate(&e->ModulEspectre[0], &e->ModulEspectre[256], 0.0), 100.0, 1e-4);
    EXPECT_EQ(e->ModulEspectre[300], 0.5f + 300 % 7);
}

} // namespace
} // namespace tessora
