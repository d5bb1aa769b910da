// LPC analysis against a literal rendering of the algorithm (the full 8192-sample autocorrelation window,
// a cosine and a sine evaluated at every step) on one object reused, and degenerate input and limits.
#include "Ajudes.h"
#include "UnitLPC.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

namespace tessora {
namespace {

using proves::F;
using proves::LD;

struct Referencia {
    std::vector<float> x = std::vector<float>(8193, 0.0f), env = std::vector<float>(8193, 0.0f);
    float R[129]{}, E[129]{}, K[129]{}, a[129][129]{}, c[129]{};

    void Calcular(const std::vector<float>& senyal, int n, int p, int punts) {
        std::copy_n(senyal.begin(), n, x.begin());
        for (int k = 0; k <= p; ++k)
            for (int j = 0; j <= 8191 - k; ++j)
                R[k] = F(static_cast<LD>(R[k]) + static_cast<LD>(x[j]) * x[j + k]);
        E[0] = R[0];
        for (int i = 1; i <= p; ++i) { // for i = 1 the sum is 0 and R[1] - 0 is exact

            float s = 0.0f;
            for (int j = 1; j <= i - 1; ++j)
                s = F(static_cast<LD>(s) + static_cast<LD>(a[j][i - 1]) * R[i - j]);
            K[i] = F((static_cast<LD>(R[i]) - s) / E[i - 1]);
            a[i][i] = K[i];
            for (int j = 1; j <= i - 1; ++j)
                a[j][i] = F(static_cast<LD>(a[j][i - 1]) - static_cast<LD>(K[i]) * a[i - j][i - 1]);
            E[i] = F((1.0L - static_cast<LD>(K[i]) * K[i]) * E[i - 1]);
        }
        for (int j = 1; j <= p; ++j)
            c[j] = a[j][p];
        const int L = (punts + 1) / 2 - 1;
        const float pas = F(3.1416L / L);
        for (int i = 0; i <= L; ++i) {
            const float w = F(static_cast<LD>(i) * pas);
            float re = 1.0f, im = 0.0f;
            for (int k = 1; k <= p; ++k) {
                re = F(static_cast<LD>(re) - std::cos(static_cast<LD>(k) * w) * c[k]);
                im = F(std::sin(static_cast<LD>(k) * w) * c[k] + im);
            }
            env[i] = F(4.0L * F(1.0L / std::sqrt(static_cast<LD>(re) * re + static_cast<LD>(im) * im)));
        }
    }
};

// Uniform samples in -60..60 for elements 0..n-1, and past them a value that must never be read.
std::vector<float> Senyal(unsigned llavor, int n) {
    std::mt19937 gen(llavor);
    std::uniform_real_distribution<float> d(-60.0f, 60.0f);
    std::vector<float> s(8193, 77.0f);
    for (int i = 0; i < n && i < 8193; ++i)
        s[i] = d(gen);
    return s;
}

struct Cas {
    const char* nom;
    int mostres, ordre, punts;
    ResultatLPC esperat = ResultatLPC::Correcte;
};

// One object through growing, then shrinking orders and back, fewer samples than the block or than the
// order, the whole capacity and other point counts: the cosine table it keeps grows with the order and is
// rebuilt for another point count, and every call gives R, the predictor and the envelope the reference
// gives on a random signal, to the bit.
TEST(CalcularLPC, UnMateixObjecteIgualBitABitALaReferencia) {
    auto lpc = std::make_unique<UnitLPC>();
    unsigned llavor = 50;
    for (const Cas& cas :
         {Cas{"Ordre2", 512, 2, 512}, Cas{"Ordre11", 512, 11, 512}, Cas{"Ordre128", 512, 128, 512},
          Cas{"Ordre24", 512, 24, 512}, Cas{"Ordre0", 512, 0, 512}, Cas{"Ordre1", 512, 1, 512},
          Cas{"MenysMostresQueElBloc", 300, 11, 512}, Cas{"MenysMostresQueLOrdre", 8, 11, 512},
          Cas{"TotaLaCapacitat", 8193, 4, 512}, Cas{"PuntsSenars", 512, 11, 513},
          Cas{"AltresPunts", 512, 24, 100}, Cas{"TornaA512", 512, 11, 512}}) {
        SCOPED_TRACE(cas.nom);
        const auto senyal = Senyal(llavor++, cas.mostres);
        auto ref = std::make_unique<Referencia>();
        ref->Calcular(senyal, cas.mostres, cas.ordre, cas.punts);
        std::vector<float> env(8193, -1.0f);
        EXPECT_EQ(lpc->CalcularLPC(senyal.data(), env.data(), cas.mostres, cas.ordre, cas.punts),
                  ResultatLPC::Correcte);
        EXPECT_TRUE(proves::IgualsBitABit(lpc->Autocorrelacio.data(), ref->R, cas.ordre + 1)) << "R";
        EXPECT_TRUE(proves::IgualsBitABit(&lpc->CoeficientsLPC[1], &ref->c[1], cas.ordre)) << "a";
        EXPECT_TRUE(proves::IgualsBitABit(env.data(), ref->env.data(), (cas.punts + 1) / 2));
        EXPECT_EQ(env[(cas.punts + 1) / 2], -1.0f); // nothing past the last point
    }
}

TEST(CalcularLPC, BlocDeZerosAnulaLEnvolupantIConservaElsCoeficients) {
    auto lpc = std::make_unique<UnitLPC>();
    std::vector<float> env(8193, 9.0f), zeros(8193, 0.0f);
    ASSERT_EQ(lpc->CalcularLPC(Senyal(7, 512).data(), zeros.data(), 512, 11, 512), ResultatLPC::Correcte);
    const auto coeficients = lpc->CoeficientsLPC;
    std::fill(zeros.begin(), zeros.end(), 0.0f);
    EXPECT_EQ(lpc->CalcularLPC(zeros.data(), env.data(), 512, 11, 512), ResultatLPC::Silenci);
    EXPECT_EQ(std::tuple(std::count(env.begin(), env.begin() + 512, 0.0f), env[512]), std::tuple(512, 9.0f));
    EXPECT_EQ(lpc->CoeficientsLPC, coeficients);
}

// Samples so small that R and E are denormals: E[1] rounds to 0 and K[2] would divide by it.
TEST(CalcularLPC, UnaEnergiaDErrorNullaAbandonaElCalcul) {
    auto lpc = std::make_unique<UnitLPC>();
    std::vector<float> senyal(8193, 0.0f), env(8193, 5.0f);
    senyal[0] = std::ldexp(1.0f, -74), senyal[1] = -1.5f * std::ldexp(1.0f, -74);
    EXPECT_EQ(lpc->CalcularLPC(senyal.data(), env.data(), 2, 11, 512), ResultatLPC::ErrorNumeric);
    EXPECT_EQ(env[0], 5.0f);
}

class Limits : public ::testing::TestWithParam<Cas> {};

// Under the sanitizers, also that nothing is read or written past the 8193-element arrays.
TEST_P(Limits, NoEscriuFora) {
    const Cas& cas = GetParam();
    auto lpc = std::make_unique<UnitLPC>();
    std::vector<float> env(8193, -1.0f);
    EXPECT_EQ(lpc->CalcularLPC(Senyal(11, 8193).data(), env.data(), cas.mostres, cas.ordre, cas.punts),
              cas.esperat);
    const bool sense =
        cas.esperat == ResultatLPC::ForaDeCapacitat || cas.esperat == ResultatLPC::ErrorNumeric;
    EXPECT_TRUE(!sense || env[0] == -1.0f) << "no envelope written";
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Limits,
    ::testing::Values(Cas{"OrdreNegatiuEsSilenci", 400, -3, 512, ResultatLPC::Silenci},
                      Cas{"Ordre129", 512, 129, 512, ResultatLPC::ForaDeCapacitat},
                      Cas{"PuntsExcessius", 512, 11, 16388, ResultatLPC::ForaDeCapacitat},
                      Cas{"CapacitatMaxima", 8193, 128, 16385},
                      Cas{"MesMostresQueLaCapacitat", 100000, 4, 512},
                      Cas{"UnPuntDivideixPerZero", 512, 11, 1, ResultatLPC::ErrorNumeric},
                      Cas{"PuntsNegatiusSenseEnvolupant", 512, 11, -5}),
    proves::PerNom{});

} // namespace
} // namespace tessora
