// Plays a known sound through SortidaQt for prova_reproduccio.py: three synthetic vowels of two blocks each,
// also written raw to FILE. Prints the monotonic clock (ns) at Reproduir and leaves as soon as the end is
// told, so that an end told early cuts what the test records.
//   eina_reproduccio FILE   exit 0 played; 1 the end broke its contract or never came; 2 refused
#include "AplicacioQt.h"
#include "SortidaQt.h"
#include "VocalSintetica.h"

#include <QDeadlineTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int, char** argv) {
    using namespace tessora;
    proves::CrearAplicacioQt();
    std::vector<std::uint8_t> so;
    for (const auto& [periode, f1, f2] : {std::tuple{80, 750., 1300.}, {60, 300., 2300.}, {100, 350., 800.}})
        for (int inici : {1024, 1536}) // the vowel goes on across the two
            std::ranges::copy(proves::BytesVocalSintetica(periode, f1, f2, 100, inici),
                              std::back_inserter(so));
    std::ofstream(argv[1], std::ios::binary).write(reinterpret_cast<const char*>(so.data()), std::ssize(so));
    std::printf("%lld\n",
                static_cast<long long>(std::chrono::steady_clock::now().time_since_epoch().count()));
    std::fflush(stdout);
    int acabats = 0;
    SortidaQt sortida;
    if (sortida.Reproduir(so, [&] { ++acabats; }) != 0) std::_Exit(acabats == 0 ? 2 : 1);
    if (acabats != 0 || !sortida.Reproduint()) std::_Exit(1); // told from the event loop, not from inside
    for (QDeadlineTimer limit(20000); acabats == 0 && !limit.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    // Past Qt Multimedia's exit handlers, which race the sound server client's thread (test_captura_pulse).
    std::_Exit(acabats == 1 && !sortida.Reproduint() ? 0 : 1);
}
