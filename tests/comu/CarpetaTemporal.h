// Helpers shared by the tests: a private folder for the files a test writes, whole-file I/O, and a child
// process without privileges.
#pragma once

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include <grp.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tessora::proves {

// A new folder under the system's temporary folder; removed with everything in it.
class CarpetaTemporal {
public:
    CarpetaTemporal() {
        std::string cami = (std::filesystem::temp_directory_path() / "tessora-proves-XXXXXX").string();
        if (::mkdtemp(cami.data()) == nullptr)
            throw std::runtime_error("no temporary folder could be created");
        Cami_ = cami;
    }
    CarpetaTemporal(const CarpetaTemporal&) = delete;
    CarpetaTemporal& operator=(const CarpetaTemporal&) = delete;
    ~CarpetaTemporal() {
        std::error_code error;
        std::filesystem::permissions(Cami_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(Cami_, error);
    }

    const std::filesystem::path& Cami() const { return Cami_; }

    // Names of the entries in the folder, sorted.
    std::vector<std::string> Contingut() const {
        std::vector<std::string> noms;
        for (const auto& entrada : std::filesystem::directory_iterator(Cami_))
            noms.push_back(entrada.path().filename().string());
        std::sort(noms.begin(), noms.end());
        return noms;
    }

private:
    std::filesystem::path Cami_;
};

inline std::vector<std::uint8_t> LlegirBytes(const std::filesystem::path& cami) {
    std::ifstream entrada(cami, std::ios::binary);
    return {std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>()};
}

inline void EscriureBytes(const std::filesystem::path& cami, const std::vector<std::uint8_t>& bytes) {
    std::ofstream sortida(cami, std::ios::binary | std::ios::trunc);
    sortida.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Runs `fer` in a child process and gives its exit status (-1 when it did not exit, 101 when it could
// not drop its privileges). When the tests run as root, the child first gives `carpeta` to the
// unprivileged user 65534 ("nobody") and becomes that user, since permissions bind no superuser.
template <class Fer>
int EnUnFillSensePrivilegis(const std::filesystem::path& carpeta, Fer fer) {
    constexpr uid_t kNingu = 65534;
    const pid_t fill = ::fork();
    if (fill == 0) {
        if (::geteuid() == 0 &&
            (::chown(carpeta.c_str(), kNingu, kNingu) != 0 || ::setgroups(0, nullptr) != 0 ||
             ::setgid(kNingu) != 0 || ::setuid(kNingu) != 0))
            ::_exit(101);
        int codi = 102;
        try {
            codi = fer();
        } catch (...) {
        }
        ::_exit(codi);
    }
    int estat = 0;
    if (fill < 0 || ::waitpid(fill, &estat, 0) != fill || !WIFEXITED(estat)) return -1;
    return WEXITSTATUS(estat);
}

} // namespace tessora::proves
