// The vowel chart: the trail, per-vowel means and spreads, the axes.
#include "CartaVocals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <tuple>

namespace tessora {
namespace {

TEST(CartaVocals, ElRastreGuardaElsDarrersPuntsIEstadistiquesDeTots) {
    CartaVocals carta(3);
    for (int i = 0; i < 5; ++i)
        carta.Afegir(PuntCarta{300.0f + 100.0f * i, 2000.0f, "I", 200, i * 1.0});
    ASSERT_EQ(carta.Punts().size(), 3u);
    EXPECT_EQ(std::pair(carta.Punts().front().F1, carta.Punts().back().F1), std::pair(500.0f, 700.0f));
    ASSERT_EQ(carta.Estadistiques().size(), 1u);
    EXPECT_EQ(std::pair(carta.Estadistiques()[0].Punts, carta.Estadistiques()[0].MitjanaF1),
              std::pair(5ul, 500.0));
    carta.Buidar();
    EXPECT_TRUE(carta.Punts().empty() && carta.Estadistiques().empty());
}

TEST(CartaVocals, MitjanesIDispersionsPerVocal) {
    CartaVocals carta;
    // "A" lies on a line at 45 degrees: the ellipse is that line, sqrt(2) standard deviations long.
    for (float d : {-100.0f, 0.0f, 100.0f})
        carta.Afegir(PuntCarta{800.0f + d, 1300.0f + d, "A", 150, 0.0});
    carta.Afegir(PuntCarta{280.0f, 2300.0f, "I", 150, 0.0});
    carta.Afegir(PuntCarta{320.0f, 2100.0f, "I", 150, 0.0});
    const std::vector<EstadisticaVocal> e = carta.Estadistiques();
    ASSERT_EQ(e.size(), 2u);
    // Means of three whole numbers and their spreads come out exact.
    EXPECT_EQ(std::tuple(e[0].Vocal, e[0].MitjanaF1, e[0].MitjanaF2, e[0].DesviacioF1, e[0].Covariancia),
              std::tuple("A", 800.0, 1300.0, 100.0, 10000.0));
    ASSERT_TRUE(e[0].TeElipse);
    EXPECT_NEAR(e[0].Semieix1, 100.0 * std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(e[0].Semieix2, 0.0, 1e-6); // rounding of a zero eigenvalue
    EXPECT_NEAR(e[0].Angle, std::numbers::pi / 4, 1e-12);
    // Two points give a spread but no ellipse.
    EXPECT_DOUBLE_EQ(e[1].MitjanaF2, 2200.0);
    EXPECT_NEAR(e[1].DesviacioF2, 100.0 * std::sqrt(2.0), 1e-9);
    EXPECT_FALSE(e[1].TeElipse);
}

struct Cantonada {
    const char* Nom;
    bool VeuAguda;
    double F1, F2, X, Y;
};

class CartaCantonades : public ::testing::TestWithParam<Cantonada> {};

TEST_P(CartaCantonades, ElsExtremsDelsEixosVanALesCantonades) {
    const Cantonada& c = GetParam();
    const PosicioCarta p = MaparCarta(EixosPerVeu(c.VeuAguda), c.F1, c.F2, 400.0, 300.0);
    EXPECT_NEAR(p.X, c.X, 1e-9);
    EXPECT_NEAR(p.Y, c.Y, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Eixos, CartaCantonades,
                         ::testing::Values(Cantonada{"DaltEsquerra", false, 200, 2800, 0, 0},
                                           Cantonada{"DaltDreta", false, 200, 500, 400, 0},
                                           Cantonada{"BaixEsquerra", false, 1000, 2800, 0, 300},
                                           Cantonada{"BaixDretaVeuAguda", true, 1200, 500, 400, 300},
                                           Cantonada{"DaltEsquerraVeuAguda", true, 200, 3400, 0, 0}),
                         [](const auto& info) { return std::string(info.param.Nom); });

TEST(CartaVocals, LaBarkComprimeixElsAgutsIPassaElMigDelsEixos) {
    // 1000 Hz sits right of the middle of 500-2800 Hz on a linear axis, left of it in Bark.
    const PosicioCarta p = MaparCarta(EixosPerVeu(false), 200, 1000, 400, 300);
    EXPECT_GT(p.X, 200.0);
    EXPECT_LT(p.X, 400.0 * (2800 - 1000) / 2300.0);
}

} // namespace
} // namespace tessora
