// Praat's TextGrid: time-aligned labels, the common format of phonetic annotation.
//
// A grid spans [Inici, Fi] seconds and holds tiers of two kinds: interval tiers (Praat's "IntervalTier":
// labelled intervals that follow one another) and point tiers (Praat's "TextTier": labelled instants).
// The writer gives exactly the bytes Praat itself saves with "Save as text file" under the text-writing
// preference "UTF-8": the long text format, LF line ends, no byte-order mark. The reader takes what Praat
// saves: the long form ("Save as text file") and the short one ("Save as short text file", whose header
// older Praat versions named "ooTextFile short"), in UTF-8 with or without a byte-order mark or in UTF-16
// (big- or little-endian) with one, with LF or CR LF line ends. Anything else (Praat's binary and
// chronological forms among it) is refused with the file, the line and the reason; nothing is guessed.
//
// Texts in memory are UTF-8. Times are seconds, as Praat stores them (double).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tessora {

// Why a file that the person named cannot be used.
struct ErrorFitxer {
    std::string Fitxer;     // as the caller named it
    std::int64_t Linia = 0; // 1-based line of the fault; 0 when it concerns the whole file
    std::string Motiu;      // English, lower case, no final full stop
    // "FILE:LINE: reason", or "FILE: reason" without a line: one line for standard error.
    std::string Text() const;
};

// The text of a file's bytes, as UTF-8 without a byte-order mark. Taken: UTF-8 (its byte-order mark
// dropped), and UTF-16 big- or little-endian opened by its byte-order mark. Refused, with the line of
// the fault: bytes that are not UTF-8 (a file saved as ISO Latin-1, say), UTF-16 without a byte-order
// mark (known by a NUL byte), a broken UTF-16 pair, a NUL character. `fitxer` only names the file in
// the error.
std::variant<std::string, ErrorFitxer> DecodificarText(std::string_view bytes, const std::string& fitxer);

// The whole regular file at `cami`, decoded as above. Refused also: a file that cannot be opened (the
// system's reason), a folder, pipe or device, a file larger than kMidaMaximaText.
inline constexpr std::uint64_t kMidaMaximaText = 512ull << 20;
std::variant<std::string, ErrorFitxer> LlegirFitxerText(const std::filesystem::path& cami);

struct IntervalTextGrid {
    double Inici = 0.0; // xmin, s
    double Fi = 0.0;    // xmax, s
    std::string Text;
    bool operator==(const IntervalTextGrid&) const = default;
};

struct PuntTextGrid {
    double Temps = 0.0; // number, s
    std::string Marca;  // mark
    bool operator==(const PuntTextGrid&) const = default;
};

struct CapaTextGrid {
    enum class Tipus { Intervals, Punts }; // "IntervalTier", "TextTier"
    Tipus Classe = Tipus::Intervals;
    std::string Nom;
    double Inici = 0.0; // s
    double Fi = 0.0;    // s
    // Intervals only: in time order, each starting where the last ends.
    std::vector<IntervalTextGrid> Intervals;
    std::vector<PuntTextGrid> Punts; // Punts only: in increasing time
    bool operator==(const CapaTextGrid&) const = default;
};

struct TextGrid {
    double Inici = 0.0; // s
    double Fi = 0.0;    // s
    std::vector<CapaTextGrid> Capes;
    bool operator==(const TextGrid&) const = default;
};

// A number as Praat writes it: the shortest of 15, 16 or 17 significant digits (printf's %g) that
// reads back as the same double ("0.1", "0.3333333333333333", "1e-05"). For finite values.
std::string NombrePraat(double valor);

// The bytes of `graella` in Praat's long text format, UTF-8. Labels are written as given (`"` doubled),
// so they must be UTF-8; the order of intervals and points is written as given (Praat expects the
// orders stated above), and the tiers' and grid's times likewise.
std::string EscriureTextGrid(const TextGrid& graella);

// The grid held by the bytes of a TextGrid file (any form and encoding stated at the top). `fitxer` only
// names the file in the error.
std::variant<TextGrid, ErrorFitxer> InterpretarTextGrid(std::string_view bytes, const std::string& fitxer);
// The same for the file at `cami` (see LlegirFitxerText for what the file itself may be).
std::variant<TextGrid, ErrorFitxer> LlegirTextGrid(const std::filesystem::path& cami);

} // namespace tessora
