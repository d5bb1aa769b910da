#include "LiniaOrdres.h"

#include <initializer_list>
#include <optional>
#include <utility>

namespace tessora {

namespace {

// The option `text` stands for, alone or with "=value".
std::optional<std::string_view> OpcioNostra(std::string_view text) {
    for (const std::string_view opcio : {kOpcioEntrada, kOpcioDispositiu})
        if (text.starts_with(opcio) && (text.size() == opcio.size() || text[opcio.size()] == '='))
            return opcio;
    return std::nullopt;
}

} // namespace

std::string UnirLiniaOrdres(const std::vector<std::string>& arguments) {
    std::string linia;
    for (std::size_t i = 1; i < arguments.size(); ++i)
        linia += arguments[i];
    return linia;
}

bool ModeExperimentador(std::string_view liniaOrdres) {
    return liniaOrdres == kParaulaExperimentador;
}

SeparacioArguments SepararArguments(int argc, const char* const* argv) {
    SeparacioArguments separacio;
    if (argc <= 0 || argv == nullptr) return separacio;
    const auto argument = [&](int i) { return std::string_view(argv[i] != nullptr ? argv[i] : ""); };
    const auto error = [](std::string text) {
        SeparacioArguments fallada;
        fallada.Error = std::move(text);
        return fallada;
    };
    separacio.Restants.emplace_back(argument(0));

    for (int i = 1; i < argc; ++i) {
        const std::string_view text = argument(i);
        const std::optional<std::string_view> opcio = OpcioNostra(text);
        if (!opcio) {
            separacio.Restants.emplace_back(text);
            continue;
        }
        std::string_view valor;
        if (text.size() > opcio->size())
            valor = text.substr(opcio->size() + 1);
        else if (i + 1 < argc && !argument(i + 1).starts_with("--"))
            valor = argument(++i);

        const std::string nom(*opcio);
        const bool entrada = *opcio == kOpcioEntrada;
        if (valor.empty())
            return error("option " + nom + " needs a value: " + nom + (entrada ? " FILE" : " NAME"));
        std::string& desti = entrada ? separacio.Entrada : separacio.Dispositiu;
        if (!desti.empty()) return error("option " + nom + " is given more than once");
        desti = valor;
    }
    return separacio;
}

} // namespace tessora
