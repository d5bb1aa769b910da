// A file replaced as a whole or not at all.
//
// The new content goes to a temporary file beside the target, under a name of our own (so a target name
// of the longest length the system accepts still leaves room for it), and takes the target's name only
// once it is complete and on disk. Whatever fails on the way, the temporary is removed and a file that
// was already there is left as it was. A symbolic link is written through, so the link stays; a
// replaced file keeps its permissions. A target that exists but is not a regular file (a folder, a
// device, a pipe) is refused.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace tessora {

// A file descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

class SubstitucioFitxer {
public:
    enum class Resultat { Correcte, NoEsPotCrear, ErrorEscriptura };

    // Opens the temporary. With `crearCarpetes`, missing folders on the way are created first.
    explicit SubstitucioFitxer(const std::filesystem::path& desti, bool crearCarpetes = false);
    ~SubstitucioFitxer();
    SubstitucioFitxer(const SubstitucioFitxer&) = delete;
    SubstitucioFitxer& operator=(const SubstitucioFitxer&) = delete;

    // False when nothing can be created there; then Confirmar gives NoEsPotCrear.
    bool Oberta() const { return fitxer_ >= 0; }
    // The temporary's descriptor, for writing (-1 when not open).
    int Descriptor() const { return fitxer_; }
    // Writes all of `bytes` at the current position; false on failure.
    bool Escriure(std::span<const std::uint8_t> bytes);

    // Flushes the temporary to disk, closes it and gives it the target's name.
    Resultat Confirmar();

private:
    int carpeta_ = -1;
    int fitxer_ = -1;
    std::string nom_;
    std::string nomTemporal_;
    bool confirmat_ = false;
};

} // namespace tessora
