// The vowel chart's cost: one point added (what the live loop's block pays for it) and one repaint of a
// full trail of 50 points over seven vowels with their ellipses, at the window's size (paid once per
// utterance, at the next paint, not inside the loop); and a repaint of the experiment's chart after a
// run of 100 trials (paid once per trial while its page is shown, and once by the export).
#include "DibuixCarta.h"

#include <QGuiApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

tessora::CartaVocals CartaPlena() {
    const char* vocals[] = {"A", "AE", "È", "É", "I", "O", "U"};
    const float f1[] = {750, 650, 550, 420, 300, 500, 350}, f2[] = {1300, 1600, 1800, 2100, 2300, 900, 800};
    tessora::CartaVocals carta;
    for (int i = 0; i < 70; ++i)
        carta.Afegir({f1[i % 7] + 7.0f * (i % 5), f2[i % 7] - 11.0f * (i % 3), vocals[i % 7], 150, i * 0.5});
    return carta;
}

void BM_AfegirPunt(benchmark::State& state) {
    tessora::CartaVocals carta = CartaPlena();
    for (auto _ : state)
        carta.Afegir({500.0f, 1500.0f, "A", 150, 0.0});
}
BENCHMARK(BM_AfegirPunt);

void BM_DibuixarCarta(benchmark::State& state) {
    const tessora::CartaVocals carta = CartaPlena();
    const QSize mida(512, 420);
    QImage imatge(mida, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter pintor(&imatge);
        tessora::DibuixarCarta(pintor, mida, carta, {});
    }
}
BENCHMARK(BM_DibuixarCarta)->Unit(benchmark::kMillisecond);

void BM_DibuixarCartaExperiment(benchmark::State& state) {
    struct Rotativa : tessora::FontAleatoria {
        void Sembrar() override {}
        std::int32_t Enter(std::int32_t n) override { return i++ % n; }
        std::int32_t i = 0;
    } font;
    const auto buffer = tessora::BufferSo::Crear();
    tessora::Experiment x(*buffer, font);
    x.PrepararTaules(tessora::Idioma::Catala, false);
    x.Experimentar([] { return true; });
    const char* vocals[] = {"A", "AE", "È", "É", "I", "O", "U", "A"}; // one answer in 7 is an error
    for (int i = 0; i < 100; ++i) {
        x.EscriureBlocActual({.F1 = 300.0f + 5.0f * i, .F2 = 2500.0f - 15.0f * i});
        x.ProcessarBlocExperiment(vocals[i % 8]);
        x.AcabarPausa();
    }
    const QSize mida(696, 420);
    QImage imatge(mida, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter pintor(&imatge);
        tessora::DibuixarCartaExperiment(pintor, mida, x, {});
    }
}
BENCHMARK(BM_DibuixarCartaExperiment)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication aplicacio(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
}
