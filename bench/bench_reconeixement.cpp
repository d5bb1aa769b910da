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

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace tessora {
namespace {

// A voiced block: a 125 Hz pulse train through resonators at 800 and 1200 Hz (an "A").
void BlocSonor(EstatAnalisi& e) {
    double y1[3] = {}, y2[3] = {};
    const double r = std::exp(-M_PI * 80.0 / 11025.0);
    const double a11 = 2 * r * std::cos(2 * M_PI * 800 / 11025.0),
                 a21 = 2 * r * std::cos(2 * M_PI * 1200 / 11025.0);
    std::vector<double> s(2048);
    double maxim = 0;
    for (int n = 0; n < 2048; ++n) {
        const double v1 = (n % 88 == 0 ? 1.0 : 0.0) + a11 * y1[1] - r * r * y1[2];
        y1[2] = y1[1], y1[1] = v1;
        const double v2 = v1 + a21 * y2[1] - r * r * y2[2];
        y2[2] = y2[1], y2[1] = v2;
        s[n] = v2;
        if (n >= 1536) maxim = std::max(maxim, std::fabs(v2));
    }
    for (int i = 0; i < 512; ++i)
        e.Mostres[i] = static_cast<std::int32_t>(std::lround(s[1536 + i] / maxim * 100.0));
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
