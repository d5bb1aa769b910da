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
    ::testing::Values(CasText{"UnaDecima", 0.1, "0.1"}, //
                      CasText{"DosIMig", 2.5, "2.5"}, CasText{"AUnaMilionesimaDUnEnter", 3.0000001, "3"},
                      CasText{"CentMilIUnQuartPerdLaFraccio", 100000.25, "100000"},
                      CasText{"MesEnllaDelLimitDeLArrodoniment", 5e9 + 0.5, "5000000000"},
                      CasText{"Infinit", std::numeric_limits<double>::infinity(), "INF"}),
    proves::PerNom{});

TEST(ArrodonirLimitat, MesProperAParellISaturat) {
    for (auto [valor, esperat] :
         {std::pair{2.5, 2}, {3.5, 4}, {5e9, 2000000000}, {std::numeric_limits<double>::quiet_NaN(), 0}})
        EXPECT_EQ(ArrodonirLimitat(valor), esperat) << valor;
}

} // namespace
} // namespace tessora
