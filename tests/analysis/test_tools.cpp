// The grid labels' number texts and the saturated rounding under them.
#include "Ajudes.h"
#include "Tools.h"

#include <gtest/gtest.h>

#include <limits>

namespace tessora {
namespace {

struct CasText {
    const char* nom;
    double valor;
    const char* esperat;
};

class FormatarValorTest : public ::testing::TestWithParam<CasText> {};

TEST_P(FormatarValorTest, TextMesCurtAmbSisDecimalsComAMolt) {
    EXPECT_EQ(FormatarValor(GetParam().valor), GetParam().esperat);
}

INSTANTIATE_TEST_SUITE_P(
    Valors, FormatarValorTest,
    ::testing::Values(CasText{"UnaDecima", 0.1, "0.1"}, CasText{"DosIMig", 2.5, "2.5"},
                      CasText{"EnterNegatiu", -15.0, "-15"},
                      CasText{"AUnaMilionesimaDUnEnter", 3.0000001, "3"},
                      CasText{"SisDecimalsArrodonides", 0.1234567, "0.123457"},
                      CasText{"CentMilIUnQuartPerdLaFraccio", 100000.25, "100000"},
                      CasText{"MesEnllaDelLimitDeLArrodoniment", 5e9 + 0.5, "5000000000"},
                      CasText{"Infinit", std::numeric_limits<double>::infinity(), "INF"}),
    proves::PerNom{});

struct CasArrodoniment {
    const char* nom;
    double valor;
    std::int32_t esperat;
};

class ArrodonirLimitatTest : public ::testing::TestWithParam<CasArrodoniment> {};

TEST_P(ArrodonirLimitatTest, MesProperAParellISaturat) {
    EXPECT_EQ(ArrodonirLimitat(GetParam().valor), GetParam().esperat);
}

INSTANTIATE_TEST_SUITE_P(
    Valors, ArrodonirLimitatTest,
    ::testing::Values(CasArrodoniment{"DosIMigADos", 2.5, 2}, CasArrodoniment{"TresIMigAQuatre", 3.5, 4},
                      CasArrodoniment{"CincMilMilionsSatura", 5e9, 2000000000},
                      CasArrodoniment{"NegatiuSatura", -5e9, -2000000000},
                      CasArrodoniment{"NaNAZero", std::numeric_limits<double>::quiet_NaN(), 0}),
    proves::PerNom{});

} // namespace
} // namespace tessora
