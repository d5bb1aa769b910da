// The recogniser scored against annotations.
//
// For each annotated interval [Inici, Fi) of a recording the answer is the first analysis, in order of
// blocks, that decided a vowel and whose block starts inside it: Inici <= TempsBloc(Bloc) < Fi. When
// there is none, the interval has no answer. Every analysis that decided a vowel and starts inside no
// interval (scored or not) is an insertion; the later analyses inside an interval are neither, and an
// analysis that decided no vowel is never an answer nor an insertion.
//
// Labels name vowels of the language's set (the experiment's: Catalan A AE È É I O U, Spanish A E I O U)
// whatever their case and the blanks around them. Accented forms of a vowel that the set holds once are
// that vowel: À Á are A, Ì Í Ï are I, Ò Ó are O, Ù Ú Ü are U in both languages, È É are E in Spanish.
// In Catalan È and É are told apart as written, and a plain E (which could be either) names none. An
// interval whose label is empty or names no vowel of the set is not scored: it is counted and listed.
//
// Scoring gives one row per interval and one per insertion (FilaAvaluacio); the confusion table counts
// rows, so the rows of several recordings, or of parts of a corpus scored on several machines and
// carried in the per-interval CSV, pool into the table of the whole.
#pragma once

#include "Anotacions.h"
#include "Experiment.h"
#include "GraellaTessora.h"
#include "TextsIdioma.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tessora {

// The vowel `etiqueta` names: 1..N, its place in VocalsIdioma(idioma); 0 when it names none.
int VocalEtiqueta(std::string_view etiqueta, Idioma idioma);

// An annotated interval and its answer, or an insertion.
struct FilaAvaluacio {
    std::string Fitxer;                     // the recording, as the caller names it
    std::optional<IntervalAnotat> Interval; // none: an insertion
    std::optional<AnalisiBloc> Resposta; // the answering analysis; none: no answer (never for an insertion)
    bool operator==(const FilaAvaluacio&) const = default;
};

// The rows of one recording: one per interval of `intervals`, in their order, then one per insertion,
// in order of blocks. `analisis` in any order; see the top for what answers.
std::vector<FilaAvaluacio> Avaluar(const std::string& fitxer, std::span<const IntervalAnotat> intervals,
                                   std::span<const AnalisiBloc> analisis);

// The confusion table of rows, laid out as the experiment's grid: a column per labelled vowel, a row per
// answer.
struct TaulaAvaluacio {
    Idioma Llengua = Idioma::Catala;
    int N = 0; // vowels of the set
    // [i][j]: scored intervals labelled vowel i (1..N) whose answer is vowel j (1..N), or none (j = 0).
    std::array<std::array<std::int64_t, kMaximVocalsExperiment + 1>, kMaximVocalsExperiment + 1> Confusio{};
    std::int64_t Puntuats = 0;      // scored intervals
    std::int64_t Encerts = 0;       // of them, answered with their own vowel
    std::int64_t SenseResposta = 0; // of them, without an answer
    std::int64_t Insercions = 0;
    std::vector<FilaAvaluacio> NoPuntuats; // intervals with an empty or unknown label, in the rows' order

    std::int64_t Etiquetats(int vocal) const; // scored intervals labelled `vocal` (1..N)
};

// The table of `files` (of one recording or many) in the vowel set of `idioma`. An answer that names no
// vowel of the set counts as none.
TaulaAvaluacio Comptar(std::span<const FilaAvaluacio> files, Idioma idioma);

// The table as plain text for a terminal, LF line ends, columns aligned with spaces (the first to the
// left, the rest to the right), in the texts of its language. Rows 0..N+2 of the experiment's grid,
// with the row of intervals without an answer (AvaluacioSenseResposta) before "% enc.": the header row
// (vowels, "total", "encerts", "% enc."), "Surt" (intervals labelled with each vowel, then scored,
// hits and the overall percentage, as TextPercentatgeEncerts), a row per answer vowel, the row without
// answer, and "% enc." per vowel (PercentatgeVocal). Then "insercions: K", "no puntuats: M" and, one
// per line, each interval not scored: "  FILE ONSET-OFFSET: etiqueta buida" or
// "  FILE ONSET-OFFSET: etiqueta desconeguda "LABEL"" (times as NombrePraat writes them).
std::string TextTaulaAvaluacio(const TaulaAvaluacio& taula);

// The cells of that table, rows 0..N+3 of N + 4 columns each, as TextTaulaAvaluacio writes them.
std::vector<std::vector<std::string>> CellesTaulaAvaluacio(const TaulaAvaluacio& taula);

// Rows of cells as plain text for a terminal: LF line ends, columns aligned with spaces (the first to the
// left, the rest to the right, two spaces between), no blanks at the end of a line.
std::string TextAlineat(const std::vector<std::vector<std::string>>& celles);

// The per-interval CSV: UTF-8, LF line ends, comma-separated, RFC 4180 quoting where a field holds a
// comma, a quote or a line end. Columns: the recording, onset and offset (s, as NombrePraat writes
// them; both empty for an insertion), the label as written (empty for an insertion), the answer's vowel
// and its block, pitch, F1 (as the data line prints it) and S2F (all five empty without an answer).
inline constexpr std::string_view kCapcaleraCsvAvaluacio =
    "file,onset,offset,label,answer,block,pitch,F1,S2F";

// A CSV field: as it is, or in double quotes (a quote inside doubled) when it holds a comma, a quote or a
// line end.
std::string CampCsv(std::string_view camp);

// One row as a line of that CSV, with its '\n'; the header line is kCapcaleraCsvAvaluacio and '\n'.
std::string LiniaCsvAvaluacio(const FilaAvaluacio& fila);

// The rows of such a CSV's bytes, in order (encodings as DecodificarText takes them). It must begin with
// the header line; further header lines (parts joined with cat) are skipped. Refused with the line:
// another number of fields, a time or number that does not read, an onset not before its offset, an
// insertion with a label or without an answer, an answer that is not exactly a vowel of `idioma`'s set
// (rows made in the other language). `fitxer` names the file in the error.
std::variant<std::vector<FilaAvaluacio>, ErrorFitxer>
InterpretarCsvAvaluacio(std::string_view bytes, Idioma idioma, const std::string& fitxer);
// The same for the file at `cami` (see LlegirFitxerText).
std::variant<std::vector<FilaAvaluacio>, ErrorFitxer> LlegirCsvAvaluacio(const std::filesystem::path& cami,
                                                                         Idioma idioma);

} // namespace tessora
