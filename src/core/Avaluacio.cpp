#include "Avaluacio.h"

#include "UnitCalculsReconeixement.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <limits>

namespace tessora {

namespace {

constexpr std::string_view kBlancs = " \t\r\n";

// Characters of a UTF-8 text ("È" is one), for the table's columns.
std::size_t Caracters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::optional<std::int64_t> EnterCamp(std::string_view camp) {
    std::int64_t valor = 0;
    const auto [fi, error] = std::from_chars(camp.data(), camp.data() + camp.size(), valor);
    if (camp.empty() || error != std::errc() || fi != camp.data() + camp.size()) return std::nullopt;
    return valor;
}

bool EsCapcalera(const RegistreTaula& registre) {
    std::string linia;
    for (const std::string& camp : registre.Camps)
        linia += (linia.empty() ? "" : ",") + camp;
    return linia == kCapcaleraCsvAvaluacio;
}

std::variant<std::vector<FilaAvaluacio>, ErrorFitxer> FilesCsv(std::string_view text, Idioma idioma,
                                                               const std::string& fitxer) {
    auto registres = LlegirRegistres(text, ',', true, fitxer);
    if (auto* error = std::get_if<ErrorFitxer>(&registres)) return *error;
    const auto& llegits = std::get<std::vector<RegistreTaula>>(registres);
    if (llegits.empty() || !EsCapcalera(llegits.front()))
        return ErrorFitxer{fitxer, llegits.empty() ? 0 : llegits.front().Linia,
                           "not a per-interval CSV: it does not begin with \"" +
                               std::string(kCapcaleraCsvAvaluacio) + '"'};
    const auto vocals = VocalsIdioma(idioma);
    std::vector<FilaAvaluacio> files;
    for (const RegistreTaula& r : llegits) {
        if (EsCapcalera(r)) continue;
        const auto error = [&](std::string motiu) { return ErrorFitxer{fitxer, r.Linia, std::move(motiu)}; };
        const std::vector<std::string>& c = r.Camps;
        if (c.size() != 9) return error(std::to_string(c.size()) + " fields where 9 are expected");
        FilaAvaluacio fila{c[0], {}, {}};
        if (!c[1].empty() || !c[2].empty() || !c[3].empty()) {
            const std::optional<double> inici = NombreCamp(c[1]), fi = NombreCamp(c[2]);
            if (!inici || !fi) return error("the onset or the offset is not a number");
            if (!(*fi > *inici)) return error("the offset is not after the onset");
            fila.Interval = IntervalAnotat{*inici, *fi, c[3]};
        }
        if (std::any_of(c.begin() + 4, c.end(), [](const std::string& camp) { return !camp.empty(); })) {
            const std::optional<std::int64_t> bloc = EnterCamp(c[5]), pitch = EnterCamp(c[6]),
                                              s2f = EnterCamp(c[8]);
            const std::optional<double> f1 = NombreCamp(c[7]);
            constexpr auto kMaxim = std::numeric_limits<std::int32_t>::max();
            if (!bloc || !pitch || !f1 || !s2f || std::abs(*pitch) > kMaxim || std::abs(*s2f) > kMaxim)
                return error("the answer's block, pitch, F1 and S2F are not all whole numbers");
            if (std::find(vocals.begin(), vocals.end(), c[4]) == vocals.end())
                return error("the answer \"" + c[4] + "\" is not a vowel of the " +
                             (idioma == Idioma::Castella ? "Spanish" : "Catalan") +
                             " set (rows are pooled in the language they were scored in)");
            fila.Resposta = AnalisiBloc{*bloc, c[4], static_cast<std::int32_t>(*pitch),
                                        static_cast<float>(*f1), static_cast<std::int32_t>(*s2f)};
        }
        if (!fila.Interval && !fila.Resposta) return error("neither an interval nor an answer");
        files.push_back(std::move(fila));
    }
    return files;
}

} // namespace

int VocalEtiqueta(std::string_view etiqueta, Idioma idioma) {
    const std::size_t inici = etiqueta.find_first_not_of(kBlancs);
    if (inici == std::string_view::npos) return 0;
    etiqueta = etiqueta.substr(inici, etiqueta.find_last_not_of(kBlancs) - inici + 1);
    // Upper case: ASCII, and the Latin-1 letters à..þ (U+00E0..U+00FE but ÷), which lie 0x20 above theirs.
    std::string majuscules;
    for (std::size_t i = 0; i < etiqueta.size(); ++i) {
        const auto c = static_cast<unsigned char>(etiqueta[i]);
        const auto seguent = i + 1 < etiqueta.size() ? static_cast<unsigned char>(etiqueta[i + 1]) : 0;
        if (c >= 'a' && c <= 'z') {
            majuscules += static_cast<char>(c - 0x20);
        } else if (c == 0xC3 && seguent >= 0xA0 && seguent <= 0xBE && seguent != 0xB7) {
            majuscules += static_cast<char>(c);
            majuscules += static_cast<char>(seguent - 0x20);
            ++i;
        } else {
            majuscules += static_cast<char>(c);
        }
    }
    struct Forma {
        std::string_view Accentuada, Plana;
        bool NomesCastella;
    };
    static constexpr Forma kFormes[] = {{"À", "A", false}, {"Á", "A", false}, {"Ì", "I", false},
                                        {"Í", "I", false}, {"Ï", "I", false}, {"Ò", "O", false},
                                        {"Ó", "O", false}, {"Ù", "U", false}, {"Ú", "U", false},
                                        {"Ü", "U", false}, {"È", "E", true},  {"É", "E", true}};
    for (const Forma& forma : kFormes)
        if (majuscules == forma.Accentuada && (!forma.NomesCastella || idioma == Idioma::Castella))
            majuscules = forma.Plana;
    const auto vocals = VocalsIdioma(idioma);
    const auto trobada = std::find(vocals.begin(), vocals.end(), majuscules);
    return trobada == vocals.end() ? 0 : static_cast<int>(trobada - vocals.begin()) + 1;
}

std::vector<FilaAvaluacio> Avaluar(const std::string& fitxer, std::span<const IntervalAnotat> intervals,
                                   std::span<const AnalisiBloc> analisis) {
    std::vector<const AnalisiBloc*> decidides;
    for (const AnalisiBloc& analisi : analisis)
        if (!analisi.Vocal.empty()) decidides.push_back(&analisi);
    std::stable_sort(decidides.begin(), decidides.end(),
                     [](const auto* a, const auto* b) { return a->Bloc < b->Bloc; });

    std::vector<FilaAvaluacio> files;
    for (const IntervalAnotat& interval : intervals) {
        FilaAvaluacio& fila = files.emplace_back(FilaAvaluacio{fitxer, interval, std::nullopt});
        const auto primera = std::partition_point(decidides.begin(), decidides.end(), [&](const auto* a) {
            return TempsBloc(a->Bloc) < interval.Inici;
        });
        if (primera != decidides.end() && TempsBloc((*primera)->Bloc) < interval.Fi)
            fila.Resposta = **primera;
    }

    // The time the intervals cover, as disjoint spans in order.
    std::vector<std::pair<double, double>> coberts;
    for (const IntervalAnotat& interval : intervals)
        coberts.emplace_back(interval.Inici, interval.Fi);
    std::sort(coberts.begin(), coberts.end());
    std::vector<std::pair<double, double>> units;
    for (const auto& [inici, fi] : coberts) {
        if (!units.empty() && inici <= units.back().second)
            units.back().second = std::max(units.back().second, fi);
        else
            units.emplace_back(inici, fi);
    }
    for (const AnalisiBloc* analisi : decidides) {
        const double temps = TempsBloc(analisi->Bloc);
        const auto despres = std::upper_bound(units.begin(), units.end(), temps,
                                              [](double t, const auto& span) { return t < span.first; });
        if (despres == units.begin() || temps >= std::prev(despres)->second)
            files.push_back(FilaAvaluacio{fitxer, std::nullopt, *analisi});
    }
    return files;
}

std::int64_t TaulaAvaluacio::Etiquetats(int vocal) const {
    std::int64_t suma = 0;
    for (int j = 0; j <= N; ++j)
        suma += Confusio[static_cast<std::size_t>(vocal)][static_cast<std::size_t>(j)];
    return suma;
}

TaulaAvaluacio Comptar(std::span<const FilaAvaluacio> files, Idioma idioma) {
    TaulaAvaluacio taula;
    taula.Llengua = idioma;
    taula.N = static_cast<int>(VocalsIdioma(idioma).size());
    for (const FilaAvaluacio& fila : files) {
        if (!fila.Interval) {
            ++taula.Insercions;
            continue;
        }
        const int etiqueta = VocalEtiqueta(fila.Interval->Etiqueta, idioma);
        if (etiqueta == 0) {
            taula.NoPuntuats.push_back(fila);
            continue;
        }
        const int resposta = fila.Resposta ? VocalEtiqueta(fila.Resposta->Vocal, idioma) : 0;
        ++taula.Confusio[static_cast<std::size_t>(etiqueta)][static_cast<std::size_t>(resposta)];
        ++taula.Puntuats;
        taula.Encerts += resposta == etiqueta;
        taula.SenseResposta += resposta == 0;
    }
    return taula;
}

std::vector<std::vector<std::string>> CellesTaulaAvaluacio(const TaulaAvaluacio& taula) {
    const int n = taula.N;
    const auto text = [&](IdText id) { return Text(taula.Llengua, id); };
    const auto vocal = [&](int i) {
        return std::string(VocalsIdioma(taula.Llengua)[static_cast<std::size_t>(i - 1)]);
    };
    const auto confusio = [&](int i, int j) {
        return std::to_string(taula.Confusio[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
    };
    std::vector<std::vector<std::string>> celles(static_cast<std::size_t>(n + 4),
                                                 std::vector<std::string>(static_cast<std::size_t>(n + 4)));
    const auto cella = [&](int c, int r) -> std::string& {
        return celles[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
    };
    cella(n + 1, 0) = text(IdText::GridTotal);
    cella(n + 2, 0) = text(IdText::GridEncerts);
    cella(n + 3, 0) = text(IdText::GridPercentEncerts);
    cella(0, 1) = text(IdText::GridSurt);
    cella(n + 1, 1) = std::to_string(taula.Puntuats);
    cella(n + 2, 1) = std::to_string(taula.Encerts);
    cella(n + 3, 1) = TextPercentatgeEncerts(taula.Encerts, taula.Puntuats);
    cella(0, n + 2) = text(IdText::AvaluacioSenseResposta);
    cella(0, n + 3) = text(IdText::GridPercentEncerts);
    for (int i = 1; i <= n; ++i) {
        cella(i, 0) = cella(0, i + 1) = vocal(i);
        cella(i, 1) = std::to_string(taula.Etiquetats(i));
        for (int j = 1; j <= n; ++j)
            cella(i, j + 1) = confusio(i, j);
        cella(i, n + 2) = confusio(i, 0);
        cella(i, n + 3) = std::to_string(PercentatgeVocal(
            taula.Confusio[static_cast<std::size_t>(i)][static_cast<std::size_t>(i)], taula.Etiquetats(i)));
    }
    return celles;
}

std::string TextAlineat(const std::vector<std::vector<std::string>>& celles) {
    std::vector<std::size_t> amplades;
    for (const auto& fila : celles) {
        amplades.resize(std::max(amplades.size(), fila.size()), 0);
        for (std::size_t c = 0; c < fila.size(); ++c)
            amplades[c] = std::max(amplades[c], Caracters(fila[c]));
    }
    std::string s;
    for (const auto& fila : celles) {
        std::string linia;
        for (std::size_t c = 0; c < fila.size(); ++c) {
            const std::string farciment(amplades[c] - Caracters(fila[c]), ' ');
            linia += c == 0 ? fila[c] + farciment : "  " + farciment + fila[c];
        }
        s += linia.substr(0, linia.find_last_not_of(' ') + 1) + '\n';
    }
    return s;
}

std::string TextTaulaAvaluacio(const TaulaAvaluacio& taula) {
    const auto text = [&](IdText id) { return Text(taula.Llengua, id); };
    std::string s = TextAlineat(CellesTaulaAvaluacio(taula));
    s += text(IdText::AvaluacioInsercions) + ": " + std::to_string(taula.Insercions) + '\n';
    s += text(IdText::AvaluacioNoPuntuats) + ": " + std::to_string(taula.NoPuntuats.size()) + '\n';
    for (const FilaAvaluacio& fila : taula.NoPuntuats) {
        const IntervalAnotat& interval = *fila.Interval;
        s += "  " + fila.Fitxer + ' ' + NombrePraat(interval.Inici) + '-' + NombrePraat(interval.Fi) + ": ";
        if (interval.Etiqueta.find_first_not_of(kBlancs) == std::string::npos)
            s += text(IdText::AvaluacioEtiquetaBuida) + '\n';
        else
            s += text(IdText::AvaluacioEtiquetaDesconeguda) + " \"" + interval.Etiqueta + "\"\n";
    }
    return s;
}

std::string CampCsv(std::string_view camp) {
    if (camp.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(camp);
    std::string resultat = "\"";
    for (const char c : camp)
        resultat += c == '"' ? std::string_view("\"\"") : std::string_view(&c, 1);
    return resultat + '"';
}

std::string LiniaCsvAvaluacio(const FilaAvaluacio& fila) {
    std::string s = CampCsv(fila.Fitxer) + ',';
    if (fila.Interval)
        s += NombrePraat(fila.Interval->Inici) + ',' + NombrePraat(fila.Interval->Fi) + ',' +
             CampCsv(fila.Interval->Etiqueta);
    else
        s += ",,";
    s += ',';
    if (const auto& r = fila.Resposta)
        s += CampCsv(r->Vocal) + ',' + std::to_string(r->Bloc) + ',' + std::to_string(r->Frequencia) + ',' +
             FormatFix(r->F1, 0) + ',' + std::to_string(r->S2F);
    else
        s += ",,,,";
    return s + '\n';
}

std::variant<std::vector<FilaAvaluacio>, ErrorFitxer>
InterpretarCsvAvaluacio(std::string_view bytes, Idioma idioma, const std::string& fitxer) {
    auto text = DecodificarText(bytes, fitxer);
    if (auto* error = std::get_if<ErrorFitxer>(&text)) return *error;
    return FilesCsv(std::get<std::string>(text), idioma, fitxer);
}

std::variant<std::vector<FilaAvaluacio>, ErrorFitxer> LlegirCsvAvaluacio(const std::filesystem::path& cami,
                                                                         Idioma idioma) {
    auto text = LlegirFitxerText(cami);
    if (auto* error = std::get_if<ErrorFitxer>(&text)) return *error;
    return FilesCsv(std::get<std::string>(text), idioma, cami.string());
}

} // namespace tessora
