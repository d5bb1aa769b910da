#include "FitxersCli.h"

#include "BarraProgres.h"
#include "CartaCli.h"
#include "CopiaBloc.h"
#include "Descriptor.h"
#include "LecturaSo.h"
#include "SenyalsTerminacio.h"
#include "SubstitucioFitxer.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <ostream>
#include <sched.h>
#include <span>
#include <sstream>
#include <system_error>
#include <thread>
#include <variant>

namespace tessora {

namespace {

// Files started and not yet written out, per worker: a long file ahead of the others holds back at
// most this many finished ones in memory, and stalls the workers no sooner.
constexpr std::size_t kFitxersPerTreballador = 4;

// Plays the file into the loop: each capture message copies out the block read just before it.
class CapturaFitxer final : public ControlCaptura {
public:
    CapturaFitxer(FontMostres& font, EstatAnalisi& estat) : font_(font), estat_(estat) {}

    std::int32_t EngegarEntradaDeSo() override { return 0; }
    void PararEntradaDeSo() override {}
    bool ProcessarBufferEntrada() override {
        CopiarBlocCapturat(bloc_.data(), kMidaBloc, estat_);
        return true;
    }
    // Reads the next whole block; false at the end (a partial block is dropped).
    bool LlegirBloc() {
        const std::size_t llegides = font_.Llegir(bloc_);
        mostres_ += llegides;
        return llegides == bloc_.size();
    }
    // The samples read so far, the dropped partial block included.
    std::uint64_t Mostres() const { return mostres_; }

private:
    FontMostres& font_;
    EstatAnalisi& estat_;
    std::array<std::uint8_t, kMidaBloc> bloc_{};
    std::uint64_t mostres_ = 0;
};

// Notes a block the loop counted: the utterance it makes or lengthens when loud, and its analysis. An
// utterance's vowel is the first its analyses decided.
void Anotar(ResultatFitxer& r, std::size_t bloc, const EfecteBloc& efecte, const EstatAnalisi& estat) {
    const auto b = static_cast<std::int64_t>(bloc);
    if (efecte.Nivell > kNivellSilenci) {
        if (!r.Emissions.empty() && r.Emissions.back().DarrerBloc + 1 == b)
            r.Emissions.back().DarrerBloc = b;
        else
            r.Emissions.push_back({b, b, {}});
    }
    if (!efecte.Analisi) return;
    const std::string& vocal = efecte.Analisi->Vocal;
    r.Analisis.push_back({b, vocal, estat.FrequenciaFonamental, estat.FrequenciaF1, estat.SeparacioF2F1});
    if (!r.Emissions.empty() && r.Emissions.back().DarrerBloc == b && r.Emissions.back().Vocal.empty())
        r.Emissions.back().Vocal = vocal;
}

// The annotations of `fitxer`: --avalua's file, or in --avalua's folder the first of NAME.TextGrid,
// NAME.tsv and NAME.csv that is there.
std::variant<std::vector<IntervalAnotat>, ErrorFitxer> Anotacions(const OpcionsCli& o,
                                                                  const std::string& fitxer) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_directory(o.Avalua, error)) return LlegirAnotacions(o.Avalua, o.Capa);
    const fs::path nom = fs::path(fitxer).stem();
    for (const char* extensio : {".TextGrid", ".tsv", ".csv"}) {
        const fs::path cami = fs::path(o.Avalua) / nom += extensio;
        if (fs::exists(cami, error)) return LlegirAnotacions(cami, o.Capa);
    }
    return ErrorFitxer{fitxer, 0,
                       "no annotations: none of " + (fs::path(o.Avalua) / nom).string() +
                           ".TextGrid, .tsv or .csv"};
}

// The score of one recording, or of several pooled, as text: the confusion table, after "# TITLE" when
// `titol` is not empty.
std::string TextAvaluacio(std::span<const FilaAvaluacio> files, Idioma idioma, const std::string& titol) {
    return (titol.empty() ? std::string() : "# " + titol + '\n') + TextTaulaAvaluacio(Comptar(files, idioma));
}

ResultatFitxer Analitzar(const OpcionsCli& o, const std::string& fitxer, std::ostream& sortida,
                         std::ostream& errors, const std::function<bool()>& aturar, bool variosFitxers) {
    ResultatFitxer r;
    r.Codi = 2; // until the file is read through
    std::vector<IntervalAnotat> intervals;
    if (!o.Avalua.empty()) {
        auto anotacions = Anotacions(o, fitxer);
        if (const auto* error = std::get_if<ErrorFitxer>(&anotacions)) {
            errors << kNomPrograma << ": " << error->Text() << '\n';
            return r;
        }
        intervals = std::move(std::get<std::vector<IntervalAnotat>>(anotacions));
    }
    // With --avalua the score replaces the lines.
    std::ostringstream liniesDescartades;
    std::ostream& linies = o.Avalua.empty() ? sortida : liniesDescartades;
    if (variosFitxers && !o.Csv && o.Avalua.empty()) sortida << "# " << fitxer << '\n';
    std::unique_ptr<GravacioWav> desada;
    if (!ObrirCaptura(o, desada, errors)) return r;
    std::string error;
    const std::unique_ptr<LectorSo> lector = LectorSo::Obrir(fitxer, error);
    if (!lector) {
        errors << kNomPrograma << ": " << fitxer << ": " << error << '\n';
        return r;
    }

    auto estat = std::make_unique<EstatAnalisi>();
    std::unique_ptr<BufferSo> buffer = CrearBufferSo(errors);
    if (!buffer) return r;
    CapturaFitxer captura(*lector, *estat);
    // The lines go out in one stream, flushed at the end (and whenever the stream's buffer fills).
    SessioCli sessio(o, *estat, *buffer, captura, linies, errors, std::move(desada),
                     /*buidarCadaLinia=*/false,
                     variosFitxers && o.Csv ? CampCsv(fitxer) + ',' : std::string());
    sessio.Engegar();
    CartaVocals carta;
    // What the grid and the score need; kept only for them, so that memory stays flat otherwise.
    const bool anotar = !o.TextGrid.empty() || !o.Avalua.empty();
    while (sessio.Escoltant() && !aturar() && captura.LlegirBloc()) {
        const std::size_t bloc = sessio.BlocsEscoltats();
        const EfecteBloc efecte = sessio.Bloc();
        if (sessio.BlocsEscoltats() == bloc)
            continue; // the --desa-captura file refused it: listening stopped
        if (anotar) Anotar(r, bloc, efecte, *estat);
        if (efecte.Analisi) carta.Afegir(*efecte.Analisi, TempsBloc(static_cast<std::int64_t>(bloc)));
    }
    r.Mostres = captura.Mostres();
    r.ErrorSortida = sessio.ErrorSortida();
    // A file that stops reading part-way: the lines so far stand, nothing is saved.
    if (!lector->Error().empty()) {
        sessio.Abandonar();
        errors << kNomPrograma << ": " << fitxer << ": " << lector->Error() << '\n';
        return r;
    }
    if (aturar())
        errors << kNomPrograma << ": " << (variosFitxers ? fitxer + ": " : std::string())
               << "interrupted after " << SegonsDeSo(sessio.BlocsEscoltats()) << " s of sound\n";
    r.Codi = DesarFitxers(o, *buffer, sessio, errors);
    if (!o.Carta.empty())
        r.Codi = std::max(r.Codi, DesarCarta(o.Carta, carta, {o.VeuAguda, o.IdiomaTexts()}, errors));
    if (!o.TextGrid.empty()) {
        const std::filesystem::path cami =
            variosFitxers
                ? std::filesystem::path(o.TextGrid) / std::filesystem::path(fitxer).stem() += ".TextGrid"
                : std::filesystem::path(o.TextGrid);
        const TextGrid graella =
            GraellaTessora(r.Emissions, r.Analisis, static_cast<double>(r.Mostres) / kFrequenciaMostreig);
        int errorGraella = 0;
        if (!SubstituirFitxer(cami, EscriureTextGrid(graella), variosFitxers, &errorGraella)) {
            InformarFitxer(errors, o.IdiomaTexts(), IdText::TextNoEsPotCrear, cami.string(),
                           DescripcioError(errorGraella));
            r.Codi = std::max(r.Codi, 1);
        }
    }
    if (!o.Avalua.empty()) {
        r.Avaluacio = Avaluar(fitxer, intervals, r.Analisis);
        if (o.Csv)
            for (const FilaAvaluacio& fila : r.Avaluacio)
                sortida << LiniaCsvAvaluacio(fila);
        else
            sortida << TextAvaluacio(r.Avaluacio, o.IdiomaTexts(), variosFitxers ? fitxer : std::string());
    }
    return r;
}

// A file's run on a worker thread: its lines and messages held in the result.
ResultatFitxer AnalitzarApart(const OpcionsCli& o, const std::string& fitxer,
                              const std::function<bool()>& aturar, bool variosFitxers) {
    std::ostringstream sortida, errors;
    ResultatFitxer r = AnalitzarFitxer(o, fitxer, sortida, errors, aturar, variosFitxers);
    r.Sortida = std::move(sortida).str();
    r.Errors = std::move(errors).str();
    return r;
}

// Writes one file's result out; false when `sortida` failed (its error number in `errorSortida`).
bool Escriure(const ResultatFitxer& r, std::ostream& sortida, std::ostream& errors, int& errorSortida,
              BarraProgres& barra) {
    errno = 0;
    sortida << r.Sortida << std::flush;
    if (!sortida || r.ErrorSortida != 0) {
        errorSortida = r.ErrorSortida != 0 ? r.ErrorSortida : errno != 0 ? errno : EIO;
        return false;
    }
    if (!r.Errors.empty()) {
        barra.Esborrar();
        const EscripturaErrors propi; // no worker's decoder has standard error silenced meanwhile
        errors << r.Errors << std::flush;
    }
    return true;
}

// The scores of `files` as --avalua writes them for the recordings they name: with --csv the rows under
// the header; else a table per recording, in the order they first appear, and the pooled one when there
// are several.
void EscriureAvaluacio(std::span<const FilaAvaluacio> files, const OpcionsCli& o, std::ostream& sortida) {
    if (o.Csv) {
        sortida << kCapcaleraCsvAvaluacio << '\n';
        for (const FilaAvaluacio& fila : files)
            sortida << LiniaCsvAvaluacio(fila);
        return;
    }
    std::vector<std::string> gravacions;
    std::map<std::string, std::vector<FilaAvaluacio>> perGravacio;
    for (const FilaAvaluacio& fila : files) {
        auto [lloc, nova] = perGravacio.try_emplace(fila.Fitxer);
        if (nova) gravacions.push_back(fila.Fitxer);
        lloc->second.push_back(fila);
    }
    if (gravacions.size() <= 1) {
        sortida << TextAvaluacio(files, o.IdiomaTexts(), {});
        return;
    }
    for (const std::string& gravacio : gravacions)
        sortida << TextAvaluacio(perGravacio[gravacio], o.IdiomaTexts(), gravacio);
    sortida << TextAvaluacio(files, o.IdiomaTexts(), "total");
}

} // namespace

ResultatFitxer AnalitzarFitxer(const OpcionsCli& o, const std::string& fitxer, std::ostream& sortida,
                               std::ostream& errors, const std::function<bool()>& aturar,
                               bool variosFitxers) {
    try {
        return Analitzar(o, fitxer, sortida, errors, aturar, variosFitxers);
    } catch (const std::bad_alloc&) {
        errors << kNomPrograma << ": " << fitxer << ": out of memory\n";
        ResultatFitxer r;
        r.Codi = 2;
        return r;
    }
}

int AnalitzarFitxers(const OpcionsCli& o, std::ostream& sortida, std::ostream& errors, int& errorSortida,
                     bool progres) {
    // A signal ends the reading between two blocks, as if the file ended there; the files are saved.
    const SenyalsTerminacio senyals({});
    const std::size_t n = o.Fitxers.size();
    const bool variosFitxers = n > 1;
    if (!variosFitxers && o.Avalua.empty()) {
        const ResultatFitxer r = AnalitzarFitxer(
            o, o.Fitxers[0], sortida, errors, [&] { return senyals.Rebut(); }, false);
        errorSortida = r.ErrorSortida;
        return r.Codi;
    }

    std::mutex mutex;
    std::condition_variable canvi;
    std::size_t seguent = 0; // the next file to start; the ones before it have started
    std::size_t escrits = 0; // the files written out
    std::map<std::size_t, ResultatFitxer> fets;
    std::atomic<bool> abandonar = false; // standard output failed: nobody reads the rest
    const std::function<bool()> aturar = [&] { return abandonar || senyals.Rebut(); };
    const std::size_t finestra = kFitxersPerTreballador * o.Treballs;
    const auto treballar = [&] {
        std::unique_lock bloqueig(mutex);
        for (;;) {
            canvi.wait(bloqueig, [&] { return seguent == n || aturar() || seguent < escrits + finestra; });
            if (seguent == n || aturar()) break;
            const std::size_t i = seguent++;
            bloqueig.unlock();
            ResultatFitxer r = AnalitzarApart(o, o.Fitxers[i], aturar, variosFitxers);
            bloqueig.lock();
            fets.emplace(i, std::move(r));
            canvi.notify_all();
        }
        canvi.notify_all(); // the writer may wait for a file that now never starts
    };

    int codi = 0;
    std::vector<FilaAvaluacio> totes; // --avalua on several files: every row, for the pooled table
    BarraProgres barra(errors, n, progres && n > 1);
    {
        std::vector<std::jthread> treballadors;
        try {
            while (treballadors.size() < std::min<std::size_t>(o.Treballs, n))
                treballadors.emplace_back(treballar);
        } catch (const std::system_error& e) {
            if (treballadors.empty()) {
                errors << kNomPrograma << ": cannot start a worker thread: " << e.code().message() << '\n';
                return 2;
            }
        }
        if (o.Csv && !o.Avalua.empty())
            sortida << kCapcaleraCsvAvaluacio << '\n';
        else if (o.Csv)
            sortida << "file," << kCapcaleraCsv;
        for (std::size_t i = 0; i < n; ++i) {
            std::unique_lock bloqueig(mutex);
            for (;;) {
                if (fets.contains(i) || (seguent <= i && aturar())) break;
                const std::size_t acabats = escrits + fets.size();
                bloqueig.unlock();
                barra.Dibuixar(acabats);
                bloqueig.lock();
                if (escrits + fets.size() == acabats) canvi.wait(bloqueig);
            }
            if (!fets.contains(i)) break; // stopped before it started
            ResultatFitxer r = std::move(fets.at(i));
            fets.erase(i);
            bloqueig.unlock();
            const bool escrit = Escriure(r, sortida, errors, errorSortida, barra);
            codi = std::max(codi, r.Codi);
            if (variosFitxers && !o.Csv)
                std::move(r.Avaluacio.begin(), r.Avaluacio.end(), std::back_inserter(totes));
            bloqueig.lock();
            ++escrits;
            if (!escrit) abandonar = true;
            canvi.notify_all();
            if (abandonar) break;
        }
    } // every worker has ended
    barra.Esborrar();
    if (!o.Avalua.empty() && variosFitxers && !o.Csv && !abandonar) {
        sortida << TextAvaluacio(totes, o.IdiomaTexts(), "total") << std::flush;
        if (!sortida && errorSortida == 0) errorSortida = errno != 0 ? errno : EIO;
    }
    if (senyals.Rebut() && seguent < n && !abandonar)
        errors << kNomPrograma << ": interrupted: " << n - seguent << " of " << n << " files not started\n";
    return codi;
}

int AgregarCsv(const OpcionsCli& o, std::ostream& sortida, std::ostream& errors) {
    int codi = 0;
    std::vector<FilaAvaluacio> totes;
    for (const std::string& csv : o.Agrega) {
        auto llegit = LlegirCsvAvaluacio(csv, o.IdiomaTexts());
        if (const auto* error = std::get_if<ErrorFitxer>(&llegit)) {
            errors << kNomPrograma << ": " << error->Text() << '\n';
            codi = 2;
            continue;
        }
        auto& files = std::get<std::vector<FilaAvaluacio>>(llegit);
        std::move(files.begin(), files.end(), std::back_inserter(totes));
    }
    // A pool with a part missing would pass for the whole: nothing is written then.
    if (codi == 0) EscriureAvaluacio(totes, o, sortida);
    return codi;
}

unsigned ProcessadorsDisponibles() {
    cpu_set_t processadors;
    CPU_ZERO(&processadors);
    if (::sched_getaffinity(0, sizeof processadors, &processadors) == 0)
        return static_cast<unsigned>(std::max(1, CPU_COUNT(&processadors)));
    return std::max(1u, std::thread::hardware_concurrency());
}

} // namespace tessora
