// Speed of the analysis of one block and of the CLI's loop over a recording.
//
//   cmake --preset release && cmake --build --preset release --target bench_reconeixement
//   ./build/release/bench/bench_reconeixement
//
// A block arrives every 46.4 ms; a voiced block must be analysed in 50 us or less on one core.
#include "BucleEscolta.h"
#include "CopiaBloc.h"
#include "LecturaSo.h"
#include "UnitCalculsReconeixement.h"
#include "VocalSintetica.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace tessora {
namespace {

// A voiced block: a 125 Hz pulse train through resonators at 800 and 1200 Hz (an "A").
void BlocSonor(EstatAnalisi& e) {
    const auto v = proves::VocalSintetica(88, 800, 1200, 100.0, 1536);
    std::copy(v.begin(), v.end(), e.Mostres.begin());
}

void BM_BlocSonor(benchmark::State& state) {
    auto e = std::make_unique<EstatAnalisi>();
    BlocSonor(*e);
    ConfiguracioAnalisi config;
    config.TextOrdreLPC = std::to_string(state.range(0));
    for (auto _ : state) {
        auto r = CalcularReconeixement(*e, config);
        benchmark::DoNotOptimize(r);
    }
    if (e->VocalReconeguda != "A") state.SkipWithError("the voiced block was not recognised as A");
}
BENCHMARK(BM_BlocSonor)->Arg(11)->Arg(24)->Unit(benchmark::kMicrosecond);

// The stages of BM_BlocSonor one by one, on the state the whole analysis of the voiced block leaves.
// Arg: 0 pitch, 1 block preparation and spectrum, 2 LPC (order 11), 3 features (with a copy of the
// 256-point envelope, which the feature step rewrites).
void BM_EtapaBlocSonor(benchmark::State& state) {
    auto e = std::make_unique<EstatAnalisi>();
    BlocSonor(*e);
    const ConfiguracioAnalisi config;
    CalcularReconeixement(*e, config);
    std::array<float, kPuntsAnalisi + 1> envolupant{};
    std::copy_n(e->EnvolupantLPC.begin(), envolupant.size(), envolupant.begin());
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0:
            benchmark::DoNotOptimize(CalcularFrequenciaFonamental(*e, config.TextFrequenciaMinima));
            break;
        case 1:
            benchmark::DoNotOptimize(CalcularEspectre(*e, config));
            break;
        case 2:
            benchmark::DoNotOptimize(e->LPC.CalcularLPC(e->SenyalLPC.data(), e->EnvolupantLPC.data(),
                                                        kMidaBloc, kOrdreLPCPerDefecte, kMidaFFT));
            break;
        default:
            std::copy(envolupant.begin(), envolupant.end(), e->EnvolupantLPC.begin());
            benchmark::DoNotOptimize(CalcularTrets(*e, config));
        }
    }
}
BENCHMARK(BM_EtapaBlocSonor)->ArgName("etapa")->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

// The pitch's difference curve at each vector width this processor runs (Arg: bits, 0 the plain loop).
void BM_CorbaDiferencies(benchmark::State& state) {
    auto e = std::make_unique<EstatAnalisi>();
    BlocSonor(*e);
    const auto amplada = static_cast<AmpladaVectors>(state.range(0));
    if (std::find(AmpladesDisponibles().begin(), AmpladesDisponibles().end(), amplada) ==
        AmpladesDisponibles().end()) {
        state.SkipWithError("this processor lacks the width");
        return;
    }
    CorbaDiferencies D{};
    for (auto _ : state) {
        CalcularCorba(e->Mostres.data(), D, amplada);
        benchmark::DoNotOptimize(D);
    }
}
BENCHMARK(BM_CorbaDiferencies)
    ->ArgName("bits")
    ->Arg(0)
    ->Arg(128)
    ->Arg(256)
    ->Arg(512)
    ->Unit(benchmark::kMicrosecond);

void BM_BlocSonorAmbGrafics(benchmark::State& state) {
    auto e = std::make_unique<EstatAnalisi>();
    BlocSonor(*e);
    ConfiguracioAnalisi config;
    config.GraficsVisibles = true; // adds the FFT
    config.EscalaAdaptadaOida = state.range(0) != 0;
    config.Preemfasis = !config.EscalaAdaptadaOida;
    for (auto _ : state) {
        auto r = CalcularReconeixement(*e, config);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_BlocSonorAmbGrafics)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_BlocSilencios(benchmark::State& state) {
    auto e = std::make_unique<EstatAnalisi>();
    e->Mostres.fill(1); // raw 128
    ConfiguracioAnalisi config;
    for (auto _ : state) {
        auto r = CalcularReconeixement(*e, config);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_BlocSilencios)->Unit(benchmark::kMicrosecond);

// The CLI's loop in continuous mode over the demo recording, held in memory.
class CapturaMemoria final : public ControlCaptura {
public:
    CapturaMemoria(const std::vector<std::uint8_t>& so, EstatAnalisi& e) : so_(so), e_(e) {}
    std::int32_t EngegarEntradaDeSo() override { return 0; }
    void PararEntradaDeSo() override {}
    bool ProcessarBufferEntrada() override {
        CopiarBlocCapturat(so_.data() + (bloc_ % (so_.size() / kMidaBloc)) * kMidaBloc, kMidaBloc, e_);
        ++bloc_;
        return true;
    }

private:
    const std::vector<std::uint8_t>& so_;
    EstatAnalisi& e_;
    std::size_t bloc_ = 0;
};

void BM_CliContinu(benchmark::State& state) {
    const SoLlegit so = LlegirFitxerSo(TESSORA_MOSTRA_DEMO);
    if (!so.Correcte) {
        state.SkipWithError("demo recording missing");
        return;
    }
    auto e = std::make_unique<EstatAnalisi>();
    auto buffer = BufferSo::Crear();
    CapturaMemoria captura(so.Mostres, *e);
    BucleEscolta bucle(*e, *buffer, captura);
    ControlsBucle controls;
    controls.ReconeixementContinu = true;
    controls.Analisi.Castella = true;
    bucle.SpeedButtonEngegarPararClick();
    for (auto _ : state) {
        auto efecte = bucle.RebreBlocDeSo(controls);
        benchmark::DoNotOptimize(efecte);
    }
    state.SetItemsProcessed(state.iterations());
    // Real time per block is 512 / 11025 s: the counter shows how many times faster than real time.
    state.counters["x_temps_real"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * 512.0 / 11025.0, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CliContinu)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace tessora

BENCHMARK_MAIN();
