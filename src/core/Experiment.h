// The guided experiment, without widgets.
//
// A run prompts a random vowel of the set, takes the next utterance the live loop hands over as the
// answer, counts it in the confusion table, lists every error with the features of its analysed block
// and keeps its sound in a slot of BufferSo, then pauses before the next prompt. It stops by itself after
// every 100 trials, or when the speaker stops it; a further run continues the same tally. The numbers
// are held once; the result grids are read off them, cell by cell as the experimentation window shows
// them and as the results text writes them out.
//
// Like the live loop, every step returns what the windows must do. The pause between trials is a step
// of its own: the caller schedules it (a single-shot timer of kPausaEntreProvesMs) and calls AcabarPausa
// when it fires; blocks keep flowing through the live loop meanwhile, and no trial starts in it.
//
// Each scored trial also keeps where the answer lay on the vowel chart (the features of the error grid's
// current-block row when it was scored), so a chart of the run can show the speaker's hits and errors,
// and a record of its own (its vowels, those features, where its sound lies in the exported WAV) for the
// journal.
//
// How the rest meets it (the session does): the live loop's ControlsBucle::ExperimentEsperant is
// "EnMarxa() and ExperimentDisponible()"; an EfecteBloc with PasExperiment hands UltimaVocal() to
// ProcessarBlocExperiment; every analysis that decides a vowel goes to EscriureBlocActual. Texts are
// UTF-8; the results text converts them.
#pragma once

#include "BufferSo.h"
#include "TextsIdioma.h"
#include "UnitCalculsReconeixement.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessora {

inline constexpr int kMaximVocalsExperiment = 10;    // capacity of the vowel set and the tables
inline constexpr std::int32_t kProvesPerTanda = 100; // a run stops by itself at every multiple
inline constexpr std::int32_t kPausaEntreProvesMs = 500;
// Error slots 1..2729 lie wholly within BufferSo; later errors are counted and listed, not stored.
inline constexpr std::int32_t kRanuresError = static_cast<std::int32_t>(BufferSo::kMida / kMidaEmissio) - 1;

// The two result grids: GridErrors (the confusion table, the last trial, the current block, the error
// list) and GridDiferencies (the vowel labels alone). Both have kColumnesGrid columns and at least their
// design's rows; GridErrors grows with the error list.
enum class GridExperiment { Errors, Diferencies };
inline constexpr int kColumnesGrid = 100;

// The prompt draw: a uniformly distributed integer 0..n-1, seeded at the start of each run.
class FontAleatoria {
public:
    virtual ~FontAleatoria() = default;
    virtual void Sembrar() = 0;
    virtual std::int32_t Enter(std::int32_t n) = 0;
};

// The program's source: seeded from the clock.
class FontAleatoriaRellotge : public FontAleatoria {
public:
    void Sembrar() override;
    std::int32_t Enter(std::int32_t n) override;

private:
    std::mt19937 generador_;
};

// A scored trial on the vowel chart: F1 and F2 = F1 + S2F of the answer (Hz), the prompted and the
// recognised vowel (1..N of the set).
struct ProvaCarta {
    float F1 = 0.0f;
    float F2 = 0.0f;
    std::int32_t Demanada = 0;
    std::int32_t Reconeguda = 0;
};

// A scored trial as the journal keeps it: the prompted and the recognised vowel (1..N of the set), the
// current-block row's features when it was scored (none before a first decision), and, for an error whose
// sound has a slot, where its analysed piece lies in the exported WAV's samples.
struct ProvaExperiment {
    std::int32_t Demanada = 0;
    std::int32_t Reconeguda = 0;
    std::optional<TretsDecisio> Trets;
    std::optional<std::int64_t> Situacio;
};

// What a step changed, in the order the windows apply it.
struct EfecteExperiment {
    bool AmagarIndicacio = false; // hide FormDiguesParaula
    bool PararEscolta = false;    // listening must be off
    // Menus: a run is going (Experimentar disabled, Parar enabled) or not (the reverse).
    std::optional<bool> EnMarxa;
    bool CellesCanviades = false; // GridErrors changed: refresh it
    bool ProgramarPausa = false;  // start the pause's timer; call AcabarPausa when it fires
    // Show and raise FormDiguesParaula with this text as the caption of LabelParaula.
    std::optional<std::string> MostrarIndicacio;
};

class Experiment {
public:
    Experiment(BufferSo& buffer, FontAleatoria& font) : buffer_(buffer), font_(font) {}

    // The window is being opened (MenuExperimentarClick): the vowel set of `idioma`, counters, confusion
    // table and both grids from scratch, with the extra error headers in the experimenter mode.
    // `separadorDecimal` is the system's decimal separator for the overall percentage.
    void PrepararTaules(Idioma idioma, bool modeExperimentador, char separadorDecimal = '.');

    // Experimentar: has `engegarEscolta` start listening (it returns whether listening is on now); when it
    // is, seeds the draw and prompts a vowel. A start that failed leaves the run Ready: no prompt, the
    // tally as it was (the caller has told the person why). Nothing while a run is going.
    EfecteExperiment Experimentar(const std::function<bool()>& engegarEscolta);
    // Parar, the click on the prompt's letter and the window's close: back to Ready, counts kept. A stop
    // during the pause ends the run: the pause then ends without a prompt. Nothing when no run is going.
    EfecteExperiment Parar();

    // One utterance: `vocal` is the text recognised on its second loud block, slot 0 of BufferSo holds its
    // three loud blocks. Taken only while a run waits for an answer (ExperimentDisponible); otherwise
    // nothing happens. A text that names no vowel of the set is not scored: the prompt goes, the pause
    // runs, and the same vowel is prompted again.
    EfecteExperiment ProcessarBlocExperiment(std::string_view vocal);
    // The pause is over: the next prompt, or the stop after every 100 trials. Nothing when no pause runs.
    EfecteExperiment AcabarPausa();

    // The recognition decided a vowel: row N+4, columns 2..7, gets the number of the trial in progress
    // and the block's features; its place on the chart goes with them.
    void EscriureBlocActual(const TretsDecisio& trets);

    // True when an utterance may be taken: no step is pausing. The live loop hands an utterance over
    // only while the window is shown and this holds.
    bool ExperimentDisponible() const { return disponible_; }
    bool EnMarxa() const { return enMarxa_; }

    std::int32_t NombreVocalsExperiment() const { return n_; }
    const std::string& VocalExperiment(int i) const { return vocals_[static_cast<std::size_t>(i)]; } // 1..N
    std::int32_t NombreProves() const { return proves_; }
    std::int32_t NombreErrors() const { return static_cast<std::int32_t>(llistaErrors_.size()); }
    // Error slots stored in BufferSo: NombreErrors, at most kRanuresError.
    std::int32_t RanuresDesades() const { return std::min(NombreErrors(), kRanuresError); }

    // Every scored trial since PrepararTaules, in order; one scored before any block was decided has no
    // place on the chart and is left out.
    const std::vector<ProvaCarta>& ProvesCarta() const { return provesCarta_; }
    // Every scored trial since PrepararTaules, in order (NombreProves of them).
    const std::vector<ProvaExperiment>& ProvesFetes() const { return provesFetes_; }

    // The text of cell (c, r) of a grid, as it stands now; empty outside what the grid holds.
    std::string Cella(GridExperiment grid, int c, int r) const;
    // Rows of a grid: its design's 100 (GridErrors) or 200, or as many as the error list needs.
    int Files(GridExperiment grid) const;

private:
    // The current-block row: the number of the trial in progress when the block was decided, and its
    // features.
    struct BlocActual {
        std::int32_t Prova = 0;
        TretsDecisio Trets;
    };
    // An error of the list: its trial's vowels and the current-block row as it stood then (none before
    // a first decision).
    struct Error {
        std::int32_t Demanada = 0;
        std::int32_t Reconeguda = 0;
        std::optional<BlocActual> Bloc;
    };

    EfecteExperiment Indicar(bool triarDeNou);
    std::string CellaErrors(int c, int r) const;
    // "AE-A": the first two characters of each vowel's name.
    std::string Etiqueta(std::int32_t demanada, std::int32_t reconeguda) const;

    BufferSo& buffer_;
    FontAleatoria& font_;

    std::int32_t n_ = 0;
    std::array<std::string, kMaximVocalsExperiment + 1> vocals_;
    std::int32_t proves_ = 0;
    std::int32_t encerts_ = 0;
    std::array<std::array<std::int32_t, kMaximVocalsExperiment + 2>, kMaximVocalsExperiment + 1> matriu_{};
    std::int32_t demanada_ = 0;
    std::int32_t reconeguda_ = 0;
    Idioma idioma_ = Idioma::Catala;
    bool modeExperimentador_ = false;
    char separadorDecimal_ = '.';

    bool disponible_ = true;
    bool enMarxa_ = false;
    // The pause: whether one runs, whether its trial was scored, and the run it belongs to.
    bool enPausa_ = false;
    bool pausaPuntuada_ = false;
    std::uint32_t tanda_ = 0;
    std::uint32_t tandaPausa_ = 0;

    // The last scored trial's prompted and recognised vowels, which rows N+3 and N+4 name.
    std::optional<std::pair<std::int32_t, std::int32_t>> ultimaProva_;
    std::optional<BlocActual> blocActual_;
    std::vector<Error> llistaErrors_;
    std::vector<ProvaCarta> provesCarta_;
    std::vector<ProvaExperiment> provesFetes_;
};

// The overall hit percentage as the grid shows it: one decimal, halves to even, in the shortest general
// form with `separadorDecimal` ("6.2" for 1 hit in 16, "0", "100").
std::string TextPercentatgeEncerts(std::int64_t encerts, std::int64_t proves, char separadorDecimal = '.');
// A vowel's hit percentage as the grid's "% enc." row shows it: a whole number, halves to even; 0 for a
// vowel never asked.
std::int64_t PercentatgeVocal(std::int64_t encerts, std::int64_t vegades);

// The vowel set of a language in the grids' order: Catalan "A", "AE", "È", "É", "I", "O", "U" (UTF-8),
// Spanish "A", "E", "I", "O", "U".
std::span<const std::string_view> VocalsIdioma(Idioma idioma);

} // namespace tessora
