// File descriptors: one owner that closes them, and whole transfers.
//
// A read or write may move fewer bytes than asked, or be interrupted by a signal before it moves any;
// the transfers below call again until everything has moved, the file ends or the system reports a
// real error. Offsets and sizes are in bytes; positioned calls leave the descriptor's own position as
// it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tessora {

// A file descriptor closed when it goes out of scope; -1 holds none.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) noexcept : fd_(fd) {}
    ~Descriptor();
    Descriptor(Descriptor&& altre) noexcept : fd_(altre.fd_) { altre.fd_ = -1; }
    Descriptor& operator=(Descriptor&& altre) noexcept;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Fd() const { return fd_; }
    bool Obert() const { return fd_ >= 0; }
    // Closes it now. False when the system reports an error, which can mean that written bytes are lost.
    bool Tancar();

private:
    int fd_;
};

// Writes all of `bytes` at the current position; false on failure, with part of them maybe written.
bool EscriureTot(int fd, std::span<const std::uint8_t> bytes);
// Writes all of `bytes` at `posicio`; false on failure, with part of them maybe written.
bool EscriureA(int fd, std::uint64_t posicio, std::span<const std::uint8_t> bytes);
// Fills all of `desti` from `posicio`; false on failure or when the file ends first.
bool LlegirA(int fd, std::uint64_t posicio, std::span<std::uint8_t> desti);
// Appends everything from the current position to the end to `bytes`; false on failure or when `bytes`
// would grow past `midaMaxima` (then what was appended is unspecified).
bool LlegirTot(int fd, std::string& bytes, std::size_t midaMaxima);

// While it lives, standard error (descriptor 2) goes to /dev/null; it is put back when it dies, also
// when leaving by an exception. For a library that prints notes of its own that the program cannot turn
// off. Spans on several threads may overlap: standard error is silenced from the first one's start to
// the last one's end. Whatever another thread writes to standard error meanwhile is lost too, so a
// thread that writes to it while others may silence it holds an EscripturaErrors. Does nothing when
// descriptor 2 is not open.
class SilenciErrors {
public:
    SilenciErrors();
    ~SilenciErrors();
    SilenciErrors(const SilenciErrors&) = delete;
    SilenciErrors& operator=(const SilenciErrors&) = delete;
};

// While it lives, standard error is the program's own: it waits for the silenced spans under way to
// end, and keeps new ones from starting until it dies. Not on a thread inside a silenced span.
class EscripturaErrors {
public:
    EscripturaErrors();
    ~EscripturaErrors();
    EscripturaErrors(const EscripturaErrors&) = delete;
    EscripturaErrors& operator=(const EscripturaErrors&) = delete;
};

} // namespace tessora
