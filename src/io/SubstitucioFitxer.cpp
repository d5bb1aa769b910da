#include "SubstitucioFitxer.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tessora {

namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows in one name before it reports a loop.
constexpr int kEnllacosMaxims = 40;

// The name a chain of symbolic links ends at, each relative link taken from its own folder, as opening
// the name would follow them; nothing for a loop or a link that cannot be read. Any other name is
// given back as it is.
std::optional<fs::path> SeguirEnllacos(fs::path cami) {
    for (int salts = 0; salts <= kEnllacosMaxims; ++salts) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(cami, error))) return cami;
        const fs::path desti = fs::read_symlink(cami, error);
        if (error) return std::nullopt;
        cami = cami.parent_path() / desti;
    }
    return std::nullopt;
}

// A new file in `carpeta` under a name of our own; -1 when none can be created.
int CrearTemporal(int carpeta, std::string& nom) {
    static constexpr char kLletres[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device llavor;
    std::mt19937_64 generador((static_cast<std::uint64_t>(llavor()) << 32) ^ llavor());
    std::uniform_int_distribution<std::size_t> lletra(0, sizeof(kLletres) - 2);
    for (int intent = 0; intent < 100; ++intent) {
        nom = ".tessora-";
        for (int i = 0; i < 12; ++i)
            nom += kLletres[lletra(generador)];
        nom += ".tmp";
        const int fd = ::openat(carpeta, nom.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

} // namespace

SubstitucioFitxer::SubstitucioFitxer(const fs::path& desti, bool crearCarpetes) {
    try {
        Obrir(desti, crearCarpetes);
    } catch (const std::exception&) {
        fitxer_.Tancar(); // the destructor removes a temporary already made
        Fallar(ENOMEM);
    }
}

bool SubstitucioFitxer::Fallar(int error) {
    if (error_ == 0) error_ = error != 0 ? error : EIO;
    return false;
}

void SubstitucioFitxer::Obrir(const fs::path& desti, bool crearCarpetes) {
    if (crearCarpetes && !desti.parent_path().empty()) {
        std::error_code error;
        fs::create_directories(desti.parent_path(), error);
        if (error) {
            Fallar(error.value());
            return;
        }
    }
    const std::optional<fs::path> real = SeguirEnllacos(desti);
    if (!real) {
        Fallar(ELOOP);
        return;
    }
    nom_ = real->filename().string();
    if (nom_.empty() || nom_ == "." || nom_ == "..") {
        Fallar(EISDIR);
        return;
    }
    const fs::path pare = real->parent_path();
    carpeta_ =
        tessora::Descriptor(::open(pare.empty() ? "." : pare.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!carpeta_.Obert()) {
        Fallar(errno);
        return;
    }

    struct stat anterior {};
    const bool existeix = ::fstatat(carpeta_.Fd(), nom_.c_str(), &anterior, AT_SYMLINK_NOFOLLOW) == 0;
    if (!existeix && errno != ENOENT) {
        Fallar(errno);
        return;
    }
    if (existeix) {
        if (!S_ISREG(anterior.st_mode)) {
            Fallar(S_ISDIR(anterior.st_mode) ? EISDIR : EEXIST);
            return;
        }
        // Opening it for writing, without emptying it, asks the system whether this user may change it.
        const tessora::Descriptor prova(
            ::openat(carpeta_.Fd(), nom_.c_str(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
        if (!prova.Obert()) {
            Fallar(errno);
            return;
        }
    }
    fitxer_ = tessora::Descriptor(CrearTemporal(carpeta_.Fd(), nomTemporal_));
    if (!fitxer_.Obert()) {
        Fallar(errno);
        return;
    }
    // A replaced file keeps its permissions, as it would if it had been emptied and rewritten.
    if (existeix) ::fchmod(fitxer_.Fd(), anterior.st_mode & 07777);
}

SubstitucioFitxer::~SubstitucioFitxer() {
    fitxer_.Tancar();
    if (!confirmat_ && !nomTemporal_.empty() && carpeta_.Obert())
        ::unlinkat(carpeta_.Fd(), nomTemporal_.c_str(), 0);
}

bool SubstitucioFitxer::Escriure(std::span<const std::uint8_t> bytes) {
    if (!fitxer_.Obert()) return false;
    errno = 0;
    if (!EscriureTot(fitxer_.Fd(), bytes)) return Fallar(errno != 0 ? errno : ENOSPC);
    posicio_ += bytes.size();
    return true;
}

bool SubstitucioFitxer::EscriureA(std::uint64_t posicio, std::span<const std::uint8_t> bytes) {
    if (!fitxer_.Obert()) return false;
    errno = 0;
    return tessora::EscriureA(fitxer_.Fd(), posicio, bytes) || Fallar(errno != 0 ? errno : ENOSPC);
}

bool SubstitucioFitxer::Truncar(std::uint64_t posicio) {
    if (!fitxer_.Obert() || posicio > posicio_) return false;
    const auto offset = static_cast<off_t>(posicio);
    if (::ftruncate(fitxer_.Fd(), offset) != 0 || ::lseek(fitxer_.Fd(), offset, SEEK_SET) != offset)
        return Fallar(errno);
    posicio_ = posicio;
    error_ = 0;
    return true;
}

SubstitucioFitxer::Resultat SubstitucioFitxer::Confirmar() {
    if (!fitxer_.Obert()) return Resultat::NoEsPotCrear;
    const bool alDisc = ::fsync(fitxer_.Fd()) == 0;
    if (!alDisc) Fallar(errno);
    // A failed close can mean lost writes.
    if (!fitxer_.Tancar()) Fallar(errno);
    if (error_ != 0) return Resultat::ErrorEscriptura;
    if (::renameat(carpeta_.Fd(), nomTemporal_.c_str(), carpeta_.Fd(), nom_.c_str()) != 0) {
        Fallar(errno);
        return Resultat::NoEsPotCrear;
    }
    confirmat_ = true;
    // The new name is durable once the folder is; the file itself is complete either way.
    ::fsync(carpeta_.Fd());
    return Resultat::Correcte;
}

bool SubstituirFitxer(const std::filesystem::path& desti, std::string_view bytes, bool crearCarpetes,
                      int* error) {
    SubstitucioFitxer fitxer(desti, crearCarpetes);
    const bool fet = fitxer.Oberta() &&
                     fitxer.Escriure({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}) &&
                     fitxer.Confirmar() == SubstitucioFitxer::Resultat::Correcte;
    if (error != nullptr) *error = fet ? 0 : fitxer.Error();
    return fet;
}

std::string DescripcioError(int error) {
    return std::strerror(error);
}

} // namespace tessora
