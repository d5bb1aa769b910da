#include "Anotacions.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace tessora {

namespace {

std::string_view Retallar(std::string_view text) {
    const std::size_t inici = text.find_first_not_of(" \t");
    if (inici == std::string_view::npos) return {};
    return text.substr(inici, text.find_last_not_of(" \t") - inici + 1);
}

std::variant<std::vector<IntervalAnotat>, ErrorFitxer> Taula(std::string_view text, char separador,
                                                             bool cometes, const std::string& fitxer) {
    auto registres = LlegirRegistres(text, separador, cometes, fitxer);
    if (auto* error = std::get_if<ErrorFitxer>(&registres)) return *error;
    const auto& files = std::get<std::vector<RegistreTaula>>(registres);
    std::vector<IntervalAnotat> intervals;
    for (const RegistreTaula& r : files) {
        const auto error = [&](std::string motiu) { return ErrorFitxer{fitxer, r.Linia, std::move(motiu)}; };
        const std::string_view primer = Retallar(r.Camps[0]);
        const auto inicial = primer.empty() ? 0 : static_cast<unsigned char>(primer[0]);
        if (&r == &files.front() && (std::isalpha(inicial) || inicial >= 0x80)) continue; // the header
        if (r.Camps.size() != 3)
            return error(std::to_string(r.Camps.size()) +
                         " fields where 3 are expected (start, end, label, " +
                         (cometes ? "separated by commas)" : "separated by tabs)"));
        const std::optional<double> inici = NombreCamp(r.Camps[0]), fi = NombreCamp(r.Camps[1]);
        if (!inici || !fi)
            return error(std::string("the ") + (inici ? "end" : "start") + " \"" + r.Camps[inici ? 1 : 0] +
                         "\" is not a number (decimal point \".\")");
        if (!(*fi > *inici)) return error("the end is not after the start");
        intervals.push_back({*inici, *fi, r.Camps[2]});
    }
    return intervals;
}

} // namespace

FormatAnotacions FormatPerNom(const std::filesystem::path& cami) {
    std::string extensio = cami.extension().string();
    std::transform(extensio.begin(), extensio.end(), extensio.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extensio == ".textgrid") return FormatAnotacions::TextGrid;
    return extensio == ".csv" ? FormatAnotacions::Csv : FormatAnotacions::Tsv;
}

std::variant<std::vector<IntervalAnotat>, ErrorFitxer>
IntervalsCapa(const TextGrid& graella, std::string_view capa, const std::string& fitxer) {
    const auto triada =
        std::find_if(graella.Capes.begin(), graella.Capes.end(), [capa](const CapaTextGrid& c) {
            return c.Classe == CapaTextGrid::Tipus::Intervals && (capa.empty() || c.Nom == capa);
        });
    if (triada == graella.Capes.end()) {
        if (capa.empty()) return ErrorFitxer{fitxer, 0, "the TextGrid has no interval tier"};
        std::string noms;
        for (const CapaTextGrid& c : graella.Capes)
            noms += (noms.empty() ? "\"" : ", \"") + c.Nom + '"';
        return ErrorFitxer{fitxer, 0,
                           "no interval tier named \"" + std::string(capa) + "\" (tiers: " + noms + ')'};
    }
    std::vector<IntervalAnotat> intervals;
    for (const IntervalTextGrid& interval : triada->Intervals)
        if (!Retallar(interval.Text).empty())
            intervals.push_back({interval.Inici, interval.Fi, interval.Text});
    return intervals;
}

std::variant<std::vector<IntervalAnotat>, ErrorFitxer> InterpretarAnotacions(std::string_view bytes,
                                                                             FormatAnotacions format,
                                                                             const std::string& fitxer,
                                                                             std::string_view capa) {
    if (format == FormatAnotacions::TextGrid) {
        auto graella = InterpretarTextGrid(bytes, fitxer);
        if (auto* error = std::get_if<ErrorFitxer>(&graella)) return *error;
        return IntervalsCapa(std::get<TextGrid>(graella), capa, fitxer);
    }
    auto text = DecodificarText(bytes, fitxer);
    if (auto* error = std::get_if<ErrorFitxer>(&text)) return *error;
    const bool csv = format == FormatAnotacions::Csv;
    return Taula(std::get<std::string>(text), csv ? ',' : '\t', csv, fitxer);
}

std::variant<std::vector<IntervalAnotat>, ErrorFitxer> LlegirAnotacions(const std::filesystem::path& cami,
                                                                        std::string_view capa) {
    auto text = LlegirFitxerText(cami);
    if (auto* error = std::get_if<ErrorFitxer>(&text)) return *error;
    return InterpretarAnotacions(std::get<std::string>(text), FormatPerNom(cami), cami.string(), capa);
}

std::variant<std::vector<RegistreTaula>, ErrorFitxer>
LlegirRegistres(std::string_view text, char separador, bool cometes, const std::string& fitxer) {
    std::vector<RegistreTaula> registres;
    std::int64_t linia = 1;
    RegistreTaula actual{linia, {""}};
    const auto acabar = [&] {
        if (actual.Camps.size() > 1 || !Retallar(actual.Camps[0]).empty())
            registres.push_back(std::move(actual));
        actual = RegistreTaula{linia, {""}};
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::string& camp = actual.Camps.back();
        const char c = text[i];
        if (c == '\n') {
            if (i > 0 && text[i - 1] == '\r' && !camp.empty() && camp.back() == '\r') camp.pop_back();
            ++linia;
            acabar();
        } else if (c == separador) {
            actual.Camps.emplace_back();
        } else if (cometes && c == '"' && camp.empty()) {
            const std::int64_t liniaCometes = linia;
            for (++i;; i += 2) {
                const std::size_t tancament = text.find('"', i);
                if (tancament == std::string_view::npos)
                    return ErrorFitxer{fitxer, liniaCometes, "a field in double quotes is not closed"};
                const std::string_view tros = text.substr(i, tancament - i);
                linia += std::count(tros.begin(), tros.end(), '\n');
                camp += tros;
                i = tancament;
                if (i + 1 == text.size() || text[i + 1] != '"') break;
                camp += '"';
            }
            const std::string_view resta = text.substr(i + 1);
            if (!resta.empty() && resta[0] != separador && resta[0] != '\n' && !resta.starts_with("\r\n"))
                return ErrorFitxer{fitxer, linia, "text after the closing quote of a field"};
        } else {
            camp += c;
        }
    }
    acabar();
    return registres;
}

std::optional<double> NombreCamp(std::string_view camp) {
    camp = Retallar(camp);
    double valor = 0.0;
    const auto [fi, error] = std::from_chars(camp.data(), camp.data() + camp.size(), valor);
    if (camp.empty() || error != std::errc() || fi != camp.data() + camp.size() || !std::isfinite(valor))
        return std::nullopt;
    return valor;
}

} // namespace tessora
