#include "DesamentAutomatic.h"

#include "ArxiuIni.h"
#include "Descriptor.h"
#include "SubstitucioFitxer.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>

namespace tessora {

namespace {

namespace fs = std::filesystem;

constexpr const char* kNomAvis = "experiments-desats.txt";
// Suffixes tried for one second before giving up: far more exports than a second can hold.
constexpr int kIntentsNom = 1000;

} // namespace

fs::path CarpetaDades() {
    const fs::path dades = CarpetaXdg("XDG_DATA_HOME", fs::path(".local") / "share");
    return dades.empty() ? dades : dades / "tessora";
}

std::optional<NomsExportacio> ReservarNomsAutomatics(const fs::path& carpeta, const std::tm& moment,
                                                     int* error) {
    std::error_code errorCarpeta;
    fs::create_directories(carpeta, errorCarpeta);
    int darrerError = errorCarpeta.value();
    char data[32];
    std::strftime(data, sizeof data, "experiment-%Y-%m-%d-%H%M%S", &moment);
    for (int intent = 1; !errorCarpeta && intent <= kIntentsNom; ++intent) {
        const std::string base = data + (intent > 1 ? "-" + std::to_string(intent) : std::string());
        const NomsExportacio noms = NomsFitxersExportacio((carpeta / base).string());
        if (fs::exists(noms.Text) || fs::exists(noms.Imatge)) continue;
        // Created only when the name is free: another program closing at the same second takes the next.
        const Descriptor reserva(::open(noms.Wav.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (reserva.Obert()) return noms;
        darrerError = errno;
        if (darrerError != EEXIST) break;
    }
    if (error != nullptr) *error = darrerError != 0 ? darrerError : EEXIST;
    return std::nullopt;
}

bool AfegirAvisDesament(const fs::path& carpeta, const NomsExportacio& noms) {
    std::string text;
    for (const std::string& nom : LlegirAvisDesament(carpeta))
        text += nom + '\n';
    text += noms.Wav + '\n' + noms.Text + '\n' + noms.Imatge + '\n';
    return SubstituirFitxer(carpeta / kNomAvis, text, true);
}

std::vector<std::string> LlegirAvisDesament(const fs::path& carpeta) {
    std::ifstream avis(carpeta / kNomAvis);
    std::vector<std::string> noms;
    for (std::string linia; std::getline(avis, linia);)
        if (!linia.empty()) noms.push_back(linia);
    return noms;
}

void EsborrarAvisDesament(const fs::path& carpeta) {
    std::error_code error;
    fs::remove(carpeta / kNomAvis, error);
}

} // namespace tessora
