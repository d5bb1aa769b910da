// Vowel decision: every threshold of both rule lists from both sides, the Spanish folding, the number
// format of the data line and the data line itself.
#include "UnitCalculsReconeixement.h"

#include <gtest/gtest.h>

#include <memory>

namespace tessora {
namespace {

struct CasDecisio {
    const char* nom;
    bool aguda;
    float F1;
    std::int32_t S2F, Mig, AF1;
    double Y;
    const char* esperat;
};

class Decisio : public ::testing::TestWithParam<CasDecisio> {};

TEST_P(Decisio, LaPrimeraReglaQueEsCompleixDonaLaVocal) {
    const auto& c = GetParam();
    EXPECT_EQ(DecidirVocal(TretsVocal{c.F1, c.S2F, c.Mig, c.AF1, c.Y}, c.aguda), c.esperat);
}

constexpr bool N = false; // ordinary voice
constexpr bool A = true;  // high voice

INSTANTIATE_TEST_SUITE_P(VeuNormal, Decisio,
                         ::testing::Values(
                             // S2F below 500
                             CasDecisio{"S2F499F1_300_U", N, 300, 499, 3000, 600, 1, "U"},
                             CasDecisio{"S2F450F1_800_A", N, 800, 450, 3000, 600, 1, "A"},
                             CasDecisio{"S2F450F1_500_O", N, 500, 450, 3000, 600, 1, "O"},
                             CasDecisio{"F1_389_U", N, 389, 450, 3000, 600, 1, "U"},
                             CasDecisio{"F1_390_O", N, 390, 450, 3000, 600, 1, "O"},
                             CasDecisio{"F1_720_O", N, 720, 450, 3000, 600, 1, "O"},
                             CasDecisio{"F1_721_A", N, 721, 450, 3000, 600, 1, "A"},
                             // S2F 500 or more
                             CasDecisio{"S2F500F1_300_Mig2199_U", N, 300, 500, 2199, 600, 1, "U"},
                             CasDecisio{"F1_539_Mig2199_U", N, 539, 900, 2199, 600, 1, "U"},
                             CasDecisio{"F1_540_Mig2199_AE", N, 540, 900, 2199, 600, 1, "AE"},
                             CasDecisio{"F1_300_Mig2200_I", N, 300, 900, 2200, 600, 1, "I"},
                             CasDecisio{"F1_329_I", N, 329, 2000, 2500, 600, 1, "I"},
                             CasDecisio{"F1_330_AF1_499_E", N, 330, 2000, 2500, 499, 1, "É"},
                             CasDecisio{"F1_479_AF1_499_E", N, 479, 2000, 2500, 499, 1, "É"},
                             CasDecisio{"F1_479_AF1_500_O", N, 479, 2000, 2500, 500, 1, "O"},
                             CasDecisio{"F1_480_AF1_499_O", N, 480, 2000, 2500, 499, 1, "O"},
                             CasDecisio{"F1_734_AF1_380_Y3_O", N, 734, 2000, 2500, 380, 3, "O"},
                             CasDecisio{"F1_735_A", N, 735, 2000, 2500, 380, 3, "A"},
                             CasDecisio{"S2F900_AE", N, 600, 900, 2500, 450, 1, "AE"},
                             CasDecisio{"S2F701_AE", N, 600, 701, 2500, 450, 1, "AE"},
                             CasDecisio{"S2F700_O", N, 600, 700, 2500, 450, 1, "O"},
                             CasDecisio{"S2F1299_AE", N, 600, 1299, 2500, 450, 1, "AE"},
                             CasDecisio{"S2F1300_O", N, 600, 1300, 2500, 450, 1, "O"},
                             CasDecisio{"AF1_416_O", N, 600, 1500, 2500, 416, 1, "O"},
                             CasDecisio{"AF1_415_Y1_Eobert", N, 600, 1500, 2500, 415, 1, "È"},
                             CasDecisio{"AF1_349_Eobert", N, 600, 1500, 2500, 349, 9, "È"},
                             CasDecisio{"AF1_350_Y3_O", N, 600, 1500, 2500, 350, 3, "O"},
                             CasDecisio{"AF1_380_Y3_O", N, 600, 1500, 2500, 380, 3, "O"},
                             CasDecisio{"Y2_5_Eobert", N, 600, 1500, 2500, 380, 2.5, "È"},
                             CasDecisio{"Y2_5mes_O", N, 600, 1500, 2500, 380, 2.5000000000000004, "O"},
                             CasDecisio{"exempleDeLaLinia", N, 700, 550, 1400, 300, 1.75, "È"}),
                         [](const auto& info) { return std::string(info.param.nom); });

INSTANTIATE_TEST_SUITE_P(
    VeuAguda, Decisio,
    ::testing::Values(CasDecisio{"F1_550_Mig1100_S2F500_O", A, 550, 500, 1100, 300, 1, "O"},
                      CasDecisio{"F1_550_Mig1100_S2F310_U", A, 550, 310, 1100, 300, 1, "U"},
                      CasDecisio{"S2F311_O", A, 550, 311, 1100, 300, 1, "O"},
                      CasDecisio{"S2F699_O", A, 550, 699, 1100, 300, 1, "O"},
                      CasDecisio{"S2F700_U", A, 550, 700, 1100, 300, 1, "U"},
                      CasDecisio{"F1_500_U", A, 500, 500, 1100, 300, 1, "U"},
                      CasDecisio{"F1_501_O", A, 501, 500, 1100, 300, 1, "O"},
                      CasDecisio{"F1_599_O", A, 599, 500, 1199, 300, 1, "O"},
                      CasDecisio{"F1_600_Mig1199_regla6_O", A, 600, 500, 1199, 300, 1, "O"},
                      CasDecisio{"F1_429_Mig1200_I", A, 429, 500, 1200, 300, 1, "I"},
                      CasDecisio{"F1_430_Mig1200_E", A, 430, 500, 1200, 300, 1, "É"},
                      CasDecisio{"F1_450_S2F2500_I", A, 450, 2500, 1500, 300, 1, "I"},
                      CasDecisio{"F1_450_S2F2341_I", A, 450, 2341, 1500, 300, 1, "I"},
                      CasDecisio{"F1_450_S2F2340_E", A, 450, 2340, 1500, 300, 1, "É"},
                      CasDecisio{"F1_450_S2F1000_AE", A, 450, 1000, 1500, 300, 1, "AE"},
                      CasDecisio{"F1_450_S2F700_E", A, 450, 700, 1500, 300, 1, "É"},
                      CasDecisio{"F1_450_S2F1300_E", A, 450, 1300, 1500, 300, 1, "É"},
                      CasDecisio{"F1_499_S2F1299_AE", A, 499, 1299, 1500, 300, 1, "AE"},
                      CasDecisio{"F1_1001_A", A, 1001, 2000, 1500, 300, 1, "A"},
                      CasDecisio{"F1_1000_S2F2000_Eoberta", A, 1000, 2000, 1500, 300, 1, "È"},
                      CasDecisio{"S2F701_AE", A, 800, 701, 1500, 300, 1, "AE"},
                      CasDecisio{"S2F1299_AE", A, 800, 1299, 1500, 300, 1, "AE"},
                      CasDecisio{"S2F699_F1_916_A", A, 916, 699, 1500, 300, 1, "A"},
                      CasDecisio{"S2F699_F1_915_O", A, 915, 699, 1500, 300, 1, "O"},
                      CasDecisio{"AF1_401_Mig1999_O", A, 800, 1500, 1999, 401, 1, "O"},
                      CasDecisio{"AF1_400_Mig1999_E", A, 800, 1500, 1999, 400, 1, "È"},
                      CasDecisio{"AF1_401_Mig2000_E", A, 800, 1500, 2000, 401, 1, "È"},
                      CasDecisio{"Mig1274_O", A, 800, 1500, 1274, 300, 1, "O"},
                      CasDecisio{"Mig1275_E", A, 800, 1500, 1275, 300, 1, "È"},
                      CasDecisio{"F1_609_Etancada", A, 609, 1500, 1500, 300, 1, "É"},
                      CasDecisio{"F1_610_Eoberta", A, 610, 1500, 1500, 300, 1, "È"}),
    [](const auto& info) { return std::string(info.param.nom); });

TEST(PlegarCastella, NomesLesVocalsCatalanesCanvien) {
    EXPECT_EQ(PlegarCastella("AE"), "A");
    EXPECT_EQ(PlegarCastella("È"), "E");
    EXPECT_EQ(PlegarCastella("É"), "E");
    for (const char* v : {"A", "I", "O", "U", ""})
        EXPECT_EQ(PlegarCastella(v), v);
}

struct CasFormat {
    double valor;
    int decimals;
    const char* esperat;
};

class Format : public ::testing::TestWithParam<CasFormat> {};

TEST_P(Format, ArrodoneixUnCopDesDelValorBinariExacte) {
    EXPECT_EQ(FormatFix(GetParam().valor, GetParam().decimals), GetParam().esperat);
}

INSTANTIATE_TEST_SUITE_P(Valors, Format,
                         ::testing::Values(CasFormat{1.75, 2, "1.75"},
                                           CasFormat{1.125, 2, "1.13"}, // an exact half goes away from 0
                                           CasFormat{1.005, 2, "1.00"}, // the binary value lies below 1.005
                                           CasFormat{0.0, 2, "0.00"}, CasFormat{2.0, 2, "2.00"},
                                           CasFormat{0.714285, 2, "0.71"}, CasFormat{0.995, 2, "0.99"},
                                           CasFormat{9.996, 2, "10.00"},
                                           CasFormat{123456.789, 2, "123456.80"}, // 7 significant digits
                                           CasFormat{1234567.5, 2, "1234568.00"},
                                           CasFormat{9999999.0, 2, "9999999.00"},
                                           CasFormat{12345678.9, 2, "1.234568E+07"},
                                           CasFormat{700.0, 0, "700"}, CasFormat{2304.0, 0, "2304"},
                                           CasFormat{-1.125, 2, "-1.13"}, CasFormat{-0.001, 2, "0.00"}));

TEST(Format, ElSeparadorDecimalEsElDeLaRegio) {
    EXPECT_EQ(FormatFix(1.75, 2, ','), "1,75");
}

TEST(LiniaDades, ExempleDUnaVeuNormal) {
    auto e = std::make_unique<EstatAnalisi>();
    e->FrequenciaFonamental = 180;
    e->FrequenciaF1 = 700;
    e->MigLPC = 1400;
    e->SeparacioF2F1 = 550;
    e->AmpladaF1 = 300;
    e->YF1YF2 = 1.75;
    e->VocalReconeguda = DecidirVocal({700, 550, 1400, 300, 1.75}, false);
    EXPECT_EQ(ComposarLiniaDades(*e, '.'),
              "Freq: 180 - F1:700 - MigLPC:1400 - S2F:550 - AF1:300 - YF1/YF2:1.75 - È");
    e->VocalReconeguda.clear();
    EXPECT_EQ(ComposarLiniaDades(*e, ','),
              "Freq: 180 - F1:700 - MigLPC:1400 - S2F:550 - AF1:300 - YF1/YF2:1,75 - ");
}

} // namespace
} // namespace tessora
