#include "DiariCli.h"

#include "Avaluacio.h"
#include "BarraProgres.h"
#include "ConfusioDiari.h"
#include "Descriptor.h"
#include "ImportacioResultats.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <system_error>
#include <variant>

namespace tessora {

namespace {

// Larger than any results text (a line per error of a long run): such a file is not read into memory.
constexpr std::uintmax_t kMidaMaximaResultats = 64u << 20;

// What went wrong with the journal, for one line on standard error.
std::string Motiu(const ResultatDiari& r) {
    std::string motiu;
    switch (r.Estat) {
    case EstatDiari::Ocupat:
        motiu = "another program (a second Tessora?) holds it";
        break;
    case EstatDiari::Ple:
        motiu = "the disk is full";
        break;
    case EstatDiari::NomesLectura:
        motiu = "it cannot be written";
        break;
    default:
        motiu = "it cannot be opened";
        break;
    }
    return r.Detall.empty() ? motiu : motiu + " (" + r.Detall + ")";
}

void DirApartat(const ResultatDiari& r, const std::filesystem::path& diari, std::ostream& errors) {
    errors << kNomPrograma << ": " << diari.string() << " was not a journal or was damaged: set aside as "
           << r.Apartat.string() << ", a new one begun\n";
}

// Opens the journal; false, after a line on `errors`, when it cannot be used.
bool Obrir(Diari& d, const std::filesystem::path& diari, std::ostream& errors) {
    if (diari.empty()) {
        errors << kNomPrograma << ": no place for the journal: neither XDG_DATA_HOME nor a home folder\n";
        return false;
    }
    const ResultatDiari r = d.Obrir();
    if (r.Estat == EstatDiari::Apartat) DirApartat(r, diari, errors);
    if (r.Correcte() || r.Estat == EstatDiari::Apartat) return true;
    errors << kNomPrograma << ": " << diari.string() << ": " << Motiu(r) << '\n';
    return false;
}

// Reads the file at `cami` into `bytes`; the reason when it cannot.
std::optional<ErrorFitxer> LlegirBytes(const std::string& cami, std::string& bytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(cami, error))
        return ErrorFitxer{cami, 0, error ? error.message() : "not a regular file"};
    if (std::filesystem::file_size(cami, error) > kMidaMaximaResultats)
        return ErrorFitxer{cami, 0, "too large for a results text"};
    std::ifstream entrada(cami, std::ios::binary);
    errno = 0;
    bytes.assign(std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>());
    if (!entrada.is_open() || entrada.bad())
        return ErrorFitxer{cami, 0, std::system_category().message(errno != 0 ? errno : EIO)};
    return std::nullopt;
}

// The cells of the per-speaker table of `curses` (all of one vowel set).
std::vector<std::vector<std::string>> CellesParlants(const std::vector<CursaDiari>& curses, Idioma idioma) {
    std::map<std::string, std::vector<CursaDiari>> perParlant;
    for (const CursaDiari& cursa : curses)
        perParlant[cursa.Parlant].push_back(cursa);
    const auto text = [idioma](IdText id) { return Text(idioma, id); };
    std::vector<std::vector<std::string>> celles{{text(IdText::DiariParlant), text(IdText::DiariCurses),
                                                  text(IdText::DiariProves), text(IdText::GridEncerts),
                                                  text(IdText::GridPercentEncerts)}};
    for (const auto& [parlant, seves] : perParlant) {
        const TaulaAvaluacio taula = TaulaCurses(seves, idioma);
        celles.push_back({parlant.empty() ? text(IdText::ParlantAnonim) : parlant,
                          std::to_string(seves.size()), std::to_string(taula.Puntuats),
                          std::to_string(taula.Encerts),
                          TextPercentatgeEncerts(taula.Encerts, taula.Puntuats)});
    }
    return celles;
}

std::string TextCsv(const std::vector<std::vector<std::string>>& celles) {
    std::string s;
    for (const auto& fila : celles) {
        for (std::size_t c = 0; c < fila.size(); ++c)
            s += (c == 0 ? "" : ",") + CampCsv(fila[c]);
        s += '\n';
    }
    return s;
}

} // namespace

int ImportarFitxers(const OpcionsCli& o, const std::filesystem::path& diari, std::ostream& sortida,
                    std::ostream& errors, bool progres) {
    Diari d(diari);
    if (!Obrir(d, diari, errors)) return 1;
    int codi = 0;
    BarraProgres barra(errors, o.Importa.size(), progres && o.Importa.size() > 1);
    for (std::size_t i = 0; i < o.Importa.size(); ++i) {
        barra.Dibuixar(i);
        const std::string& fitxer = o.Importa[i];
        std::string bytes;
        const std::optional<ErrorFitxer> noLlegit = LlegirBytes(fitxer, bytes);
        auto llegit = noLlegit ? *noLlegit : InterpretarResultats(bytes, fitxer);
        if (const auto* error = std::get_if<ErrorFitxer>(&llegit)) {
            barra.Esborrar();
            errors << kNomPrograma << ": " << error->Fitxer
                   << (error->Linia > 0 ? ":" + std::to_string(error->Linia) : std::string())
                   << ": refused: " << error->Motiu << '\n';
            codi = 2;
            continue;
        }
        CursaDiari& cursa = std::get<CursaDiari>(llegit);
        cursa.Parlant = o.AmbParlant ? o.Parlant : ParlantFitxer(fitxer);
        std::int64_t id = 0;
        const ResultatDiari r = d.Importar(cursa, bytes, &id);
        if (r.Estat == EstatDiari::Apartat) {
            barra.Esborrar();
            DirApartat(r, diari, errors);
        }
        if (r.Correcte() || r.Estat == EstatDiari::Apartat)
            sortida << fitxer << ": imported as run " << id << '\n';
        else if (r.Estat == EstatDiari::JaImportat)
            sortida << fitxer << ": already imported as run " << id << ", skipped\n";
        else {
            barra.Esborrar();
            errors << kNomPrograma << ": " << fitxer << ": not imported: the journal " << diari.string()
                   << ": " << Motiu(r);
            if (i + 1 < o.Importa.size())
                errors << "; " << o.Importa.size() - i - 1 << (i + 2 == o.Importa.size() ? " file" : " files")
                       << " not tried";
            errors << '\n';
            return 1;
        }
    }
    return codi;
}

int EscriureDiari(const OpcionsCli& o, const std::filesystem::path& diari, std::ostream& sortida,
                  std::ostream& errors) {
    std::error_code error;
    if (!diari.empty() && !std::filesystem::exists(diari, error)) {
        errors << kNomPrograma << ": no journal at " << diari.string() << " yet\n";
        return 0;
    }
    Diari d(diari);
    if (!Obrir(d, diari, errors)) return 1;
    FiltreDiari filtre;
    if (o.AmbParlant) filtre.Parlant = o.Parlant;
    if (o.LlenguaTriada) filtre.Castella = o.IdiomaTexts() == Idioma::Castella;
    ResultatDiari r;
    const std::vector<CursaDiari> curses = d.Curses(filtre, &r);
    if (!r.Correcte()) {
        errors << kNomPrograma << ": " << diari.string() << ": " << Motiu(r) << '\n';
        return 1;
    }
    if (curses.empty()) {
        errors << kNomPrograma << ": no runs in " << diari.string()
               << (o.AmbParlant ? " of that speaker\n" : "\n");
        return 0;
    }
    std::vector<Idioma> idiomes;
    for (const Idioma idioma : {Idioma::Catala, Idioma::Castella})
        if (std::any_of(curses.begin(), curses.end(),
                        [idioma](const CursaDiari& c) { return c.Castella == (idioma == Idioma::Castella); }))
            idiomes.push_back(idioma);
    for (const Idioma idioma : idiomes) {
        std::vector<CursaDiari> seves;
        std::copy_if(curses.begin(), curses.end(), std::back_inserter(seves),
                     [idioma](const CursaDiari& c) { return c.Castella == (idioma == Idioma::Castella); });
        if (idiomes.size() > 1) sortida << (idioma == Idioma::Castella ? "# Castellà\n" : "# Català\n");
        const auto taula = CellesTaulaAvaluacio(TaulaCurses(seves, idioma));
        const auto parlants = CellesParlants(seves, idioma);
        sortida << (o.Csv ? TextCsv(taula) : TextAlineat(taula)) << '\n'
                << (o.Csv ? TextCsv(parlants) : TextAlineat(parlants)) << '\n';
    }
    return 0;
}

} // namespace tessora
