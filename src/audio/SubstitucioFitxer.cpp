#include "SubstitucioFitxer.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tessora {

namespace {

// A symbolic link as target is written through, as opening it for writing would do.
std::filesystem::path DestiReal(const std::filesystem::path& cami) {
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(cami, error))) return cami;
    const std::filesystem::path resolt = std::filesystem::weakly_canonical(cami, error);
    return error ? cami : resolt;
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

Descriptor::~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
}

SubstitucioFitxer::SubstitucioFitxer(const std::filesystem::path& desti, bool crearCarpetes) {
    try {
        const std::filesystem::path real = DestiReal(desti);
        nom_ = real.filename().string();
        if (nom_.empty() || nom_ == "." || nom_ == "..") return;
        const std::filesystem::path pare = real.parent_path();
        if (crearCarpetes && !pare.empty()) {
            std::error_code error;
            std::filesystem::create_directories(pare, error);
            if (error) return;
        }
        carpeta_ = ::open(pare.empty() ? "." : pare.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } catch (const std::exception&) {
        return; // only building the names can throw; nothing exists yet
    }
    if (carpeta_ < 0) return;
    struct stat anterior {};
    const bool existeix = ::fstatat(carpeta_, nom_.c_str(), &anterior, 0) == 0;
    if (existeix && !S_ISREG(anterior.st_mode)) return;
    fitxer_ = CrearTemporal(carpeta_, nomTemporal_);
    // A replaced file keeps its permissions, as it would if it had been emptied and rewritten.
    if (fitxer_ >= 0 && existeix) ::fchmod(fitxer_, anterior.st_mode & 07777);
}

SubstitucioFitxer::~SubstitucioFitxer() {
    if (fitxer_ >= 0) ::close(fitxer_);
    if (!confirmat_ && !nomTemporal_.empty() && carpeta_ >= 0) ::unlinkat(carpeta_, nomTemporal_.c_str(), 0);
    if (carpeta_ >= 0) ::close(carpeta_);
}

bool SubstitucioFitxer::Escriure(std::span<const std::uint8_t> bytes) {
    if (fitxer_ < 0) return false;
    while (!bytes.empty()) {
        const ssize_t escrits = ::write(fitxer_, bytes.data(), bytes.size());
        if (escrits < 0 && errno == EINTR) continue;
        if (escrits <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(escrits));
    }
    return true;
}

SubstitucioFitxer::Resultat SubstitucioFitxer::Confirmar() {
    if (fitxer_ < 0) return Resultat::NoEsPotCrear;
    const bool alDisc = ::fsync(fitxer_) == 0;
    const int fd = fitxer_;
    fitxer_ = -1;
    // A failed close can mean lost writes.
    if (::close(fd) != 0 || !alDisc) return Resultat::ErrorEscriptura;
    if (::renameat(carpeta_, nomTemporal_.c_str(), carpeta_, nom_.c_str()) != 0)
        return Resultat::NoEsPotCrear;
    confirmat_ = true;
    // The new name is durable once the folder is; the file itself is complete either way.
    ::fsync(carpeta_);
    return Resultat::Correcte;
}

} // namespace tessora
