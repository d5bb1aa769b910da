#include "CarpetesUsuari.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace tessora {

std::filesystem::path CarpetaXdg(const char* variable, const std::filesystem::path& dinsCasa) {
    const char* valor = std::getenv(variable);
    if (valor != nullptr && std::filesystem::path(valor).is_absolute()) return valor;
    std::filesystem::path casa;
    const char* home = std::getenv("HOME");
    if (home != nullptr && std::filesystem::path(home).is_absolute()) {
        casa = home;
    } else {
        passwd entrada{};
        passwd* resultat = nullptr;
        std::vector<char> memoria(16384);
        if (::getpwuid_r(::getuid(), &entrada, memoria.data(), memoria.size(), &resultat) == 0 &&
            resultat != nullptr && resultat->pw_dir != nullptr &&
            std::filesystem::path(resultat->pw_dir).is_absolute())
            casa = resultat->pw_dir;
    }
    if (casa.empty()) return {};
    return casa / dinsCasa;
}

} // namespace tessora
