// Annotations of a recording: its labelled intervals, read from a Praat TextGrid or from a table.
//
// A table holds one interval a line: start, end (seconds, decimal point ".", as C writes numbers:
// "1.25", "3", "1e-3"), label. In a TSV the three fields are separated by tabs and taken as they stand
// (a quote is an ordinary character); in a CSV by commas, a field may be enclosed in double quotes
// (RFC 4180: `""` inside is one quote; commas and line ends inside are kept). UTF-8 (with or without a
// byte-order mark) or UTF-16 with a byte-order mark; LF or CR LF line ends; blank lines are skipped. The
// first line is a header, and is skipped, when its first field begins with a letter ("start", "tmin");
// otherwise every line is an interval. Each interval must end after it starts.
//
// From a TextGrid, the intervals of one interval tier whose label holds more than blanks: Praat's
// empty intervals are the unlabelled time between them. A table's line with an empty label is an
// interval all the same (scored as an empty label).
#pragma once

#include "TextGrid.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tessora {

struct IntervalAnotat {
    double Inici = 0.0;   // onset, s
    double Fi = 0.0;      // offset, s
    std::string Etiqueta; // UTF-8, as written
    bool operator==(const IntervalAnotat&) const = default;
};

enum class FormatAnotacions { TextGrid, Tsv, Csv };

// By the name's extension, whatever its case: ".TextGrid" a grid, ".csv" a CSV, anything else a TSV.
FormatAnotacions FormatPerNom(const std::filesystem::path& cami);

// The intervals of the tier named `capa` (the first interval tier of that name; the first interval tier
// of the grid when `capa` is empty), in the grid's order. An error (line 0) when there is no such
// tier; `fitxer` names the file in it.
std::variant<std::vector<IntervalAnotat>, ErrorFitxer>
IntervalsCapa(const TextGrid& graella, std::string_view capa, const std::string& fitxer);

// The intervals of the bytes of an annotation file of `format`, in the file's order; `capa` as above,
// for a TextGrid only. `fitxer` names the file in an error.
std::variant<std::vector<IntervalAnotat>, ErrorFitxer> InterpretarAnotacions(std::string_view bytes,
                                                                             FormatAnotacions format,
                                                                             const std::string& fitxer,
                                                                             std::string_view capa = {});
// The same for the file at `cami`, in the format its name gives (FormatPerNom).
std::variant<std::vector<IntervalAnotat>, ErrorFitxer> LlegirAnotacions(const std::filesystem::path& cami,
                                                                        std::string_view capa = {});

// A line of a delimited table: its fields and the line it starts on (from 1).
struct RegistreTaula {
    std::int64_t Linia = 0;
    std::vector<std::string> Camps;
};

// The lines of a table (UTF-8, as DecodificarText gives it) split at `separador`, with CSV quoting when
// `cometes` (see above); a CR before a line end is dropped, blank lines are skipped. Refused: a quoted
// field left open (its line), text between a closing quote and the next separator.
std::variant<std::vector<RegistreTaula>, ErrorFitxer>
LlegirRegistres(std::string_view text, char separador, bool cometes, const std::string& fitxer);

// A number of a table: the whole field, blanks around it aside, as std::from_chars reads it; finite.
std::optional<double> NombreCamp(std::string_view camp);

} // namespace tessora
