// Storing one run of the experiment at its stop: a run of 100 trials (the experiment's automatic stop),
// every field set, into a journal on disk in write-ahead-log mode, each run its own transaction made
// durable before Desar returns. The journal grows by one run per iteration.
#include "Diari.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

void BM_DesarCursa(benchmark::State& state) {
    std::string carpeta = (fs::temp_directory_path() / "tessora-bench-XXXXXX").string();
    if (::mkdtemp(carpeta.data()) == nullptr) {
        state.SkipWithError("no temporary folder");
        return;
    }
    tessora::CursaDiari cursa{
        0,     "Anna", 1'700'000'000, 1'700'000'300,
        false, true,   false,         {{"OrdreLPC", "11"}, {"FrequenciaMinima", "60"}, {"Preemfasis", "1"}},
        "",    {}};
    for (int i = 0; i < 100; ++i)
        cursa.Proves.push_back({"È", "AE", 180.0f + i, 0.5f, -2.25f, 1536 * i});
    {
        tessora::Diari diari(fs::path(carpeta) / "diari.sqlite");
        if (!diari.Obrir().Correcte()) state.SkipWithError("the journal did not open");
        for (auto _ : state)
            if (!diari.Desar(cursa).Correcte()) state.SkipWithError("the run was not stored");
    }
    fs::remove_all(carpeta);
}
BENCHMARK(BM_DesarCursa)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
