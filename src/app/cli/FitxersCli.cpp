#include "FitxersCli.h"

#include "CartaCli.h"
#include "CopiaBloc.h"
#include "Descriptor.h"
#include "LecturaSo.h"
#include "SenyalsTerminacio.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <ostream>
#include <sched.h>
#include <sstream>
#include <system_error>
#include <thread>

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
    bool LlegirBloc() { return font_.Llegir(bloc_) == bloc_.size(); }

private:
    FontMostres& font_;
    EstatAnalisi& estat_;
    std::array<std::uint8_t, kMidaBloc> bloc_{};
};

// A CSV field: as it is, or quoted (quotes doubled) when it holds a comma, a quote or a line break.
std::string CampCsv(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string camp = "\"";
    for (const char c : text) {
        if (c == '"') camp += '"';
        camp += c;
    }
    return camp + '"';
}

// Notes a block the loop counted: its analysis, and the utterance it makes or lengthens when loud.
void Anotar(ResultatFitxer& r, std::size_t bloc, const EfecteBloc& efecte, const EstatAnalisi& estat) {
    if (efecte.Nivell > kNivellSilenci) {
        if (!r.Emissions.empty() && r.Emissions.back().DarrerBloc + 1 == bloc)
            r.Emissions.back().DarrerBloc = bloc;
        else
            r.Emissions.push_back({bloc, bloc});
    }
    if (efecte.Analisi)
        r.Analisis.push_back({bloc, efecte.Analisi->Vocal, estat.FrequenciaFonamental, estat.FrequenciaF1,
                              estat.SeparacioF2F1});
}

ResultatFitxer Analitzar(const OpcionsCli& o, const std::string& fitxer, std::ostream& sortida,
                         std::ostream& errors, const std::function<bool()>& aturar, bool variosFitxers) {
    ResultatFitxer r;
    r.Codi = 2; // until the file is read through
    if (variosFitxers && !o.Csv) sortida << "# " << fitxer << '\n';
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
    SessioCli sessio(o, *estat, *buffer, captura, sortida, errors, std::move(desada),
                     /*buidarCadaLinia=*/false,
                     variosFitxers && o.Csv ? CampCsv(fitxer) + ',' : std::string());
    sessio.Engegar();
    CartaVocals carta;
    while (sessio.Escoltant() && !aturar() && captura.LlegirBloc()) {
        const std::size_t bloc = sessio.BlocsEscoltats();
        const EfecteBloc efecte = sessio.Bloc();
        if (sessio.BlocsEscoltats() == bloc)
            continue; // the --desa-captura file refused it: listening stopped
        Anotar(r, bloc, efecte, *estat);
        if (efecte.Analisi) carta.Afegir(*efecte.Analisi, double(bloc) * kMidaBloc / kFrequenciaMostreig);
    }
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
    return r;
}

// A file's run on a worker thread: its lines and messages held in the result.
ResultatFitxer AnalitzarApart(const OpcionsCli& o, const std::string& fitxer,
                              const std::function<bool()>& aturar) {
    std::ostringstream sortida, errors;
    ResultatFitxer r = AnalitzarFitxer(o, fitxer, sortida, errors, aturar, true);
    r.Sortida = std::move(sortida).str();
    r.Errors = std::move(errors).str();
    return r;
}

// Writes one file's result out; false when `sortida` failed (its error number in `errorSortida`).
bool Escriure(const ResultatFitxer& r, std::ostream& sortida, std::ostream& errors, int& errorSortida) {
    errno = 0;
    sortida << r.Sortida << std::flush;
    if (!sortida || r.ErrorSortida != 0) {
        errorSortida = r.ErrorSortida != 0 ? r.ErrorSortida : errno != 0 ? errno : EIO;
        return false;
    }
    if (!r.Errors.empty()) {
        const EscripturaErrors propi; // no worker's decoder has standard error silenced meanwhile
        errors << r.Errors << std::flush;
    }
    return true;
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

int AnalitzarFitxers(const OpcionsCli& o, std::ostream& sortida, std::ostream& errors, int& errorSortida) {
    // A signal ends the reading between two blocks, as if the file ended there; the files are saved.
    const SenyalsTerminacio senyals({});
    const std::size_t n = o.Fitxers.size();
    if (n == 1) {
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
            ResultatFitxer r = AnalitzarApart(o, o.Fitxers[i], aturar);
            bloqueig.lock();
            fets.emplace(i, std::move(r));
            canvi.notify_all();
        }
        canvi.notify_all(); // the writer may wait for a file that now never starts
    };

    int codi = 0;
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
        if (o.Csv) sortida << "file," << kCapcaleraCsv;
        for (std::size_t i = 0; i < n; ++i) {
            std::unique_lock bloqueig(mutex);
            canvi.wait(bloqueig, [&] { return fets.contains(i) || (seguent <= i && aturar()); });
            if (!fets.contains(i)) break; // stopped before it started
            const ResultatFitxer r = std::move(fets.at(i));
            fets.erase(i);
            bloqueig.unlock();
            const bool escrit = Escriure(r, sortida, errors, errorSortida);
            codi = std::max(codi, r.Codi);
            bloqueig.lock();
            ++escrits;
            if (!escrit) abandonar = true;
            canvi.notify_all();
            if (abandonar) break;
        }
    } // every worker has ended
    if (senyals.Rebut() && seguent < n && !abandonar)
        errors << kNomPrograma << ": interrupted: " << n - seguent << " of " << n << " files not started\n";
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
