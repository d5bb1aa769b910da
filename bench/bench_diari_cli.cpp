// tessora-cli --diari on a journal of 1,000 imported runs: reading every run with its trials, pooling the
// tables of both vowel sets and each speaker's hits, and printing them.
//
//   cmake --preset release && cmake --build --preset release --target bench_diari_cli
//   ./build/release/bench/bench_diari_cli
//
// The journal is made once, in a temporary folder (XDG_DATA_HOME points there): 1,000 results texts of
// 100 trials each, exported by the experiment's own code for 50 speakers (20 runs each, every fifth one in
// Spanish), stored with --importa. The figure is the wall time of one --diari, output discarded.
#include "CarpetaTemporal.h"
#include "ExecucioCli.h"
#include "ExportacioDeProva.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <random>
#include <streambuf>

namespace tessora {
namespace {

constexpr int kParlants = 50;
constexpr int kCursesPerParlant = 20;

// Discards what is written to it.
struct Buit : std::streambuf {
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

int Executar(std::vector<std::string> arguments, std::ostream& sortida, std::ostream& errors) {
    arguments.insert(arguments.begin(), "tessora-cli");
    std::vector<const char*> argv;
    argv.reserve(arguments.size());
    for (const auto& a : arguments)
        argv.push_back(a.c_str());
    return ExecutarCli(static_cast<int>(argv.size()), argv.data(), sortida, errors);
}

// The journal of 1,000 imported runs, made at the first use.
const proves::CarpetaTemporal& Diari() {
    static const proves::CarpetaTemporal carpeta;
    static const bool fet = [] {
        ::setenv("XDG_DATA_HOME", carpeta.Cami().c_str(), 1);
        std::mt19937 atzar(1000);
        std::vector<std::string> fitxers{"--importa"};
        for (int p = 0; p < kParlants; ++p)
            for (int c = 0; c < kCursesPerParlant; ++c) {
                const bool castella = c % 5 == 4;
                std::uniform_int_distribution<int> vocal(1, castella ? 5 : 7);
                std::vector<std::pair<int, int>> llista;
                for (int k = 0; k < 100; ++k) {
                    const int demanada = vocal(atzar);
                    llista.emplace_back(demanada, vocal(atzar) <= 3 ? demanada : vocal(atzar));
                }
                const std::string data = std::to_string(c % 28 + 1) + "/11/26";
                fitxers.push_back(
                    (carpeta.Cami() / ("parlant" + std::to_string(p) + "-" + std::to_string(c) + ".wav.txt"))
                        .string());
                std::ofstream(fitxers.back(), std::ios::binary)
                    << proves::Exportacio(llista, {data, "10:00:00", castella, false, true}).Text;
            }
        Buit buit;
        std::ostream res(&buit);
        return Executar(fitxers, res, res) == 0;
    }();
    if (!fet) std::abort();
    return carpeta;
}

void DiariMilCurses(benchmark::State& state) {
    Diari();
    Buit buit;
    std::ostream sortida(&buit);
    for (auto _ : state)
        if (Executar({"--diari"}, sortida, sortida) != 0) state.SkipWithError("--diari failed");
    state.counters["curses"] = kParlants * kCursesPerParlant;
}
BENCHMARK(DiariMilCurses)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace tessora

BENCHMARK_MAIN();
