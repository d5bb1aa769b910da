// A file replaced as a whole or not at all.
//
// The new content goes to a temporary file beside the target, under a name of our own (so a target name
// of the longest length the system accepts still leaves room for it), and takes the target's name only
// once it is complete and on disk. Whatever fails on the way, the temporary is removed and a file that
// was already there is left as it was; a replaced file keeps its permissions.
//
// Only what an in-place write could change is replaced: a target that exists must be a regular file that
// the user can open for writing (asked of the system itself, so the superuser, access lists and
// read-only mounts answer as they would for that write); a folder, device or pipe, or a file the user may
// not write, is refused. A symbolic link is written through: the file it finally names is replaced (or
// created, when the link dangles) and the link stays; a loop of links is refused.
#pragma once

#include "Descriptor.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace tessora {

class SubstitucioFitxer {
public:
    enum class Resultat { Correcte, NoEsPotCrear, ErrorEscriptura };

    // Checks the target and opens the temporary. With `crearCarpetes`, missing folders on the way to the
    // file are created first.
    explicit SubstitucioFitxer(const std::filesystem::path& desti, bool crearCarpetes = false);
    ~SubstitucioFitxer();
    SubstitucioFitxer(const SubstitucioFitxer&) = delete;
    SubstitucioFitxer& operator=(const SubstitucioFitxer&) = delete;

    // False when the target is refused or nothing can be created there; then Confirmar gives NoEsPotCrear.
    bool Oberta() const { return fitxer_.Obert(); }
    // The temporary's descriptor (-1 when not open).
    int Descriptor() const { return fitxer_.Fd(); }

    // Writes all of `bytes` at the end of what Escriure wrote before; false on failure.
    bool Escriure(std::span<const std::uint8_t> bytes);
    // Overwrites bytes already written, from offset `posicio`; Posicio does not move. False on failure.
    bool EscriureA(std::uint64_t posicio, std::span<const std::uint8_t> bytes);
    // Bytes written by Escriure so far: the offset of the next one.
    std::uint64_t Posicio() const { return posicio_; }
    // Cuts what was written back to its first `posicio` bytes (at most Posicio()), Escriure going on
    // from there, and forgets a failure that came after them (a disk that filled, a file-size limit),
    // so that Confirmar puts the part before it in place. A cut needs no room on disk. False when the
    // system refuses it; then the first failure stays.
    bool Truncar(std::uint64_t posicio);

    // Flushes the temporary to disk, closes it and gives it the target's name.
    Resultat Confirmar();

    // The system's error number of the first step that failed (ENAMETOOLONG, EACCES, ENOSPC, ...); a
    // target refused by our own rules reads as the system would name it (EISDIR for a folder, ELOOP for
    // a loop of links, EEXIST for a device or pipe). 0 while nothing has failed.
    int Error() const { return error_; }

private:
    void Obrir(const std::filesystem::path& desti, bool crearCarpetes);
    // Keeps `error` (or EIO for none) when it is the first failure; returns false, for the caller's return.
    bool Fallar(int error);

    tessora::Descriptor carpeta_;
    tessora::Descriptor fitxer_;
    std::string nom_;
    std::string nomTemporal_;
    std::uint64_t posicio_ = 0;
    bool confirmat_ = false;
    int error_ = 0;
};

// Replaces `desti` with `bytes` as a whole or not at all (see above); true when it did. When it did not,
// `error` (if given) receives the system's error number of what failed.
bool SubstituirFitxer(const std::filesystem::path& desti, std::string_view bytes, bool crearCarpetes = false,
                      int* error = nullptr);

// The system's own words for an error number ("Permission denied", "File name too long"), in the
// language of the user's locale where the system has them.
std::string DescripcioError(int error);

} // namespace tessora
