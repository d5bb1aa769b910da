// The whole tessora-cli job in continuous mode on long recordings: reading, converting, analysing and
// writing the lines, as real-time multiples, with the peak resident memory of each run.
//
//   cmake --preset release && cmake --build --preset release --target bench_fitxer_cli
//   ./build/release/bench/bench_fitxer_cli
//
// The recordings are made once, in a temporary folder, from the demo recording repeated to 30 minutes
// (3 hours for the last one): 8-bit mono 11025 Hz as it is, and copies converted with libsoxr to 16-bit
// stereo 44.1 kHz and 24-bit mono 48 kHz. They take about 700 MB of disk while the benchmark runs.
// Counters: "xTempsReal" (seconds of sound per second of run), "xTempsRealCPU" (the same per second of
// processor time, the figure to read on a machine busy with other work) and "MemoriaMaximaMB" (the peak
// resident memory of the process, reset before each benchmark where the system allows it) and
// "PrimeraLiniaMs" (from the start of the job to its first line).
#include "ExecucioCli.h"
#include "LecturaSo.h"

#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <soxr.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace tessora {
namespace {

struct Forma {
    const char* Nom;
    int Format;
    int Frequencia;
    int Canals;
    double Segons;
};

constexpr Forma kFormes[] = {
    {"u8_mono_11025_30min", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 11025, 1, 1800.0},
    {"s16_estereo_44100_30min", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, 1800.0},
    {"s24_mono_48000_30min", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 48000, 1, 1800.0},
    {"u8_mono_11025_3h", SF_FORMAT_WAV | SF_FORMAT_PCM_U8, 11025, 1, 10800.0},
};

// Removes the recordings at the end of the run.
struct Carpeta {
    std::filesystem::path Cami =
        std::filesystem::temp_directory_path() / ("tessora-bench-" + std::to_string(::getpid()));
    Carpeta() { std::filesystem::create_directories(Cami); }
    ~Carpeta() { std::filesystem::remove_all(Cami); }
};

Carpeta& CarpetaRegistres() {
    static Carpeta carpeta;
    return carpeta;
}

// The demo at the form's rate as floats, then written again and again to the form's length.
std::string Registre(const Forma& forma) {
    const auto cami = CarpetaRegistres().Cami / (std::string(forma.Nom) + ".wav");
    if (std::filesystem::exists(cami)) return cami.string();
    const SoLlegit demo = LlegirFitxerSo(TESSORA_MOSTRA_DEMO);
    std::vector<float> mono;
    for (const std::uint8_t byte : demo.Mostres)
        mono.push_back((static_cast<float>(byte) - 128.0f) / 128.0f);
    std::vector<float> convertit(mono.size() * static_cast<std::size_t>(forma.Frequencia) / 11025 + 16);
    std::size_t fetes = mono.size();
    if (forma.Frequencia != 11025) {
        soxr_oneshot(11025, forma.Frequencia, 1, mono.data(), mono.size(), nullptr, convertit.data(),
                     convertit.size(), &fetes, nullptr, nullptr, nullptr);
        mono.assign(convertit.begin(), convertit.begin() + static_cast<long>(fetes));
    }
    std::vector<float> frames;
    for (const float x : mono)
        frames.insert(frames.end(), static_cast<std::size_t>(forma.Canals), x);
    SF_INFO informacio{0, forma.Frequencia, forma.Canals, forma.Format, 0, 0};
    SNDFILE* fitxer = sf_open(cami.c_str(), SFM_WRITE, &informacio);
    const auto total = static_cast<sf_count_t>(forma.Segons * forma.Frequencia);
    for (sf_count_t escrits = 0; fitxer != nullptr && escrits < total;) {
        const sf_count_t n = std::min<sf_count_t>(total - escrits, static_cast<sf_count_t>(mono.size()));
        escrits += sf_writef_float(fitxer, frames.data(), n);
    }
    sf_close(fitxer);
    return cami.string();
}

// Peak resident memory in MB since the last reset.
double MemoriaMaximaMB() {
    std::ifstream estat("/proc/self/status");
    for (std::string linia; std::getline(estat, linia);)
        if (linia.rfind("VmHWM:", 0) == 0) return std::stod(linia.substr(6)) / 1024.0;
    return 0.0;
}

// Processor time of this process: on a machine shared with other work, the one-core figure.
double SegonsCpu() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void ReiniciarMemoriaMaxima() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Standard output thrown away through a buffer, as the program's own buffered output would be. The
// first character written is noted with its time (the buffer is given only after it).
class SortidaNul final : public std::streambuf {
public:
    std::chrono::steady_clock::time_point Primer{};
    void Reiniciar() {
        setp(nullptr, nullptr);
        Primer = {};
    }
    int overflow(int c) override {
        if (Primer == std::chrono::steady_clock::time_point{}) Primer = std::chrono::steady_clock::now();
        setp(buffer_, buffer_ + sizeof buffer_);
        return traits_type::not_eof(c);
    }

private:
    char buffer_[1 << 16];
};

void BM_CliContinu(benchmark::State& state) {
    const Forma& forma = kFormes[state.range(0)];
    const std::string fitxer = Registre(forma);
    const char* argv[] = {"tessora-cli", "--continu", fitxer.c_str()};
    SortidaNul nul;
    std::ostream sortida(&nul);
    std::ostringstream errors;
    ReiniciarMemoriaMaxima();
    const double cpuAbans = SegonsCpu();
    double primeraLinia = 0.0; // ms, the latest of the runs
    for (auto _ : state) {
        nul.Reiniciar();
        const auto inici = std::chrono::steady_clock::now();
        if (ExecutarCli(3, argv, sortida, errors) != 0) state.SkipWithError("the CLI failed");
        primeraLinia =
            std::max(primeraLinia, std::chrono::duration<double, std::milli>(nul.Primer - inici).count());
    }
    const double segonsSo = forma.Segons * static_cast<double>(state.iterations());
    state.SetLabel(forma.Nom);
    state.counters["xTempsReal"] = benchmark::Counter(segonsSo, benchmark::Counter::kIsRate);
    state.counters["xTempsRealCPU"] = segonsSo / (SegonsCpu() - cpuAbans);
    state.counters["MemoriaMaximaMB"] = MemoriaMaximaMB();
    state.counters["PrimeraLiniaMs"] = primeraLinia;
}
BENCHMARK(BM_CliContinu)->DenseRange(0, 3)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace
} // namespace tessora

BENCHMARK_MAIN();
