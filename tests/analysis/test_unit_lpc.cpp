// LPC analysis: the recursion and envelope against a literal, unoptimised rendering of the algorithm
// (full 8192-sample autocorrelation window, a cosine and a sine evaluated at every step), plus the
// closed forms that hold for orders 0 and 1 and the degenerate inputs.
#include "UnitLPC.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace tessora {
namespace {

using LD = long double;
float F(LD v) {
    return static_cast<float>(v);
}

struct Referencia {
    std::vector<float> x = std::vector<float>(8193, 0.0f);
    float R[129]{}, E[129]{}, K[129]{}, a[129][129]{}, c[129]{};
    std::vector<float> env = std::vector<float>(8193, 0.0f);
    bool error = false;

    void Calcular(const std::vector<float>& senyal, int n, int p, int punts) {
        std::fill(x.begin(), x.end(), 0.0f);
        std::fill(std::begin(R), std::end(R), 0.0f);
        for (int i = 0; i < n; ++i)
            x[i] = senyal[i];
        for (int k = 0; k <= p; ++k)
            for (int j = 0; j <= 8191 - k; ++j)
                R[k] = F(static_cast<LD>(R[k]) + static_cast<LD>(x[j]) * static_cast<LD>(x[j + k]));
        if (R[0] == 0.0f) {
            for (int i = 0; i < n; ++i)
                env[i] = 0.0f;
            return;
        }
        E[0] = R[0];
        K[1] = F(static_cast<LD>(R[1]) / static_cast<LD>(E[0]));
        a[1][1] = K[1];
        E[1] = F((1.0L - static_cast<LD>(K[1]) * static_cast<LD>(K[1])) * static_cast<LD>(E[0]));
        for (int i = 2; i <= p; ++i) {
            float s = 0.0f;
            for (int j = 1; j <= i - 1; ++j)
                s = F(static_cast<LD>(s) + static_cast<LD>(a[j][i - 1]) * static_cast<LD>(R[i - j]));
            if (E[i - 1] == 0.0f) {
                error = true;
                return;
            }
            K[i] = F((static_cast<LD>(R[i]) - static_cast<LD>(s)) / static_cast<LD>(E[i - 1]));
            a[i][i] = K[i];
            for (int j = 1; j <= i - 1; ++j)
                a[j][i] = F(static_cast<LD>(a[j][i - 1]) -
                            static_cast<LD>(K[i]) * static_cast<LD>(a[i - j][i - 1]));
            E[i] = F((1.0L - static_cast<LD>(K[i]) * static_cast<LD>(K[i])) * static_cast<LD>(E[i - 1]));
        }
        for (int j = 1; j <= p; ++j)
            c[j] = a[j][p];
        const int L = (punts + 1) / 2 - 1;
        const float pas = F(3.1416L / static_cast<LD>(L));
        for (int i = 0; i <= L; ++i) {
            const float w = F(static_cast<LD>(i) * static_cast<LD>(pas));
            float re = 1.0f, im = 0.0f;
            for (int k = 1; k <= p; ++k) {
                const LD angle = static_cast<LD>(k) * static_cast<LD>(w);
                re = F(static_cast<LD>(re) - std::cos(angle) * static_cast<LD>(c[k]));
                im = F(std::sin(angle) * static_cast<LD>(c[k]) + static_cast<LD>(im));
            }
            const float H = F(1.0L / std::sqrt(static_cast<LD>(re) * re + static_cast<LD>(im) * im));
            env[i] = F(4.0L * static_cast<LD>(H));
        }
    }
};

std::vector<float> SenyalAleatori(std::mt19937& gen, int n, float amplitud) {
    std::uniform_real_distribution<float> d(-amplitud, amplitud);
    std::vector<float> s(8193, 0.0f);
    for (int i = 0; i < n; ++i)
        s[i] = d(gen);
    return s;
}

struct Cas {
    int mostres, ordre, punts;
};

class LPCContraReferencia : public ::testing::TestWithParam<Cas> {};

TEST_P(LPCContraReferencia, IgualBitABit) {
    const Cas cas = GetParam();
    std::mt19937 gen(1234u + static_cast<unsigned>(cas.ordre * 7 + cas.punts));
    auto lpc = std::make_unique<UnitLPC>();
    std::vector<float> sortida(8193, -1.0f);
    for (int prova = 0; prova < 4; ++prova) {
        const auto senyal = SenyalAleatori(gen, cas.mostres, 60.0f);
        auto ref = std::make_unique<Referencia>();
        ref->Calcular(senyal, cas.mostres, cas.ordre, cas.punts);
        ASSERT_FALSE(ref->error);
        ASSERT_EQ(lpc->CalcularLPC(senyal.data(), sortida.data(), cas.mostres, cas.ordre, cas.punts),
                  ResultatLPC::Correcte);
        for (int k = 0; k <= cas.ordre; ++k)
            ASSERT_EQ(std::bit_cast<std::uint32_t>(lpc->Autocorrelacio[k]),
                      std::bit_cast<std::uint32_t>(ref->R[k]))
                << "R[" << k << "]";
        for (int j = 1; j <= cas.ordre; ++j)
            ASSERT_EQ(std::bit_cast<std::uint32_t>(lpc->CoeficientsLPC[j]),
                      std::bit_cast<std::uint32_t>(ref->c[j]))
                << "a[" << j << "]";
        const int punts = (cas.punts + 1) / 2;
        for (int i = 0; i < punts; ++i)
            ASSERT_EQ(std::bit_cast<std::uint32_t>(sortida[i]), std::bit_cast<std::uint32_t>(ref->env[i]))
                << "point " << i;
    }
}

// The standard call, other orders (the cached cosines grow and are reused), other point counts (the
// table is rebuilt), and fewer samples than the block.
INSTANTIATE_TEST_SUITE_P(Ordres, LPCContraReferencia,
                         ::testing::Values(Cas{512, 11, 512}, Cas{512, 2, 512}, Cas{512, 24, 512},
                                           Cas{512, 11, 512}, Cas{512, 128, 512}, Cas{300, 11, 512},
                                           Cas{512, 11, 100}, Cas{512, 11, 513}, Cas{1024, 16, 1024}));

TEST(CalcularLPC, BlocDeZerosAnulaLEnvolupantIConservaElsCoeficients) {
    auto lpc = std::make_unique<UnitLPC>();
    std::mt19937 gen(7);
    auto senyal = SenyalAleatori(gen, 512, 50.0f);
    std::vector<float> env(8193, 9.0f);
    ASSERT_EQ(lpc->CalcularLPC(senyal.data(), env.data(), 512, 11, 512), ResultatLPC::Correcte);
    const auto coeficients = lpc->CoeficientsLPC;

    std::vector<float> zeros(8193, 0.0f);
    std::fill(env.begin(), env.end(), 9.0f);
    EXPECT_EQ(lpc->CalcularLPC(zeros.data(), env.data(), 512, 11, 512), ResultatLPC::Silenci);
    for (int i = 0; i < 512; ++i)
        ASSERT_EQ(env[i], 0.0f) << i;
    EXPECT_EQ(env[512], 9.0f); // beyond NombreMostres nothing is written
    EXPECT_EQ(lpc->CoeficientsLPC, coeficients);
}

TEST(CalcularLPC, OrdreZeroDonaUnaEnvolupantPlanaDeQuatre) {
    auto lpc = std::make_unique<UnitLPC>();
    std::mt19937 gen(8);
    auto senyal = SenyalAleatori(gen, 512, 50.0f);
    std::vector<float> env(8193, -1.0f);
    ASSERT_EQ(lpc->CalcularLPC(senyal.data(), env.data(), 512, 0, 512), ResultatLPC::Correcte);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(env[i], 4.0f) << i;
    EXPECT_EQ(env[256], -1.0f);
}

TEST(CalcularLPC, OrdreNegatiuPrenElCamiDelSilenci) {
    auto lpc = std::make_unique<UnitLPC>();
    std::mt19937 gen(9);
    auto senyal = SenyalAleatori(gen, 512, 50.0f);
    std::vector<float> env(8193, 3.0f);
    EXPECT_EQ(lpc->CalcularLPC(senyal.data(), env.data(), 400, -3, 512), ResultatLPC::Silenci);
    EXPECT_EQ(env[399], 0.0f);
    EXPECT_EQ(env[400], 3.0f);
}

TEST(CalcularLPC, OrdreUCoincideixAmbLaFormaTancada) {
    auto lpc = std::make_unique<UnitLPC>();
    // x = 1, 2, 3: R0 = 14, R1 = 8, K1 = a1 = 8/14, point 0 = 4 / |1 - a1|.
    std::vector<float> senyal(8193, 0.0f);
    senyal[0] = 1.0f;
    senyal[1] = 2.0f;
    senyal[2] = 3.0f;
    std::vector<float> env(8193, 0.0f);
    ASSERT_EQ(lpc->CalcularLPC(senyal.data(), env.data(), 3, 1, 512), ResultatLPC::Correcte);
    EXPECT_EQ(lpc->Autocorrelacio[0], 14.0f);
    EXPECT_EQ(lpc->Autocorrelacio[1], 8.0f);
    const float a1 = F(8.0L / 14.0L);
    EXPECT_EQ(lpc->CoeficientsReflexio[1], a1);
    EXPECT_EQ(lpc->CoeficientsLPC[1], a1);
    const float re = F(1.0L - static_cast<LD>(a1));
    EXPECT_EQ(env[0], F(4.0L * F(1.0L / static_cast<LD>(re))));
    // The last point is evaluated at w = 255 x float(3.1416 / 255), not at pi: |A| there is
    // |1 - a1 e^-jw| with w slightly above pi.
    const float w = F(255.0L * F(3.1416L / 255.0L));
    EXPECT_GT(w, static_cast<float>(M_PI));
    const float re255 = F(1.0L - std::cos(static_cast<LD>(w)) * a1);
    const float im255 = F(std::sin(static_cast<LD>(w)) * a1);
    EXPECT_EQ(env[255],
              F(4.0L * F(1.0L / std::sqrt(static_cast<LD>(re255) * re255 + static_cast<LD>(im255) * im255))));
}

TEST(CalcularLPC, LAutocorrelacioEsLaSumaSobreLesMostresCopiades) {
    auto lpc = std::make_unique<UnitLPC>();
    std::mt19937 gen(10);
    auto senyal = SenyalAleatori(gen, 512, 100.0f);
    std::vector<float> brossa = senyal;
    for (int i = 512; i < 8193; ++i)
        brossa[i] = 77.0f; // samples past NombreMostres are never read
    std::vector<float> env(8193, 0.0f);
    ASSERT_EQ(lpc->CalcularLPC(brossa.data(), env.data(), 512, 11, 512), ResultatLPC::Correcte);
    for (int k = 0; k <= 11; ++k) {
        float r = 0.0f;
        for (int j = 0; j <= 511 - k; ++j)
            r = F(static_cast<LD>(r) + static_cast<LD>(senyal[j]) * senyal[j + k]);
        EXPECT_EQ(lpc->Autocorrelacio[k], r) << k;
    }
}

TEST(CalcularLPC, UnaEnergiaDErrorNullaAbandonaElCalcul) {
    // Two samples so small that R and E live among the denormals: E[1] rounds to 0 and K[2] divides
    // by it.
    auto lpc = std::make_unique<UnitLPC>();
    std::vector<float> senyal(8193, 0.0f);
    senyal[0] = std::ldexp(1.0f, -74);
    senyal[1] = -1.5f * std::ldexp(1.0f, -74);
    std::vector<float> env(8193, 5.0f);
    EXPECT_EQ(lpc->CalcularLPC(senyal.data(), env.data(), 2, 11, 512), ResultatLPC::ErrorNumeric);
    EXPECT_EQ(env[0], 5.0f); // the envelope is not reached
}

struct CasRefusat {
    const char* nom;
    int mostres, ordre, punts;
    ResultatLPC esperat;
};

class ParametresRefusats : public ::testing::TestWithParam<CasRefusat> {};

TEST_P(ParametresRefusats, NoEscriuFora) {
    const CasRefusat cas = GetParam();
    auto lpc = std::make_unique<UnitLPC>();
    std::mt19937 gen(11);
    auto senyal = SenyalAleatori(gen, 8193, 20.0f);
    std::vector<float> env(8193, 0.0f);
    EXPECT_EQ(lpc->CalcularLPC(senyal.data(), env.data(), cas.mostres, cas.ordre, cas.punts), cas.esperat);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, ParametresRefusats,
    ::testing::Values(CasRefusat{"ordre129", 512, 129, 512, ResultatLPC::ForaDeCapacitat},
                      CasRefusat{"ordreEnorme", 512, 2147483647, 512, ResultatLPC::ForaDeCapacitat},
                      CasRefusat{"puntsExcessius", 512, 11, 16388, ResultatLPC::ForaDeCapacitat},
                      CasRefusat{"unPunt", 512, 11, 1, ResultatLPC::ErrorNumeric},
                      CasRefusat{"dosPunts", 512, 11, 2, ResultatLPC::ErrorNumeric},
                      CasRefusat{"puntsNegatius", 512, 11, -5, ResultatLPC::Correcte},
                      CasRefusat{"mesMostresQueLaCapacitat", 100000, 4, 512, ResultatLPC::Correcte},
                      CasRefusat{"ordreMaxim", 8193, 128, 16385, ResultatLPC::Correcte}),
    [](const auto& info) { return std::string(info.param.nom); });

} // namespace
} // namespace tessora
