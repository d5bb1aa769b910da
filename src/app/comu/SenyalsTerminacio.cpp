#include "SenyalsTerminacio.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace tessora {

namespace {

int gTubSenyals[2] = {-1, -1};
// Read by every thread that asks Rebut(); lock-free, so the handler may set it.
std::atomic<bool> gRebut = false;
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void EnRebreSenyal(int) {
    gRebut = true;
    if (gTubSenyals[1] < 0) return;
    const int error = errno; // the code it interrupted may be about to read it
    const char c = 1;
    [[maybe_unused]] const auto escrits = ::write(gTubSenyals[1], &c, 1);
    errno = error;
}

} // namespace

SenyalsTerminacio::SenyalsTerminacio(std::function<void()> accio) {
    gRebut = false;
    if (accio && ::pipe2(gTubSenyals, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction senyal {};
    senyal.sa_handler = EnRebreSenyal;
    sigemptyset(&senyal.sa_mask);
    senyal.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSenyals); ++i)
        ::sigaction(kSenyals[i], &senyal, &anteriors_[i]);
    actiu_ = true;
    if (!accio) return;
    avis_ = std::make_unique<QSocketNotifier>(gTubSenyals[0], QSocketNotifier::Read);
    QObject::connect(avis_.get(), &QSocketNotifier::activated, [accio = std::move(accio)] {
        char c;
        while (::read(gTubSenyals[0], &c, 1) > 0) {
        }
        accio();
    });
}

SenyalsTerminacio::~SenyalsTerminacio() {
    if (!actiu_) return;
    avis_.reset();
    for (std::size_t i = 0; i < std::size(kSenyals); ++i)
        ::sigaction(kSenyals[i], &anteriors_[i], nullptr);
    if (gTubSenyals[1] < 0) return;
    ::close(gTubSenyals[0]);
    ::close(gTubSenyals[1]);
    gTubSenyals[0] = gTubSenyals[1] = -1;
}

bool SenyalsTerminacio::Rebut() const {
    return gRebut;
}

} // namespace tessora
