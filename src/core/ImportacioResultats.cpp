#include "ImportacioResultats.h"

#include "Cp1252.h"
#include "Experiment.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <ctime>
#include <optional>
#include <vector>

namespace tessora {

namespace {

// More trials than any run of the experiment makes: a table that claims them is not read into memory.
constexpr std::int64_t kMaximProves = 1'000'000;

// Why the file is refused, at a line (1-based; 0 for the whole file).
struct Refus {
    std::int64_t Linia;
    std::string Motiu;
};

struct Linia {
    std::int64_t Numero;
    std::string_view Bytes; // without its line end
};

// The lines of the text, each with its end (CR, CR LF or LF) taken off.
std::vector<Linia> Linies(std::string_view bytes) {
    std::vector<Linia> linies;
    std::size_t inici = 0;
    while (inici < bytes.size()) {
        const std::size_t fi = bytes.find_first_of("\r\n", inici);
        if (fi == std::string_view::npos)
            throw Refus{static_cast<std::int64_t>(linies.size()) + 1,
                        "the file ends within a line: cut short"};
        linies.push_back({static_cast<std::int64_t>(linies.size()) + 1, bytes.substr(inici, fi - inici)});
        inici = fi + (bytes.substr(fi, 2) == "\r\n" ? 2 : 1);
    }
    return linies;
}

std::string Cometes(std::string_view text) {
    return '"' + DesDeCp1252(text) + '"';
}

// The fields of a table or error line: `n` texts, each followed by a tab (UTF-8).
std::vector<std::string> Camps(const Linia& linia, std::size_t n) {
    std::vector<std::string> camps;
    std::size_t inici = 0;
    for (std::size_t tab = linia.Bytes.find('\t'); tab != std::string_view::npos;
         tab = linia.Bytes.find('\t', inici)) {
        camps.push_back(DesDeCp1252(linia.Bytes.substr(inici, tab - inici)));
        inici = tab + 1;
    }
    if (inici != linia.Bytes.size() || camps.size() != n)
        throw Refus{linia.Numero, "expected " + std::to_string(n) + " fields each followed by a tab, found " +
                                      std::to_string(camps.size() + (inici != linia.Bytes.size()))};
    return camps;
}

std::optional<std::int64_t> Enter(std::string_view text) {
    std::int64_t valor = 0;
    const auto [fi, error] = std::from_chars(text.data(), text.data() + text.size(), valor);
    if (text.empty() || error != std::errc() || fi != text.data() + text.size()) return std::nullopt;
    return valor;
}

// A count of the table: a whole number from 0 to kMaximProves.
std::int64_t Compte(const std::string& text, std::int64_t linia) {
    const auto valor = Enter(text);
    if (!valor || text.front() == '-' || *valor > kMaximProves)
        throw Refus{linia, "\"" + text + "\" is not a count of trials"};
    return *valor;
}

void Esperar(const std::string& camp, std::string_view esperat, std::int64_t linia) {
    if (camp != esperat)
        throw Refus{linia, "expected \"" + std::string(esperat) + "\", found \"" + camp + "\""};
}

bool DiaValid(int dia, int mes, int any) {
    static constexpr std::array<int, 12> kDies{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (mes < 1 || mes > 12 || dia < 1 || dia > kDies[static_cast<std::size_t>(mes - 1)]) return false;
    const bool traspas = (any % 4 == 0 && any % 100 != 0) || any % 400 == 0;
    return mes != 2 || dia <= 28 || traspas;
}

// The date as the export wrote it (see the header): day, month, year.
std::optional<std::array<int, 3>> Data(std::string_view text) {
    const std::size_t s1 = text.find_first_of("/.-");
    if (s1 == std::string_view::npos) return std::nullopt;
    const std::size_t s2 = text.find(text[s1], s1 + 1);
    if (s2 == std::string_view::npos) return std::nullopt;
    const std::array<std::string_view, 3> parts{text.substr(0, s1), text.substr(s1 + 1, s2 - s1 - 1),
                                                text.substr(s2 + 1)};
    std::array<int, 3> v{};
    for (std::size_t i = 0; i < 3; ++i) {
        const auto valor = Enter(parts[i]);
        if (!valor || parts[i].size() > 4 ||
            !std::all_of(parts[i].begin(), parts[i].end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
            return std::nullopt;
        v[i] = static_cast<int>(*valor);
    }
    if (parts[0].size() == 4) { // year, month, day
        if (parts[1].size() > 2 || parts[2].size() > 2 || !DiaValid(v[2], v[1], v[0])) return std::nullopt;
        return std::array{v[2], v[1], v[0]};
    }
    if (parts[0].size() > 2 || parts[1].size() > 2 || (parts[2].size() != 2 && parts[2].size() != 4))
        return std::nullopt;
    const int any = parts[2].size() == 2 ? 2000 + v[2] : v[2];
    if (DiaValid(v[0], v[1], any)) return std::array{v[0], v[1], any};
    if (DiaValid(v[1], v[0], any)) return std::array{v[1], v[0], any};
    return std::nullopt;
}

// The time as the export wrote it: hours, minutes, seconds.
std::optional<std::array<int, 3>> Hora(std::string_view text) {
    std::array<int, 3> v{};
    std::size_t pos = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0 && (pos >= text.size() || text[pos] != ':')) {
            if (i == 2) break; // no seconds
            return std::nullopt;
        }
        pos += i > 0;
        const std::size_t inici = pos;
        while (pos < text.size() && pos - inici < 2 && std::isdigit(static_cast<unsigned char>(text[pos])))
            ++pos;
        if (pos == inici || (i > 0 && pos - inici != 2)) return std::nullopt;
        v[i] = static_cast<int>(*Enter(text.substr(inici, pos - inici)));
    }
    if (pos < text.size() && std::isalnum(static_cast<unsigned char>(text[pos]))) return std::nullopt;
    // AM or PM, however spelt, after blanks or a narrow space the code page lacks ('?').
    std::string resta(text.substr(pos));
    resta.erase(0, resta.find_first_not_of(" ?\xA0"));
    std::transform(resta.begin(), resta.end(), resta.begin(),
                   [](unsigned char ch) { return std::tolower(ch); });
    for (const std::string_view meridia : {"am", "pm", "a.m.", "p.m.", "a. m.", "p. m."}) {
        if (!resta.starts_with(meridia) || (resta.size() > meridia.size() &&
                                            std::isalpha(static_cast<unsigned char>(resta[meridia.size()]))))
            continue;
        if (v[0] < 1 || v[0] > 12) return std::nullopt;
        v[0] = v[0] % 12 + (meridia[0] == 'p' ? 12 : 0);
        break;
    }
    if (v[0] > 23 || v[1] > 59 || v[2] > 59) return std::nullopt;
    return v;
}

// Seconds since the epoch of the first line, read as this machine's local time.
std::int64_t DataHora(const Linia& linia) {
    const std::size_t tab = linia.Bytes.find('\t');
    if (tab == std::string_view::npos || linia.Bytes.find('\t', tab + 1) != std::string_view::npos)
        throw Refus{linia.Numero, "expected the date, a tab and the time"};
    const auto data = Data(linia.Bytes.substr(0, tab));
    if (!data)
        throw Refus{linia.Numero, "the date " + Cometes(linia.Bytes.substr(0, tab)) +
                                      " is neither day/month/year nor year-month-day in numbers"};
    const auto hora = Hora(linia.Bytes.substr(tab + 1));
    if (!hora)
        throw Refus{linia.Numero, "the time " + Cometes(linia.Bytes.substr(tab + 1)) + " is not H:mm:ss"};
    std::tm tm{};
    tm.tm_mday = (*data)[0];
    tm.tm_mon = (*data)[1] - 1;
    tm.tm_year = (*data)[2] - 1900;
    tm.tm_hour = (*hora)[0];
    tm.tm_min = (*hora)[1];
    tm.tm_sec = (*hora)[2];
    tm.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&tm));
}

// The vowel set's line; a text saved as UTF-8 on the way is told apart.
bool Castella(const Linia& linia) {
    if (linia.Bytes == "Castell\xE0") return true;
    if (linia.Bytes == "Catal\xE0") return false;
    if (linia.Bytes == "Castell\xC3\xA0" || linia.Bytes == "Catal\xC3\xA0")
        throw Refus{linia.Numero,
                    "the text is UTF-8, not the Windows-1252 the export writes: it was converted "
                    "on the way"};
    throw Refus{linia.Numero, "expected \"Català\" or \"Castellà\", found " + Cometes(linia.Bytes)};
}

// Counts per prompted vowel i and answered vowel j, both 1..N of the set.
class Recompte {
public:
    std::int64_t& operator()(int i, int j) {
        return c_[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)];
    }

private:
    std::array<std::array<std::int64_t, kMaximVocalsExperiment + 1>, kMaximVocalsExperiment + 1> c_{};
};

struct Taula {
    int N = 0;
    Recompte C; // (i, 0): vowel i was prompted ("Surt")
    std::int64_t Errors = 0;
};

// The confusion table that `linies` begin with: read and checked (see the header).
Taula LlegirTaula(std::span<const Linia> linies, Idioma idioma) {
    const auto vocals = VocalsIdioma(idioma);
    Taula t;
    t.N = static_cast<int>(vocals.size());
    const int n = t.N;
    const auto campsFila = static_cast<std::size_t>(n + 4);
    if (linies.size() < static_cast<std::size_t>(n + 3))
        throw Refus{linies.empty() ? 0 : linies.back().Numero, "the confusion table is cut short"};
    const auto text = [idioma](IdText id) { return Text(idioma, id); };
    Recompte& c = t.C;

    const std::vector<std::string> capcalera = Camps(linies[0], campsFila);
    for (int i = 1; i <= n; ++i)
        Esperar(capcalera[static_cast<std::size_t>(i)], vocals[static_cast<std::size_t>(i - 1)],
                linies[0].Numero);
    Esperar(capcalera[0], "", linies[0].Numero);
    Esperar(capcalera[campsFila - 3], text(IdText::GridTotal), linies[0].Numero);
    Esperar(capcalera[campsFila - 2], text(IdText::GridEncerts), linies[0].Numero);
    Esperar(capcalera[campsFila - 1], text(IdText::GridPercentEncerts), linies[0].Numero);

    std::vector<std::vector<std::string>> files;
    for (int r = 1; r <= n + 2; ++r) {
        const Linia& linia = linies[static_cast<std::size_t>(r)];
        files.push_back(Camps(linia, campsFila));
        const std::vector<std::string>& f = files.back();
        Esperar(f[0],
                r == 1       ? text(IdText::GridSurt)
                : r == n + 2 ? text(IdText::GridPercentEncerts)
                             : std::string(vocals[static_cast<std::size_t>(r - 2)]),
                linia.Numero);
        if (r != 1)
            for (std::size_t k = campsFila - 3; k < campsFila; ++k)
                Esperar(f[k], "", linia.Numero);
        if (r < n + 2)
            for (int i = 1; i <= n; ++i)
                c(i, r - 1) = Compte(f[static_cast<std::size_t>(i)], linia.Numero);
    }

    const std::int64_t liniaSurt = linies[1].Numero;
    const std::vector<std::string>& surt = files[0];
    std::int64_t total = 0, encerts = 0;
    for (int i = 1; i <= n; ++i) {
        std::int64_t columna = 0;
        for (int j = 1; j <= n; ++j)
            columna += c(i, j);
        const std::string nom(vocals[static_cast<std::size_t>(i - 1)]);
        if (columna != c(i, 0))
            throw Refus{liniaSurt, "the table's totals disagree: " + nom + " was prompted " +
                                       std::to_string(c(i, 0)) + " times, its column adds up to " +
                                       std::to_string(columna)};
        total += c(i, 0);
        encerts += c(i, i);
        const std::string percentatge = std::to_string(PercentatgeVocal(c(i, i), c(i, 0)));
        const Linia& liniaPercent = linies[static_cast<std::size_t>(n + 2)];
        if (files.back()[static_cast<std::size_t>(i)] != percentatge)
            throw Refus{liniaPercent.Numero, "the table's totals disagree: the hits of " + nom + " are " +
                                                 percentatge + "%, not " +
                                                 files.back()[static_cast<std::size_t>(i)]};
    }
    if (total > kMaximProves) throw Refus{liniaSurt, "more trials than a run makes"};
    if (Compte(surt[campsFila - 3], liniaSurt) != total || Compte(surt[campsFila - 2], liniaSurt) != encerts)
        throw Refus{liniaSurt, "the table's totals disagree: " + std::to_string(total) + " trials and " +
                                   std::to_string(encerts) + " hits, not " + surt[campsFila - 3] + " and " +
                                   surt[campsFila - 2]};
    const std::string& percent = surt[campsFila - 1];
    if (percent != TextPercentatgeEncerts(encerts, total, '.') &&
        percent != TextPercentatgeEncerts(encerts, total, ','))
        throw Refus{liniaSurt, "the table's totals disagree: the overall hits are not " + percent + "%"};
    t.Errors = total - encerts;
    return t;
}

// One line of the error list, the `e`-th: its trial, checked against the list's numbering.
ProvaDiari LlegirError(const Linia& linia, std::int64_t e, Idioma idioma, Recompte& llistats) {
    const std::vector<std::string> camps = Camps(linia, 9);
    const auto vocals = VocalsIdioma(idioma);
    const auto vocal = [&vocals](std::string_view nom) {
        return static_cast<int>(std::find(vocals.begin(), vocals.end(), nom) - vocals.begin()) + 1;
    };
    const std::size_t guio = camps[0].find('-');
    const int demanada = guio == std::string::npos ? 0 : vocal(std::string_view(camps[0]).substr(0, guio));
    const int reconeguda = guio == std::string::npos ? 0 : vocal(std::string_view(camps[0]).substr(guio + 1));
    const int fora = static_cast<int>(vocals.size()) + 1;
    if (demanada == 0 || demanada == fora || reconeguda == 0 || reconeguda == fora || demanada == reconeguda)
        throw Refus{linia.Numero, "\"" + camps[0] + "\" names no error between two vowels of the set"};
    if (Enter(camps[1]) != e) throw Refus{linia.Numero, "expected error number " + std::to_string(e)};
    std::array<std::optional<std::int64_t>, 9> valors;
    for (std::size_t k = 2; k < 9; ++k) {
        valors[k] = Enter(camps[k]);
        if (!camps[k].empty() && !valors[k])
            throw Refus{linia.Numero, "\"" + camps[k] + "\" is not a whole number"};
    }
    // Features are all there or, for an answer scored before any block was decided, all missing.
    const bool trets = valors[2].has_value();
    if (std::any_of(valors.begin() + 2, valors.begin() + 8,
                    [trets](const auto& v) { return v.has_value() != trets; }) ||
        !valors[8])
        throw Refus{linia.Numero, "an error line holds the trial's number, five features and the place "
                                  "of its sound, all or none of the first six"};
    // The error's sound lies in its slot of the exported WAV: the export writes where.
    if (*valors[8] != (3 * e + 1) * kMidaBloc)
        throw Refus{linia.Numero, "error " + std::to_string(e) + "'s sound is at sample " +
                                      std::to_string((3 * e + 1) * kMidaBloc) + " of the WAV, not " +
                                      camps[8]};
    ++llistats(demanada, reconeguda);

    ProvaDiari prova;
    prova.Demanada = vocals[static_cast<std::size_t>(demanada - 1)];
    prova.Reconeguda = std::string(vocals[static_cast<std::size_t>(reconeguda - 1)]);
    if (trets) {
        prova.Frequencia = static_cast<float>(*valors[3]);
        prova.F1 = static_cast<float>(*valors[4]);
        prova.S2F = static_cast<float>(*valors[6]);
    }
    if (e <= kRanuresError) prova.Situacio = valors[8];
    return prova;
}

CursaDiari Interpretar(std::string_view bytes, const std::string& fitxer) {
    if (bytes.find('\0') != std::string_view::npos)
        throw Refus{0, "NUL bytes: UTF-16 or not a results text at all"};
    if (bytes.starts_with("\xEF\xBB\xBF"))
        throw Refus{1,
                    "the text is UTF-8, not the Windows-1252 the export writes: it was converted on the way"};
    const std::vector<Linia> linies = Linies(bytes);
    if (linies.size() < 4) throw Refus{0, "too short for a results text"};

    CursaDiari cursa;
    cursa.Origen = fitxer;
    cursa.Inici = cursa.Fi = DataHora(linies[0]);
    cursa.Castella = Castella(linies[1]);
    if (linies[2].Bytes != "Veu Aguda" && linies[2].Bytes != "Veu Greu")
        throw Refus{linies[2].Numero,
                    "expected \"Veu Aguda\" or \"Veu Greu\", found " + Cometes(linies[2].Bytes)};
    cursa.VeuAguda = linies[2].Bytes == "Veu Aguda";
    if (!linies[3].Bytes.empty()) throw Refus{linies[3].Numero, "expected an empty line"};
    const Idioma idioma = cursa.Castella ? Idioma::Castella : Idioma::Catala;
    Taula taula = LlegirTaula(std::span(linies).subspan(4), idioma);
    const int n = taula.N;

    // The error list, to the last line that is not empty.
    std::size_t fi = linies.size();
    while (fi > 0 && linies[fi - 1].Bytes.empty())
        --fi;
    std::size_t l = 4 + static_cast<std::size_t>(n) + 3;
    const std::int64_t ultima = linies[l - 1].Numero;
    if (taula.Errors == 0 && l < fi)
        throw Refus{linies[l].Numero, "the table counts no error, yet more lines follow it"};
    if (taula.Errors > 0) {
        if (fi < l + 3 || !linies[l].Bytes.empty() || linies[l + 1].Bytes != "ERRORS")
            throw Refus{l < fi ? linies[l].Numero : ultima,
                        "the table counts " + std::to_string(taula.Errors) +
                            " errors; expected an empty line and \"ERRORS\" with their list"};
        const std::string_view capcalera = linies[l + 2].Bytes;
        cursa.ModeExperimentador = capcalera == "\tError\tN\xFAm.\tFreq.\tF1\tMLPC\tS2F\tAF1\tSituaci\xF3";
        if (!cursa.ModeExperimentador && capcalera != "\tError\tN\xFAm.")
            throw Refus{linies[l + 2].Numero,
                        "expected the error list's header, found " + Cometes(capcalera)};
        l += 3;
        if (static_cast<std::int64_t>(fi - l) != taula.Errors)
            throw Refus{fi > l ? linies[fi - 1].Numero : linies[l - 1].Numero,
                        "the table counts " + std::to_string(taula.Errors) + " errors, the list holds " +
                            std::to_string(fi - l)};
    }
    Recompte llistats;
    const std::int64_t liniaErrors = l < fi ? linies[l - 2].Numero : 0;
    for (std::int64_t e = 1; l < fi; ++l, ++e)
        cursa.Proves.push_back(LlegirError(linies[l], e, idioma, llistats));
    const auto vocals = VocalsIdioma(idioma);
    Recompte& taulaC = taula.C;
    for (int i = 1; i <= n; ++i)
        for (int j = 1; j <= n; ++j)
            if (i != j && llistats(i, j) != taulaC(i, j))
                throw Refus{liniaErrors, "the error list disagrees with the table: it lists " +
                                             std::to_string(llistats(i, j)) + " times " +
                                             std::string(vocals[static_cast<std::size_t>(i - 1)]) +
                                             " answered " +
                                             std::string(vocals[static_cast<std::size_t>(j - 1)]) +
                                             ", the table " + std::to_string(taulaC(i, j))};
    for (int i = 1; i <= n; ++i) {
        const std::string nom(vocals[static_cast<std::size_t>(i - 1)]);
        for (std::int64_t k = 0; k < taulaC(i, i); ++k)
            cursa.Proves.push_back({nom, nom, {}, {}, {}, {}});
    }
    return cursa;
}

} // namespace

std::variant<CursaDiari, ErrorFitxer> InterpretarResultats(std::string_view bytes,
                                                           const std::string& fitxer) {
    try {
        return Interpretar(bytes, fitxer);
    } catch (const Refus& refus) {
        return ErrorFitxer{fitxer, refus.Linia, refus.Motiu};
    }
}

std::string ParlantFitxer(const std::filesystem::path& fitxer) {
    std::string nom = fitxer.filename().string();
    for (const std::string_view extensio : {".txt", ".wav"}) {
        if (nom.size() <= extensio.size()) continue;
        std::string final = nom.substr(nom.size() - extensio.size());
        std::transform(final.begin(), final.end(), final.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        if (final == extensio) nom.resize(nom.size() - extensio.size());
    }
    return NomParlant(nom);
}

} // namespace tessora
