// The real input device against a live PulseAudio server (started by the test fixture): start/stop
// cycles, each with blocks arriving as events and the device closed on the block after the stop, leave
// no descriptor open. What the device hears is checked byte for byte by the end-to-end test.
#include "AplicacioQt.h"
#include "DispositiuQt.h"
#include "EventBlocSo.h"

#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

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
