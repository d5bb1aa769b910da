// Pitch: the difference curve of real blocks, and the valley and candidate rules on curves built by hand.
#include "Ajudes.h"
#include "UnitCalculsReconeixement.h"

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <utility>

namespace tessora {
namespace {

// A strictly falling curve (a run left by a further fall is no valley) with one-lag valleys (lag, value)
// cut into it, each closed by a rise.
CorbaDiferencies Corba(std::initializer_list<std::pair<int, int>> valls) {
    CorbaDiferencies D{};
    for (int t = 1; t <= 256; ++t)
        D[t] = 100000 - t;
    for (auto [m, v] : valls)
        D[m] = v, D[m + 1] = 100000;
    return D;
}

// The falling curve with a flat run D[s..e] = 10, closed by a rise or falling on to the end.
CorbaDiferencies RunPla(int s, int e, bool tancat) {
    CorbaDiferencies D = Corba({});
    for (int t = s; t <= 256; ++t)
        D[t] = t <= e ? 10 : (tancat ? 100000 : 10 - (t - e));
    return D;
}

// Name, period of a sawtooth, the minimum's text, the pitch, and whether the text is reported back as "60".
using CasBloc = std::tuple<const char*, int, const char*, std::int32_t, bool>;
class BlocsPeriodics : public ::testing::TestWithParam<CasBloc> {};

TEST_P(BlocsPeriodics, DonenLaFrequenciaArrodonidaAlParell) {
    const auto& [nom, periode, minim, esperat, textCorregit] = GetParam();
    auto e = std::make_unique<EstatAnalisi>();
    e->FrequenciaFonamental = 123;
    for (int i = 0; i <= 512; ++i) // element 512 too: the lag-256 difference reads it
        e->Mostres[i] = (i % periode) * 90 / periode - 40;
    const auto nouText = CalcularFrequenciaFonamental(*e, minim);
    EXPECT_EQ(e->FrequenciaFonamental, esperat);
    EXPECT_EQ(nouText, textCorregit ? std::optional<std::string>("60") : std::nullopt);
}

// 110.25 Hz (lag 200 lies below 60 Hz), 367.5 Hz rounds up to 368, 262.5 Hz down to 262; a minimum that
// is not a whole number counts as 60. A constant block has no valley: the pitch stays and the text is not
// even read.
INSTANTIATE_TEST_SUITE_P(Casos, BlocsPeriodics,
                         ::testing::Values(CasBloc{"ConstantNoCanviaRes", 1, "abc", 123, false},
                                           CasBloc{"Periode100", 100, "60", 110, false},
                                           CasBloc{"Periode30ArrodoneixAmunt", 30, "60", 368, false},
                                           CasBloc{"Periode42ArrodoneixAlParell", 42, "60", 262, false},
                                           CasBloc{"MinimAmbSigne", 100, "+60", 110, false},
                                           CasBloc{"MinimDeLletres", 100, "abc", 110, true},
                                           CasBloc{"MinimFora32Bits", 100, "99999999999", 110, true}),
                         proves::PerNom{});

using CasCorba = std::tuple<const char*, CorbaDiferencies, const char*, std::int32_t>; // -1: no pitch
class ReglesDeValls : public ::testing::TestWithParam<CasCorba> {};

TEST_P(ReglesDeValls, TriaElCandidat) {
    const auto& [nom, D, minim, esperat] = GetParam();
    EXPECT_EQ(FrequenciaDesDeCorba(D, 11025, minim).FrequenciaFonamental.value_or(-1), esperat);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ReglesDeValls,
    ::testing::Values(
        // A flat run 50..60 is one valley at lag 55 (200.45 Hz); left by a fall, or flat at 255, it is none.
        CasCorba{"RunPlaAlMig", RunPla(50, 60, true), "60", 200},
        CasCorba{"RunQueTornaABaixarNoEsVall", RunPla(50, 60, false), "60", -1},
        CasCorba{"RunEncaraPlaAl255NoEsVall", RunPla(250, 256, true), "60", -1},
        CasCorba{"VallAl255SiQueCompta", Corba({{255, 0}}), "0", 43},
        // Only valleys at 400 Hz or above (lags below 28): no pitch.
        CasCorba{"TotesPerSobreDe400", Corba({{10, 5}, {27, 0}}), "60", -1},
        // The first valley below 400 Hz starts; a deeper one inside MinF..400 replaces it, an equal one not.
        CasCorba{"PrimeraSotaDe400", Corba({{28, 50}}), "60", 394},
        CasCorba{"MesProfundaDinsElMarge", Corba({{28, 50}, {40, 20}}), "60", 276},
        CasCorba{"IgualDeProfundaNoSubstitueix", Corba({{40, 20}, {50, 20}}), "60", 276},
        // MinF is strict: lag 183 is 60.2 Hz (in range), lag 184 is 59.9 Hz (out).
        CasCorba{"MinimEstricteDins", Corba({{120, 30}, {183, 0}}), "60", 60},
        CasCorba{"MinimEstricteFora", Corba({{150, 30}, {184, 0}}), "60", 74},
        // With MinF 100 a valley at lag 120 (91.9 Hz) can start, but never replaces.
        CasCorba{"CandidatInicialForaDelMinim", Corba({{120, 30}}), "100", 92},
        CasCorba{"ForaDelMinimNoSubstitueix", Corba({{60, 30}, {120, 0}}), "100", 184},
        // Half period: a valley at half the lag below 1.1 times its value takes over, up to 200 Hz.
        CasCorba{"MitjaPeriodeMesBaixa", Corba({{60, 21}, {120, 20}}), "60", 184},
        CasCorba{"MitjaPeriodeJustAl110", Corba({{60, 22}, {120, 20}}), "60", 92},
        CasCorba{"MitjaPeriodeUnLagAmunt", Corba({{61, 10}, {121, 20}}), "60", 181},
        CasCorba{"MitjaPeriodeNomesFinsA200", Corba({{27, 0}, {54, 5}}), "60", 204},
        // Third of the period: lag 150 (73.5 Hz) -> lag 50 (220.5 Hz).
        CasCorba{"TercDePeriode", Corba({{50, 21}, {150, 20}}), "60", 220},
        CasCorba{"TercDePeriodeJustAl110", Corba({{50, 22}, {150, 20}}), "60", 74}),
    proves::PerNom{});

} // namespace
} // namespace tessora
