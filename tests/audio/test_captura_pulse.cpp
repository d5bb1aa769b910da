// The real input device against a live PulseAudio server (started by the test fixture): blocks arrive
// as events, the stop completes on the next block, and start/stop cycles leave no descriptor open.
#include "DispositiuQt.h"
#include "EventBlocSo.h"
#include "UnitEntradaDeSo.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace tessora {
namespace {

struct CapturaPulse : ::testing::Test, QObject {
    static void SetUpTestSuite() {
        static int argc = 1;
        static char nom[] = "test_captura_pulse";
        static char* argv[] = {nom, nullptr};
        if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
    }
    void SetUp() override {
        if (std::getenv("PULSE_SERVER") == nullptr)
            GTEST_SKIP() << "no test sound server (PULSE_SERVER unset)";
        unitat.InicialitzarEntradaDeSo(512);
    }
    bool event(QEvent* e) override { // the window
        if (e->type() != TipusEventBlocSo()) return QObject::event(e);
        blocs += unitat.ProcessarBufferEntrada() ? 1 : 0;
        return true;
    }
    // Runs the event loop until `condicio` holds or `ms` pass; returns whether it holds.
    template <class F>
    static bool Esperar(F condicio, int ms) {
        for (QDeadlineTimer limit(ms); !condicio() && !limit.hasExpired();)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
        return condicio();
    }
    // One recording: start, at least `minim` blocks, stop, and the device closed on the next block.
    void Cicle(int minim) {
        const int abans = blocs;
        ASSERT_EQ(unitat.EngegarEntradaDeSo(NotificadorFinestra(this)), 0);
        ASSERT_TRUE(Esperar([&] { return blocs >= abans + minim; }, 10000));
        unitat.PararEntradaDeSo();
        ASSERT_TRUE(Esperar([&] { return !unitat.DispositiuObert(); }, 2000));
    }
    static std::size_t Descriptors() {
        const std::filesystem::directory_iterator fd("/proc/self/fd");
        return static_cast<std::size_t>(std::distance(begin(fd), end(fd)));
    }

    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    DispositiuQt dispositiu;
    UnitEntradaDeSo unitat{*estat, dispositiu};
    int blocs = 0;
};

TEST_F(CapturaPulse, ElsBlocsArribenIElSilenciEsSilenci) {
    ASSERT_NO_FATAL_FAILURE(Cicle(10));
    EXPECT_TRUE(unitat.Aturat());
    // The sink plays silence: the last block copied out is all 128, +1 in Mostres.
    EXPECT_EQ(std::count(estat->Mostres.begin(), estat->Mostres.begin() + 512, 1), 512);
}

TEST_F(CapturaPulse, ElsCiclesNoDeixenDescriptorsOberts) {
    for (int i = 0; i < 5; ++i) // the client library and Qt settle their caches first
        ASSERT_NO_FATAL_FAILURE(Cicle(1));
    const std::size_t descriptors = Descriptors();
    for (int i = 0; i < 30; ++i)
        ASSERT_NO_FATAL_FAILURE(Cicle(1)) << "cycle " << i;
    EXPECT_EQ(Descriptors(), descriptors);
}

} // namespace
} // namespace tessora

// Qt Multimedia closes its connection to the sound server from an exit handler while the client
// library's thread still runs, which now and then crashes a process at exit: report and leave
// without the exit handlers.
int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int resultat = RUN_ALL_TESTS();
    std::fflush(nullptr);
    std::_Exit(resultat);
}
