// Pitch: the difference curve of real blocks, and the valley and candidate rules on curves built by hand.
#include "UnitCalculsReconeixement.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>

namespace tessora {
namespace {

// A curve that falls steadily (no valley anywhere) with the given (lag, value) dips cut into it; each dip
// is a one-lag valley at value `v` well below its neighbours.
CorbaDiferencies Corba(std::initializer_list<std::pair<int, int>> valls) {
    CorbaDiferencies D{};
    for (int t = 1; t <= 256; ++t)
        D[t] = 100000 - t; // strictly falling: a run left by a further fall is no valley
    for (auto [m, v] : valls) {
        D[m] = v;
        D[m + 1] = 100000; // the rise that closes the valley
    }
    return D;
}

std::int32_t Estimar(const CorbaDiferencies& D, const char* minim = "60", std::int32_t anterior = -1) {
    std::int32_t f = anterior;
    FrequenciaDesDeCorba(D, 11025, minim, f);
    return f;
}

void BlocPeriodic(EstatAnalisi& e, int periode) {
    for (int i = 0; i < 512; ++i)
        e.Mostres[i] = (i % periode) * 90 / periode - 40; // a sawtooth of the given period
}

TEST(FrequenciaFonamental, UnBlocConstantNoTeValls) {
    auto e = std::make_unique<EstatAnalisi>();
    e->Mostres.fill(0);
    for (int i = 0; i < 512; ++i)
        e->Mostres[i] = 5;
    e->Mostres[512] = 5; // the lag-256 difference reads element 512: keep the block truly flat
    e->FrequenciaFonamental = 123;
    EXPECT_FALSE(CalcularFrequenciaFonamental(*e, "abc")); // no valley: the edit is not even read
    EXPECT_EQ(e->FrequenciaFonamental, 123);
}

struct CasPeriode {
    int periode;
    std::int32_t esperat;
};

class BlocsPeriodics : public ::testing::TestWithParam<CasPeriode> {};

TEST_P(BlocsPeriodics, ElPeriodeDonaLaFrequenciaArrodonidaAlParell) {
    auto e = std::make_unique<EstatAnalisi>();
    BlocPeriodic(*e, GetParam().periode);
    CalcularFrequenciaFonamental(*e, "60");
    EXPECT_EQ(e->FrequenciaFonamental, GetParam().esperat);
}

// 110.25 Hz (lag 200 is below 60 Hz and out of range), 367.5 Hz rounds up to 368, 262.5 Hz down to 262.
INSTANTIATE_TEST_SUITE_P(Periodes, BlocsPeriodics,
                         ::testing::Values(CasPeriode{100, 110}, CasPeriode{30, 368}, CasPeriode{42, 262}));

TEST(FrequenciaFonamental, UnTextQueNoEsEnterTornaASeixanta) {
    auto e = std::make_unique<EstatAnalisi>();
    BlocPeriodic(*e, 100);
    for (const char* text : {"abc", "", "6.5", " 60", "60 ", "+", "99999999999"}) {
        const auto nou = CalcularFrequenciaFonamental(*e, text);
        ASSERT_TRUE(nou) << text;
        EXPECT_EQ(*nou, "60");
        EXPECT_EQ(e->FrequenciaFonamental, 110) << text;
    }
    EXPECT_FALSE(CalcularFrequenciaFonamental(*e, "+60"));
    EXPECT_FALSE(CalcularFrequenciaFonamental(*e, "-2147483648"));
}

struct CasCorba {
    const char* nom;
    CorbaDiferencies D;
    const char* minim;
    std::int32_t esperat; // -1: unchanged
};

class ReglesDeValls : public ::testing::TestWithParam<CasCorba> {};

TEST_P(ReglesDeValls, TriaElCandidat) {
    const auto& c = GetParam();
    EXPECT_EQ(Estimar(c.D, c.minim), c.esperat);
}

CorbaDiferencies ValleyPla(int s, int e, int valor, bool tancada) {
    CorbaDiferencies D = Corba({});
    for (int t = s; t <= e; ++t)
        D[t] = valor;
    if (tancada && e < 256) D[e + 1] = 100000;
    if (!tancada)
        for (int t = e + 1; t <= 256; ++t)
            D[t] = valor - (t - e); // keeps falling to the end
    return D;
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ReglesDeValls,
    ::testing::Values(
        // A flat run 50..60 is one valley at (50 + 60) div 2 = 55: 200.45 Hz, then the half-period check
        // finds nothing.
        CasCorba{"runPlaAlMig", ValleyPla(50, 60, 10, true), "60", 200},
        CasCorba{"runQueTornaABaixarNoEsVall", ValleyPla(50, 60, 10, false), "60", -1},
        CasCorba{"runEncaraPlaAl255NoEsVall", ValleyPla(250, 256, 10, true), "60", -1},
        CasCorba{"vallAl255SiQueCompta", Corba({{255, 0}}), "0", 43},
        // Only valleys above 400 Hz (lags below 28): nothing is stored.
        CasCorba{"totesPerSobreDe400", Corba({{10, 5}, {27, 0}}), "60", -1},
        // The first valley below 400 Hz starts; a deeper one inside MinF..400 replaces it.
        CasCorba{"primeraSotaDe400", Corba({{28, 50}}), "60", 394},
        CasCorba{"mesProfundaDinsElMarge", Corba({{28, 50}, {40, 20}}), "60", 276},
        CasCorba{"igualDeProfundaNoSubstitueix", Corba({{40, 20}, {50, 20}}), "60", 276},
        // MinF is strict: lag 183 is 60.2 Hz (in range), lag 184 is 59.9 Hz (out).
        CasCorba{"minimEstricteDins", Corba({{120, 30}, {183, 0}}), "60", 60},
        CasCorba{"minimEstricteFora", Corba({{150, 30}, {184, 0}}), "60", 74},
        // With MinF 100 a valley at lag 120 (91.9 Hz) can start but never replaces.
        CasCorba{"candidatInicialForaDelMinim", Corba({{120, 30}}), "100", 92},
        CasCorba{"foraDelMinimNoSubstitueix", Corba({{60, 30}, {120, 0}}), "100", 184},
        // Half period: lag 120 (92 Hz) chosen, a valley at 60 below 1.1 x its value takes over.
        CasCorba{"mitjaPeriodeMesBaixa", Corba({{60, 21}, {120, 20}}), "60", 184},
        CasCorba{"mitjaPeriodeJustAl110", Corba({{60, 22}, {120, 20}}), "60", 92},
        CasCorba{"mitjaPeriodeUnLagAmunt", Corba({{61, 10}, {121, 20}}), "60", 181},
        // Half-period check only when the pitch is 200 Hz or less: lag 54 is 204 Hz.
        CasCorba{"mitjaPeriodeNomesFinsA200", Corba({{27, 0}, {54, 5}}), "60", 204},
        // Third of the period: lag 150 (73.5 Hz) -> lag 50 (220.5 Hz).
        CasCorba{"tercDePeriode", Corba({{50, 21}, {150, 20}}), "60", 220},
        CasCorba{"tercDePeriodeMassaAlt", Corba({{50, 22}, {150, 20}}), "60", 74}),
    [](const auto& info) { return std::string(info.param.nom); });

} // namespace
} // namespace tessora
