// Vowel decision on each side of every threshold of both rule lists, the number format and the data line.
#include "Ajudes.h"
#include "UnitCalculsReconeixement.h"

#include <memory>

namespace tessora {
namespace {

// Name, high voice, F1, S2F, MigLPC, AF1, YF1/YF2 and the vowel.
using CasDecisio =
    std::tuple<const char*, bool, float, std::int32_t, std::int32_t, std::int32_t, double, const char*>;
class Decisio : public ::testing::TestWithParam<CasDecisio> {};

TEST_P(Decisio, LaPrimeraReglaQueEsCompleixDonaLaVocal) {
    const auto& [nom, aguda, F1, S2F, Mig, AF1, Y, esperat] = GetParam();
    EXPECT_EQ(DecidirVocal(TretsVocal{F1, S2F, Mig, AF1, Y}, aguda), esperat);
}

constexpr bool N = false, A = true; // ordinary and high voice
using C = CasDecisio;

INSTANTIATE_TEST_SUITE_P(
    Llindars, Decisio,
    ::testing::Values(C{"NormalS2F499F1_389_U", N, 389, 499, 3000, 600, 1, "U"},
                      C{"NormalS2F500F1_389_O", N, 389, 500, 3000, 600, 1, "O"},
                      C{"NormalF1_390_O", N, 390, 450, 3000, 600, 1, "O"},
                      C{"NormalF1_720_O", N, 720, 450, 3000, 600, 1, "O"},
                      C{"NormalF1_721_A", N, 721, 450, 3000, 600, 1, "A"},
                      C{"NormalF1_539_Mig2199_U", N, 539, 900, 2199, 600, 1, "U"},
                      C{"NormalF1_540_Mig2199_AE", N, 540, 900, 2199, 600, 1, "AE"},
                      C{"NormalF1_539_Mig2200_AE", N, 539, 900, 2200, 600, 1, "AE"},
                      C{"NormalF1_329_Mig2200_I", N, 329, 900, 2200, 600, 1, "I"},
                      C{"NormalF1_330_AF1_499_Etancada", N, 330, 2000, 2500, 499, 1, "É"},
                      C{"NormalF1_479_AF1_499_Etancada", N, 479, 2000, 2500, 499, 1, "É"},
                      C{"NormalF1_479_AF1_500_O", N, 479, 2000, 2500, 500, 1, "O"},
                      C{"NormalF1_480_AF1_499_O", N, 480, 2000, 2500, 499, 1, "O"},
                      C{"NormalF1_734_O", N, 734, 2000, 2500, 380, 3, "O"},
                      C{"NormalF1_735_A", N, 735, 2000, 2500, 380, 3, "A"},
                      C{"NormalS2F700_O", N, 600, 700, 2500, 450, 1, "O"},
                      C{"NormalS2F701_AE", N, 600, 701, 2500, 450, 1, "AE"},
                      C{"NormalS2F1299_AE", N, 600, 1299, 2500, 450, 1, "AE"},
                      C{"NormalS2F1300_O", N, 600, 1300, 2500, 450, 1, "O"},
                      C{"NormalAF1_416_O", N, 600, 1500, 2500, 416, 1, "O"},
                      C{"NormalAF1_415_Eoberta", N, 600, 1500, 2500, 415, 1, "È"},
                      C{"NormalAF1_349_Eoberta", N, 600, 1500, 2500, 349, 9, "È"},
                      C{"NormalAF1_350_Y3_O", N, 600, 1500, 2500, 350, 3, "O"},
                      C{"NormalY2_5_Eoberta", N, 600, 1500, 2500, 380, 2.5, "È"},
                      C{"NormalYPocMesDe2_5_O", N, 600, 1500, 2500, 380, 2.5000000000000004, "O"},
                      C{"AgudaS2F310_U", A, 550, 310, 1100, 300, 1, "U"},
                      C{"AgudaS2F311_O", A, 550, 311, 1100, 300, 1, "O"},
                      C{"AgudaS2F699_O", A, 550, 699, 1100, 300, 1, "O"},
                      C{"AgudaS2F700_U", A, 550, 700, 1100, 300, 1, "U"},
                      C{"AgudaF1_500_U", A, 500, 500, 1100, 300, 1, "U"},
                      C{"AgudaF1_501_O", A, 501, 500, 1100, 300, 1, "O"},
                      C{"AgudaF1_599_Mig1199_U", A, 599, 1000, 1199, 300, 1, "U"},
                      C{"AgudaF1_599_Mig1200_AE", A, 599, 1000, 1200, 300, 1, "AE"},
                      C{"AgudaF1_600_Mig1199_AE", A, 600, 1000, 1199, 300, 1, "AE"},
                      C{"AgudaF1_429_Mig1200_I", A, 429, 500, 1200, 300, 1, "I"},
                      C{"AgudaF1_430_Mig1200_Etancada", A, 430, 500, 1200, 300, 1, "É"},
                      C{"AgudaF1_499_S2F2341_I", A, 499, 2341, 1500, 300, 1, "I"},
                      C{"AgudaF1_500_S2F2341_Etancada", A, 500, 2341, 1500, 300, 1, "É"},
                      C{"AgudaF1_450_S2F2340_Etancada", A, 450, 2340, 1500, 300, 1, "É"},
                      C{"AgudaF1_450_S2F700_Etancada", A, 450, 700, 1500, 300, 1, "É"},
                      C{"AgudaF1_450_S2F701_AE", A, 450, 701, 1500, 300, 1, "AE"},
                      C{"AgudaF1_499_S2F1299_AE", A, 499, 1299, 1500, 300, 1, "AE"},
                      C{"AgudaF1_499_S2F1300_Etancada", A, 499, 1300, 1500, 300, 1, "É"},
                      C{"AgudaF1_1001_A", A, 1001, 2000, 1500, 300, 1, "A"},
                      C{"AgudaF1_1000_Eoberta", A, 1000, 2000, 1500, 300, 1, "È"},
                      C{"AgudaS2F700_Eoberta", A, 800, 700, 1500, 300, 1, "È"},
                      C{"AgudaS2F701_AE", A, 800, 701, 1500, 300, 1, "AE"},
                      C{"AgudaS2F1299_AE", A, 800, 1299, 1500, 300, 1, "AE"},
                      C{"AgudaS2F1300_Eoberta", A, 800, 1300, 1500, 300, 1, "È"},
                      C{"AgudaS2F699_F1_916_A", A, 916, 699, 1500, 300, 1, "A"},
                      C{"AgudaS2F699_F1_915_O", A, 915, 699, 1500, 300, 1, "O"},
                      C{"AgudaAF1_401_Mig1999_O", A, 800, 1500, 1999, 401, 1, "O"},
                      C{"AgudaAF1_400_Mig1999_Eoberta", A, 800, 1500, 1999, 400, 1, "È"},
                      C{"AgudaAF1_401_Mig2000_Eoberta", A, 800, 1500, 2000, 401, 1, "È"},
                      C{"AgudaMig1274_O", A, 800, 1500, 1274, 300, 1, "O"},
                      C{"AgudaMig1275_Eoberta", A, 800, 1500, 1275, 300, 1, "È"},
                      C{"AgudaF1_609_Etancada", A, 609, 1500, 1500, 300, 1, "É"},
                      C{"AgudaF1_610_Eoberta", A, 610, 1500, 1500, 300, 1, "È"}),
    proves::PerNom{});

using CasFormat = std::tuple<const char*, double, int, const char*>; // name, value, decimals, text
class Format : public ::testing::TestWithParam<CasFormat> {};

TEST_P(Format, ArrodoneixUnCopDesDelValorBinariExacte) {
    const auto& [nom, valor, decimals, esperat] = GetParam();
    EXPECT_EQ(FormatFix(valor, decimals), esperat);
}

INSTANTIATE_TEST_SUITE_P(Valors, Format,
                         ::testing::Values(CasFormat{"MitjaExactaLlunyDeZero", 1.125, 2, "1.13"},
                                           CasFormat{"ValorBinariSotaLaMitja", 1.005, 2, "1.00"},
                                           CasFormat{"SetXifresSignificatives", 123456.789, 2, "123456.80"},
                                           CasFormat{"DeuMilionsEnNotacioE", 12345678.9, 2, "1.234568E+07"},
                                           CasFormat{"NegatiuQueArrodoneixAZero", -0.001, 2, "0.00"}),
                         proves::PerNom{});

// The CLI's tests hold the line against its CSV fields; here the region's separator and no vowel.
TEST(LiniaDades, AmbElSeparadorDeLaRegioISenseVocal) {
    auto e = std::make_unique<EstatAnalisi>();
    e->FrequenciaFonamental = 180, e->FrequenciaF1 = 700, e->MigLPC = 1400, e->SeparacioF2F1 = 550;
    e->AmpladaF1 = 300, e->YF1YF2 = 1.75;
    EXPECT_EQ(ComposarLiniaDades(*e, ','),
              "Freq: 180 - F1:700 - MigLPC:1400 - S2F:550 - AF1:300 - YF1/YF2:1,75 - ");
}

} // namespace
} // namespace tessora
