// Plays a known sound through SortidaQt, for the playback test: a few blocks of synthetic vowels, written
// raw to FILE as well. Prints the monotonic clock (ns) at the call to Reproduir, and leaves at once when
// its end is told, so that an end told early cuts the sound that the test records.
//
//   eina_reproduccio FILE   exit 0 played; 1 the end broke its contract or never came; 2 refused (code)
#include "AplicacioQt.h"
#include "SortidaQt.h"
#include "VocalSintetica.h"

#include <QDeadlineTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char** argv) {
    using namespace tessora;
    if (argc != 2) return 1;
    proves::CrearAplicacioQt();
    std::vector<std::uint8_t> so;
    for (const auto& [periode, f1, f2] :
         {std::tuple{80, 750.0, 1300.0}, {60, 300.0, 2300.0}, {100, 350.0, 800.0}})
        for (int inici : {1024, 1536}) { // two blocks of each, joined where the vowel goes on
            const auto bloc = proves::BytesVocalSintetica(periode, f1, f2, 100, inici);
            so.insert(so.end(), bloc.begin(), bloc.end());
        }
    std::ofstream(argv[1], std::ios::binary).write(reinterpret_cast<const char*>(so.data()), std::ssize(so));
    int acabats = 0;
    const auto ara = std::chrono::steady_clock::now().time_since_epoch();
    std::printf("%lld\n", static_cast<long long>(std::chrono::nanoseconds(ara).count()));
    std::fflush(stdout);
    SortidaQt sortida;
    if (const std::int32_t codi = sortida.Reproduir(so, [&] { ++acabats; }); codi != 0) {
        std::fprintf(stderr, "refused: %d\n", codi);
        std::_Exit(acabats == 0 ? 2 : 1);
    }
    if (acabats != 0 || !sortida.Reproduint()) std::_Exit(1); // told from the event loop, not from inside
    for (QDeadlineTimer limit(20000); acabats == 0 && !limit.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    // Qt Multimedia's exit handlers race the sound server client's thread (see test_captura_pulse).
    std::_Exit(acabats == 1 && !sortida.Reproduint() ? 0 : 1);
}
