// The real input device against a live PulseAudio server (started by the test fixture): start/stop
// cycles, each with blocks arriving as events and the device closed on the block after the stop, leave
// no descriptor open. What the device hears is checked byte for byte by the end-to-end test.
//
// Playback: what SortidaQt plays, recorded by parec from the sink's monitor at 11025 Hz, is the same waveform
// in order and level, within what a 48 kHz server's resampling changes (3.3% of the power, correlation 0.984
// at worst), its end heard, silence after. The head may come as silence, up to the sink's latency: a stream
// joining a running sink is mixed into what it had rendered ahead, which the monitor misses (pacat's alike).
#include "AplicacioQt.h"
#include "DispositiuQt.h"
#include "EventBlocSo.h"
#include "SortidaQt.h"
#include "VocalSintetica.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ranges>

namespace tessora {
namespace {

struct CapturaPulse : ::testing::Test, QObject {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    DispositiuQt dispositiu;
    UnitEntradaDeSo unitat{*estat, dispositiu};
    int blocs = 0;

    bool event(QEvent* e) override { // the window
        if (e->type() != TipusEventBlocSo()) return QObject::event(e);
        blocs += unitat.ProcessarBufferEntrada() ? 1 : 0;
        return true;
    }
    template <class F>
    static bool Esperar(F condicio, int ms) {
        for (QDeadlineTimer limit(ms); !condicio() && !limit.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
        return condicio();
    }
    void Cicle() {
        const int abans = blocs;
        ASSERT_EQ(unitat.EngegarEntradaDeSo(NotificadorFinestra(this)), 0);
        ASSERT_TRUE(Esperar([&] { return blocs > abans; }, 10000));
        unitat.PararEntradaDeSo();
        ASSERT_TRUE(Esperar([&] { return !unitat.DispositiuObert(); }, 2000));
    }
};

TEST_F(CapturaPulse, ElsCiclesNoDeixenDescriptorsOberts) {
    if (std::getenv("PULSE_SERVER") == nullptr) GTEST_SKIP() << "no test sound server (PULSE_SERVER unset)";
    proves::CrearAplicacioQt();
    unitat.InicialitzarEntradaDeSo(512);
    auto descriptors = [] { return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}); };
    for (int i = 0; i < 5; ++i) // the client library and Qt settle their caches first
        ASSERT_NO_FATAL_FAILURE(Cicle());
    const auto abans = descriptors();
    for (int i = 0; i < 30; ++i)
        ASSERT_NO_FATAL_FAILURE(Cicle()) << "cycle " << i;
    EXPECT_EQ(descriptors(), abans);
}

TEST_F(CapturaPulse, LaReproduccioEsSentSencera) {
    if (std::getenv("PULSE_SERVER") == nullptr) GTEST_SKIP() << "no test sound server (PULSE_SERVER unset)";
    proves::CrearAplicacioQt();
    QProcess parec;
    parec.start("parec", {"--raw", "--rate=11025", "--format=u8", "--channels=1", "--latency-msec=10",
                          "--device=tessora_sink.monitor"});
    QByteArray c;
    QObject::connect(&parec, &QProcess::readyReadStandardOutput, [&] { c += parec.readAllStandardOutput(); });
    ASSERT_TRUE(Esperar([&] { return c.size() > 0; }, 10000));
    std::vector<std::uint8_t> j; // three vowels of two blocks each
    for (const auto& [periode, f1, f2] : {std::tuple{80, 750., 1300.}, {60, 300., 2300.}, {100, 350., 800.}})
        for (int inici : {1024, 1536})
            std::ranges::copy(proves::BytesVocalSintetica(periode, f1, f2, 100, inici),
                              std::back_inserter(j));
    const qsizetype n = std::ssize(j), inici = c.size();
    // Sound, not a resampler's rounding near silence.
    const auto so = [&](qsizetype i) { return std::abs(static_cast<std::uint8_t>(c[i]) - 128) > 2; };
    SortidaQt sortida;
    int acabats = 0;
    ASSERT_EQ(sortida.Reproduir(j, [&] { ++acabats; }), 0);
    EXPECT_EQ(acabats, 0); // told from the event loop, never from inside
    ASSERT_TRUE(Esperar([&] { return acabats == 1 && !sortida.Reproduint(); }, 20000));
    qsizetype primer = inici;
    const auto oit = [&] { // the first sample heard, and the silence after the sound
        for (; primer < c.size() && !so(primer); ++primer) {
        }
        return c.size() > primer + n + 1024;
    };
    ASSERT_TRUE(Esperar(oit, 10000));
    // The sound from `a` and the recording from `d + a`, centred: their correlation, and the power of their
    // difference against the sound's (a gain off by a quarter fails).
    const auto comparar = [&](qsizetype d, qsizetype a) {
        double xy = 0, xx = 0, yy = 0, dd = 0;
        for (qsizetype i = a; i < n; ++i) {
            const double x = j[i] - 128.0, y = static_cast<std::uint8_t>(c[d + i]) - 128.0;
            xy += x * y, xx += x * x, yy += y * y, dd += (x - y) * (x - y);
        }
        return std::pair(xy / std::sqrt(xx * yy + 1e-9), dd / xx);
    };
    qsizetype d = primer - 64, cap = 0;
    for (qsizetype e = d; e < primer + 64; ++e)
        d = comparar(e, 0).first > comparar(d, 0).first ? e : d;
    for (; cap < n && !so(d + cap); ++cap) {
    }
    const auto [correlacio, error] = comparar(d, cap);
    EXPECT_TRUE(cap <= 256 && correlacio >= 0.97 && error <= 0.05)
        << cap << ' ' << correlacio << ' ' << error;
    EXPECT_GT(comparar(d, n - 16).first, 0.5) << "the end was not heard";
    for (qsizetype i = d + n + 16; i < c.size(); ++i)
        ASSERT_FALSE(so(i)) << "sound after the end, at " << i;
    parec.kill();
    parec.waitForFinished();
}

} // namespace
} // namespace tessora

// Qt Multimedia closes its connection to the sound server from an exit handler while the client
// library's thread still runs, which now and then crashes a process at exit: leave without them.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int resultat = RUN_ALL_TESTS();
    std::fflush(nullptr);
    std::_Exit(resultat);
}
