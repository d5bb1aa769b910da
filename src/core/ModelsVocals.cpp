#include "ModelsVocals.h"

#include "DesamentAutomatic.h"
#include "SubstitucioFitxer.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>

namespace tessora {

namespace {

// A frequency field: the whole field as std::from_chars reads it, finite and above 0 Hz.
std::optional<float> LlegirHz(std::string_view camp) {
    float valor = 0.0f;
    const auto [fi, error] = std::from_chars(camp.data(), camp.data() + camp.size(), valor);
    if (error != std::errc() || fi != camp.data() + camp.size() || !std::isfinite(valor) || valor <= 0.0f)
        return std::nullopt;
    return valor;
}

// Shortest text that reads back as the same float.
std::string TextHz(float valor) {
    char text[32];
    return {text, std::to_chars(text, text + sizeof text, valor).ptr};
}

} // namespace

double DistanciaBark(double f1a, double f2a, double f1b, double f2b) {
    return std::hypot(Bark(f1a) - Bark(f1b), Bark(f2a) - Bark(f2b));
}

std::filesystem::path CamiModelsPerDefecte() {
    const std::filesystem::path carpeta = CarpetaDades();
    return carpeta.empty() ? carpeta : carpeta / "models.tsv";
}

ModelsVocals::ModelsVocals(std::filesystem::path fitxer) : fitxer_(std::move(fitxer)) {}

std::size_t ModelsVocals::Carregar() {
    models_.clear();
    if (fitxer_.empty()) return 0;
    std::ifstream entrada(fitxer_, std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>()};
    std::size_t saltades = 0;
    for (std::size_t inici = 0; inici < text.size();) {
        std::size_t fi = text.find('\n', inici);
        if (fi == std::string::npos) fi = text.size();
        std::string_view linia(text.data() + inici, fi - inici);
        inici = fi + 1;
        if (linia.ends_with('\r')) linia.remove_suffix(1);
        const std::size_t tab1 = linia.find('\t');
        const std::size_t tab2 = tab1 == std::string_view::npos ? tab1 : linia.find('\t', tab1 + 1);
        const std::optional<float> f1 =
            tab2 == std::string_view::npos ? std::nullopt : LlegirHz(linia.substr(tab1 + 1, tab2 - tab1 - 1));
        const std::optional<float> f2 = f1 ? LlegirHz(linia.substr(tab2 + 1)) : std::nullopt;
        if (tab1 == 0 || !f2) {
            ++saltades;
            continue;
        }
        models_.insert_or_assign(std::string(linia.substr(0, tab1)), ModelVocal{*f1, *f2});
    }
    return saltades;
}

bool ModelsVocals::Fixar(const std::string& vocal, ModelVocal model, int* error) {
    std::map<std::string, ModelVocal, std::less<>> abans = models_;
    models_.insert_or_assign(vocal, model);
    if (Escriure(error)) return true;
    models_.swap(abans);
    return false;
}

bool ModelsVocals::Buidar(int* error) {
    std::map<std::string, ModelVocal, std::less<>> abans;
    abans.swap(models_);
    if (Escriure(error)) return true;
    models_.swap(abans);
    return false;
}

std::optional<ModelVocal> ModelsVocals::Model(std::string_view vocal) const {
    const auto model = models_.find(vocal);
    return model == models_.end() ? std::nullopt : std::optional(model->second);
}

bool ModelsVocals::Escriure(int* error) const {
    if (fitxer_.empty()) return true;
    std::string text;
    for (const auto& [vocal, model] : models_)
        text += vocal + '\t' + TextHz(model.F1) + '\t' + TextHz(model.F2) + '\n';
    return SubstituirFitxer(fitxer_, text, /*crearCarpetes=*/true, error);
}

} // namespace tessora
