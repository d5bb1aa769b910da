// The timeline's cost: one repaint of a full session (ten minutes, an utterance of ten blocks with three
// analyses every twenty blocks) at the window's size, over the last 10 s, the last minute and the whole
// session. It is paid for every block while the window is shown and not frozen.
#include "DibuixSessio.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

tessora::LiniaTemps SessioPlena() {
    const char* vocals[] = {"A", "AE", "È", "É", "I", "O", "U"};
    tessora::LiniaTemps linia;
    const std::vector<std::uint8_t> bloc(512, 127);
    for (std::int64_t b = 0; b < static_cast<std::int64_t>(linia.Capacitat()); ++b) {
        const bool veu = b % 20 < 10;
        std::optional<tessora::AnalisiBloc> analisi;
        if (veu && b % 20 >= 1 && b % 20 <= 3)
            analisi = tessora::AnalisiBloc{.Vocal = vocals[b / 20 % 7],
                                           .Frequencia = 110 + static_cast<int>(b % 20)};
        linia.Afegir(bloc, veu ? 60 : 3, analisi);
    }
    return linia;
}

void BM_DibuixarSessio(benchmark::State& state) {
    const tessora::LiniaTemps linia = SessioPlena();
    const QSize mida(660, 300);
    QImage imatge(mida, QImage::Format_RGB32);
    const tessora::VistaSessio vista{linia.BlocsRebuts(), state.range(0), std::nullopt,
                                     tessora::Idioma::Catala};
    for (auto _ : state) {
        QPainter pintor(&imatge);
        tessora::DibuixarSessio(pintor, mida, linia, vista);
    }
}
BENCHMARK(BM_DibuixarSessio)
    ->Arg(tessora::BlocsEnSegons(10))
    ->Arg(tessora::BlocsEnSegons(60))
    ->Arg(static_cast<std::int64_t>(tessora::kBlocsLiniaTempsPerDefecte))
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacio(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
