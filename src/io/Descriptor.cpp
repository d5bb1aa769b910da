#include "Descriptor.h"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <mutex>
#include <unistd.h>
#include <utility>

namespace tessora {

namespace {

// One system call, made again as long as a signal interrupts it before it moves anything.
template <class Crida>
ssize_t SenseInterrupcions(Crida crida) {
    ssize_t resultat = 0;
    do
        resultat = crida();
    while (resultat < 0 && errno == EINTR);
    return resultat;
}

// Moves `mida` bytes with `pas(fets, pendents)`, one call after another; a call that moves nothing (the
// file ended, or the disk is full) or fails ends it.
template <class Pas>
bool TransferirTot(std::size_t mida, Pas pas) {
    std::size_t fets = 0;
    while (fets < mida) {
        const ssize_t moguts = SenseInterrupcions([&] { return pas(fets, mida - fets); });
        if (moguts <= 0) return false;
        fets += static_cast<std::size_t>(moguts);
    }
    return true;
}

// Who has standard error: the silenced spans under way, and a writer that waits for them or writes.
struct EstatErrors {
    std::mutex Mutex;
    std::condition_variable Canvi;
    int Silencis = 0;
    bool Escriptor = false; // no span starts while it is set
    Descriptor Desat;       // standard error as it was, while silenced
};
EstatErrors gErrors;

bool PosicioValida(std::uint64_t posicio, std::size_t mida) {
    constexpr auto kMaxima = static_cast<std::uint64_t>(std::numeric_limits<off_t>::max());
    return posicio <= kMaxima && mida <= kMaxima - posicio;
}

} // namespace

Descriptor::~Descriptor() {
    Tancar();
}

Descriptor& Descriptor::operator=(Descriptor&& altre) noexcept {
    if (this != &altre) {
        Tancar();
        fd_ = std::exchange(altre.fd_, -1);
    }
    return *this;
}

bool Descriptor::Tancar() {
    if (fd_ < 0) return true;
    // Not retried after EINTR: on Linux the descriptor is released either way.
    return ::close(std::exchange(fd_, -1)) == 0;
}

bool EscriureTot(int fd, std::span<const std::uint8_t> bytes) {
    return TransferirTot(bytes.size(), [&](std::size_t fets, std::size_t pendents) {
        return ::write(fd, bytes.data() + fets, pendents);
    });
}

bool EscriureA(int fd, std::uint64_t posicio, std::span<const std::uint8_t> bytes) {
    if (!PosicioValida(posicio, bytes.size())) return false;
    return TransferirTot(bytes.size(), [&](std::size_t fets, std::size_t pendents) {
        return ::pwrite(fd, bytes.data() + fets, pendents, static_cast<off_t>(posicio + fets));
    });
}

bool LlegirA(int fd, std::uint64_t posicio, std::span<std::uint8_t> desti) {
    if (!PosicioValida(posicio, desti.size())) return false;
    return TransferirTot(desti.size(), [&](std::size_t fets, std::size_t pendents) {
        return ::pread(fd, desti.data() + fets, pendents, static_cast<off_t>(posicio + fets));
    });
}

bool LlegirTot(int fd, std::string& bytes, std::size_t midaMaxima) {
    char bloc[65536];
    for (;;) {
        const ssize_t llegits = SenseInterrupcions([&] { return ::read(fd, bloc, sizeof bloc); });
        if (llegits < 0) return false;
        if (llegits == 0) return true;
        const auto mida = static_cast<std::size_t>(llegits);
        if (bytes.size() > midaMaxima || mida > midaMaxima - bytes.size()) return false;
        bytes.append(bloc, mida);
    }
}

SilenciErrors::SilenciErrors() {
    std::unique_lock bloqueig(gErrors.Mutex);
    gErrors.Canvi.wait(bloqueig, [] { return !gErrors.Escriptor; });
    if (gErrors.Silencis++ > 0) return;
    std::fflush(stderr);
    Descriptor desat(::fcntl(2, F_DUPFD_CLOEXEC, 3));
    const Descriptor nul(::open("/dev/null", O_WRONLY | O_CLOEXEC));
    if (!desat.Obert() || !nul.Obert() || ::dup2(nul.Fd(), 2) < 0) return;
    gErrors.Desat = std::move(desat);
}

SilenciErrors::~SilenciErrors() {
    const std::lock_guard bloqueig(gErrors.Mutex);
    if (--gErrors.Silencis > 0) return;
    if (gErrors.Desat.Obert()) {
        std::fflush(stderr);
        ::dup2(gErrors.Desat.Fd(), 2);
        gErrors.Desat.Tancar();
    }
    gErrors.Canvi.notify_all();
}

EscripturaErrors::EscripturaErrors() {
    std::unique_lock bloqueig(gErrors.Mutex);
    gErrors.Canvi.wait(bloqueig, [] { return !gErrors.Escriptor; });
    gErrors.Escriptor = true;
    gErrors.Canvi.wait(bloqueig, [] { return gErrors.Silencis == 0; });
}

EscripturaErrors::~EscripturaErrors() {
    const std::lock_guard bloqueig(gErrors.Mutex);
    gErrors.Escriptor = false;
    gErrors.Canvi.notify_all();
}

} // namespace tessora
