// One run of the program, without widgets: what the windows are built on.
//
// A session owns the analysis state, the sound block, the capture over the input it is given and the live
// loop, the experiment, the vowel chart, the two settings (language and high voice, read from the settings
// file at the start and written to it at the close) and the analysis settings of the graphs window. The
// windows call it for what the person asks and show the value each call returns (EfecteSessio): one value
// that says everything the step changed, for every window that shows part of it.
//
// Listening is a state (EstatEscolta); the button's caption and hint are the main window's reading of it.
// The analysis runs on the settings as they stand at that moment: the graphs window hands each change of
// its options and edits to the session as it happens, and gets back the minimum-pitch text's rewrite to
// "60".
//
// MigLPC: besides the analysis, the graphs picture sets it to the frequency of its half-sum mark
// (PuntMeitatEnvolupant) whenever it is drawn while the window is shown; the session does that for the
// picture, after every complete analysis while the graphs are shown and at RedibuixarGrafics, so the
// drawing only reads. tessora-cli never draws, and never sets it so.
//
// The timeline (LiniaTemps) keeps every block heard since the program started, across stops and starts,
// with what the live loop found in it; stopping listening ends the utterance going on. An utterance of it
// can be selected, played back through the output device, saved whole, shown in the graphs window and
// made its vowel's model (ModelsVocals, kept in their file).
//
// The journal (Diari): each run of the experiment, from Experimentar to its stop (Parar, the click on the
// prompt, the stop after every 100 trials, the window's close, the program's close), is stored when it
// stops, with the speaker named at that moment, its times from the clock given, the language, the voice,
// the mode, the analysis settings in force and its scored trials; a run of no trials is not. A run that
// cannot be stored now stays in the journal's memory and is stored at the next chance (the window's
// opening, the next run's stop, the window's close, the program's close). The journal is opened when it is
// first needed. The speaker chooses the models: the anonymous one keeps the models file given, a named one a
// file of its own beside it (CamiModelsParlant).
#pragma once

#include "BucleEscolta.h"
#include "BufferSo.h"
#include "CapturaEntradaDeSo.h"
#include "CartaVocals.h"
#include "Diari.h"
#include "Experiment.h"
#include "LiniaTemps.h"
#include "ModelsVocals.h"
#include "ResultatsExperiment.h"
#include "SortidaDeSo.h"
#include "TextsIdioma.h"
#include "UnitEntradaDeSo.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessora {

// The options of the graphs window's "Opcions" menu.
enum class OpcioGrafics {
    VeureLPC,
    VeureMarquesLPC,
    VeureFFT,
    NormalitzarFFT,
    Preemfasis,
    EscalaAdaptadaOida,
    NoRepintar,
    ReconeixementContinu,
};

// The graphs window's analysis and display settings, as its options and edits stand.
struct ConfiguracioGrafics {
    bool VeureLPC = true;
    bool VeureMarquesLPC = true;
    bool VeureFFT = true;
    bool NormalitzarFFT = false;
    bool Preemfasis = true;
    bool EscalaAdaptadaOida = false;
    bool NoRepintar = false;
    bool ReconeixementContinu = false;
    std::string TextOrdreLPC = "11";         // EditNumeroQuoeficientsLPC
    std::string TextFrequenciaMinima = "60"; // EditFrequenciaMinima
    std::string TextLletra;                  // EditLletra: the vowel to compare with
    bool Visibles = false;                   // the window is shown

    bool Marcada(OpcioGrafics opcio) const;
};

// How the graphs picture follows an analysis.
enum class RefrescGrafics {
    Cap,             // the graphs window is hidden
    Repintar,        // repaint the whole picture now
    DibuixarDirecte, // "No Repintar": draw over the previous picture
};

// The level meter of a block heard.
struct Mesurador {
    std::int32_t Nivell = 0;
    ColorNivell Color = ColorNivell::Groc;
};

// What one step of the session changed, for every window that shows part of it. Fields left empty,
// false or Cap changed nothing.
struct EfecteSessio {
    bool EscoltaCanviada = false;  // listening started or stopped: the button shows Sessio::Escolta()
    std::int32_t ErrorEngegar = 0; // a start failed with this device code: the person must be told
    bool EntradaPerduda = false;   // listening stopped as the input was lost: the person must be told
    std::optional<LecturaInterrompuda> Interrupcio; // with it: the recording that stopped reading, if so
    std::optional<std::uint64_t> BlocsPerduts;      // the count of blocks the input lost, when it grew
    bool IdiomaCanviat = false;                     // every window's texts follow Sessio::Llengua()
    bool VeuAgudaCanviada = false;                  // the chart's ranges follow Sessio::VeuAguda()

    // The main window: the meter, the big letter and its colour, the caption.
    std::optional<Mesurador> Nivell;
    std::optional<std::string> Lletra;
    std::optional<ColorLletra> ColorDeLletra;
    std::optional<std::string> Titol; // the normal title, or the clipping warning in the language shown

    // The graphs window: the edit's rewrite, the data line of a complete analysis, the picture.
    std::optional<std::string> NouTextFrequenciaMinima;
    std::optional<std::string> LiniaDades;
    RefrescGrafics Refresc = RefrescGrafics::Cap;

    // The chart gained this point (a decided vowel of the live loop).
    std::optional<PuntCarta> NouPunt;

    // The experiment: its current-block row was rewritten (a decided vowel), and what its step changed
    // (listening, when the step asked for it, is already done).
    bool FilaBlocActual = false;
    EfecteExperiment Experiment;

    // The timeline, the selection, the playback, the models.
    bool LiniaTempsCanviada =
        false;                     // the timeline gained a block (or lost old ones): redraw it unless frozen
    bool SeleccioCanviada = false; // Sessio::Seleccio() changed: the timeline and the charts ring it
    bool ReproduccioCanviada = false; // Sessio::Reproduint() changed
    std::int32_t ErrorReproduir = 0;  // the output device refused to play (its code): tell the person
    bool ModelsCanviats = false;      // Sessio::Models() changed: the charts redraw
    int ErrorModels = 0;              // the models file could not be written (errno): tell the person

    // The journal: a run could not be stored, or it was opened with a fault (set aside, not opened), or
    // the runs kept after a fault that was told are stored now (Correcte): tell the person. A fault is
    // told once until it changes or is over.
    std::optional<ResultatDiari> Diari;
    bool ParlantCanviat = false; // the speaker changed: the models and the charts follow
};

// The models file of speaker `parlant` (UTF-8) beside the anonymous one's `modelsAnonims`: "" gives
// `modelsAnonims` itself; a name gives models/<name>.tsv in its folder, with "%", the characters a file
// name on any desktop cannot hold (and control characters), and a name of dots alone written as %XX.
// Empty when `modelsAnonims` is.
std::filesystem::path CamiModelsParlant(const std::filesystem::path& modelsAnonims, std::string_view parlant);

// The TextGrid that "Desa la sessió" writes beside the session's WAV `wav`: the same name, ".TextGrid".
std::filesystem::path CamiGraellaSessio(const std::filesystem::path& wav);

class Sessio {
public:
    struct Entorn {
        // Where the sound comes from (the input device, a recording, a script).
        DispositiuEntrada& Dispositiu;
        // Told of every filled capture buffer; RebreBlocDeSo must then be called once, later, on the same
        // thread.
        std::function<void()> AvisBloc;
        std::filesystem::path ArxiuIni; // the settings file
        std::string LiniaOrdres;        // the command line, joined
        char SeparadorDecimal = '.';    // of the user's locale: the data line and the hit percentage
        FontAleatoria* Font = nullptr;  // the prompts' draw; the clock's when null
        SortidaDeSo* Sortida = nullptr; // playback; none: nothing is played (tests, no device)
        // A playback ended: AcabarReproduccio must then be called once, later, on the same thread.
        std::function<void()> AvisFiReproduccio{};
        std::filesystem::path ArxiuModels{};      // the models file; empty: models are not kept
        std::filesystem::path ArxiuDiari{};       // the journal; empty: runs are not kept
        std::function<std::int64_t()> Rellotge{}; // seconds since the epoch; empty: the system clock
        // How long a store waits for another program that holds the journal.
        std::chrono::milliseconds EsperaDiari = std::chrono::seconds(2);
    };

    // Reads the two settings and the models and sets the capture up; nullptr when the sound block cannot be
    // had (the program must then end at once, writing nothing).
    static std::unique_ptr<Sessio> Crear(Entorn entorn);
    ~Sessio();
    Sessio(const Sessio&) = delete;
    Sessio& operator=(const Sessio&) = delete;

    // The settings.
    Idioma Llengua() const { return idioma_; }
    bool VeuAguda() const { return veuAguda_; }
    bool ModeExperimentador() const;
    EfecteSessio FixarIdioma(Idioma idioma);
    EfecteSessio FixarVeuAguda(bool veuAguda);

    // Listening.
    EstatEscolta Escolta() const { return bucle_.Escolta(); }
    bool Escoltant() const { return bucle_.Engegat(); }
    // The start/stop toggle (the button, its menu item, Save, Experimentar).
    EfecteSessio EngegarParar();
    // One capture notification: the live loop, then everything its block changed.
    EfecteSessio RebreBlocDeSo();
    const UnitEntradaDeSo& Captura() const { return unitat_; }

    // The graphs window.
    const ConfiguracioGrafics& Grafics() const { return grafics_; }
    const EstatAnalisi& Estat() const { return *estat_; }
    // Toggles an option (pre-emphasis and the ear-adapted scale exclude each other) and, for all but "No
    // Repintar" and "Reconeixement continu", analyses the block in Mostres again with it.
    EfecteSessio CommutarOpcio(OpcioGrafics opcio);
    // The edits' texts as they read now.
    void FixarTextsGrafics(std::string ordreLPC, std::string frequenciaMinima, std::string lletra);
    void FixarGraficsVisibles(bool visibles) { grafics_.Visibles = visibles; }
    // The graphs picture is drawn afresh now, outside an analysis (shown, resized, a unit changed): MigLPC
    // takes its half-sum mark, while the window is shown.
    void RedibuixarGrafics();

    // Save: with a selection, that utterance's sound whole (every block of it); else the last utterance
    // (slot 0 of the sound block), as a WAV file. EscriureWav's result code, with the system's error number
    // in `error`.
    std::int32_t DesarEmissio(const std::filesystem::path& nom, int* error = nullptr) const;
    // "Desa la sessió": the timeline's sound as a WAV at `nom` and its TextGrid beside it (the same name with
    // ".TextGrid"), each whole or not at all; 0 or the errno of the first that failed, in `fitxer` its name.
    int DesarSessio(const std::filesystem::path& nom, std::filesystem::path& fitxer) const;

    // The timeline and its selection.
    const LiniaTemps& Linia() const { return linia_; }
    // Selects the utterance that starts at `primerBloc` (nullopt, or no utterance starts there: none, and
    // a playback under way stops) and plays it; in experimenter mode its analysed block is analysed again
    // from its kept bytes, as the live loop analysed it, for the graphs window (Refresc set when the window
    // is shown).
    EfecteSessio Seleccionar(std::optional<std::int64_t> primerBloc);
    std::optional<std::int64_t> Seleccio() const { return seleccio_; }
    const EmissioLinia* EmissioSeleccionada() const; // nullptr: none, or the ring no longer holds it
    // Playback of the selection (again); nothing without a selection or an output.
    EfecteSessio Reproduir();
    EfecteSessio AcabarReproduccio(); // after AvisFiReproduccio
    bool Reproduint() const { return reproduint_; }
    // With headphones the input is analysed during playback; without (the default), blocks that come while
    // playing are taken from the capture and dropped: not analysed, not kept, the meter at 0, and the
    // utterance going on ends.
    void FixarAuriculars(bool auriculars) { auriculars_ = auriculars; }
    bool Auriculars() const { return auriculars_; }

    // The models: the selection's vowel gets its principal analysis' (F1, F1 + S2F) as model (nothing
    // without a selection that decided a vowel), or they are all cleared; the file is written.
    EfecteSessio FixarModel();
    EfecteSessio BuidarModels();
    const ModelsVocals& Models() const { return models_; }

    // The speaker: the runs' and the models' (CamiModelsParlant).
    const std::string& Parlant() const { return parlant_; } // "" anonymous
    // Trims blanks; a new name loads that speaker's models (ParlantCanviat, ModelsCanviats).
    EfecteSessio FixarParlant(std::string nom);
    std::vector<std::string> Parlants(); // names in the journal, sorted
    Diari& DiariSessio();                // the progress window reads runs from it
    // The window's close: the runs kept after a fault are tried again.
    EfecteSessio ReintentarDiari();
    // Runs kept in memory that the journal could not take yet.
    std::size_t CursesPendents() const { return diari_.Pendents(); }

    // The experiment.
    const Experiment& DadesExperiment() const { return experiment_; }
    // Its window is opening: the vowel set of the language, the tables from scratch; the journal is
    // opened if it was not, and the runs it kept are tried again (Diari: what the person must be told).
    EfecteSessio PrepararExperiment();
    EfecteSessio Experimentar(); // listening on, then a prompt (none when the start failed)
    EfecteSessio PararExperiment();
    EfecteSessio AcabarPausa();
    // The results text (Windows-1252) as the grids stand, with the date and time given, already in the
    // user's formats.
    std::string TextResultats(std::string data, std::string hora) const;
    // The three files of an export (see ExportarResultats).
    ResultatExportacio ExportarResultats(const NomsExportacio& noms, std::string_view textResultats,
                                         std::string_view imatge, const std::function<void()>& avisNom);

    // The vowel chart of the live loop's decided vowels.
    const CartaVocals& Carta() const { return carta_; }
    void BuidarCarta() { carta_.Buidar(); }

    // The close, in two steps around the caller's wait: the capture is asked to stop (blocks still come
    // until it has); then it is released, no further block is taken, and the settings are written
    // (false when the file could not be). At the release a run going on is stopped and stored, with the
    // runs kept before it; those that still cannot be stay in DiariSessio().Pendents(), for the caller
    // to report.
    void PararCaptura();
    bool Tancar();

private:
    Sessio(Entorn entorn, std::unique_ptr<BufferSo> buffer);
    ConfiguracioAnalisi Configuracio() const;
    // What an analysis changed, for the windows; `carta`: a decided vowel becomes a chart point.
    void Analitzat(const ResultatReconeixement& r, bool carta, EfecteSessio& efecte);
    // Listening brought to `engegar`; false when a start failed (then listening is off again).
    bool Escoltar(bool engegar, EfecteSessio& efecte);
    EfecteSessio DelExperiment(const EfecteExperiment& pas);
    // A run started (EnMarxa true) is noted; one that stopped is stored.
    void SeguirCursa(const EfecteExperiment& pas, EfecteSessio& efecte);
    std::int64_t Ara() const;
    // Opens the journal when it has not been tried yet; a fault waits in avisDiari_.
    void ObrirDiari();
    // What the opening and a store (if any) said, for the person (see EfecteSessio::Diari).
    void DirDiari(const std::optional<ResultatDiari>& resultat, EfecteSessio& efecte);
    // After anything that may stop listening: the timeline's utterance going on ends when it has.
    void SeguirEscolta();
    // Reproduint() brought to whether a playback is under way.
    void SeguirReproduccio(EfecteSessio& efecte);

    Entorn entorn_;
    FontAleatoriaRellotge rellotge_;
    std::unique_ptr<EstatAnalisi> estat_;
    std::unique_ptr<BufferSo> buffer_;
    UnitEntradaDeSo unitat_;
    CapturaEntradaDeSo captura_;
    BucleEscolta bucle_;
    Experiment experiment_;
    CartaVocals carta_;
    ConfiguracioGrafics grafics_;
    Idioma idioma_ = Idioma::Castella;
    bool veuAguda_ = false;
    LiniaTemps linia_;
    ModelsVocals models_;
    Diari diari_;
    bool diariProvat_ = false;
    std::optional<ResultatDiari> avisDiari_; // an opening's fault, not told yet
    std::optional<EstatDiari> faltaDita_;    // the last fault told, while it lasts
    std::size_t pendentsDits_ = 0;           // the runs kept since
    std::string parlant_;
    // The run going on: its start (seconds since the epoch) and its first trial in ProvesFetes.
    std::optional<std::int64_t> iniciCursa_;
    std::size_t primeraProva_ = 0;
    std::optional<std::int64_t> seleccio_; // the selected utterance's first block
    // Playbacks started and not ended yet; shared with their end notices, which may come after the close.
    std::shared_ptr<int> enCurs_ = std::make_shared<int>(0);
    bool reproduint_ = false;
    bool auriculars_ = false;
    std::uint64_t perdutsDits_ = 0; // lost blocks already reported
    bool tancada_ = false;
    std::chrono::steady_clock::time_point inici_ = std::chrono::steady_clock::now();
};

} // namespace tessora
