// The settings file Tessora.ini: "[section]" headers and "key=value" entries in Windows-1252, lines
// ending in CR LF (a plain LF is read too).
//
// Names match exactly; spaces and tabs around names and values do not count. Only the first section of
// a name is looked at, and in it only the first entry of a key. Any other line (blank, a comment, a line
// without '=') is kept and otherwise ignored. A UTF-8 byte-order mark at the start of the file is
// skipped, and a rewrite keeps it.
//
// Reading never fails: a missing or unreadable file, or a missing section or key, gives the default.
// Writing changes one entry and keeps every other byte of the file: an existing entry is rewritten where
// it stands, a new key goes after the last entry of its section, a new section goes at the end of the
// file. The file is replaced as a whole or not at all (SubstitucioFitxer); a missing folder is created.
//
// The program keeps two settings there: keys "Veu aguda" and "Castellà" of section Tessora, each "SÍ"
// or "NO". Their names and values are written in UTF-8 below and stored in Windows-1252.
#pragma once

#include "CarpetesUsuari.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

namespace tessora {

inline constexpr std::string_view kNomArxiuIni = "Tessora.ini";
inline constexpr std::string_view kSeccioTessora = "Tessora";
inline constexpr std::string_view kClauVeuAguda = "Veu aguda";
inline constexpr std::string_view kClauCastella = "Castellà"; // stored with 0xE0
inline constexpr std::string_view kValorSi = "SÍ";            // stored as 'S', 0xCD
inline constexpr std::string_view kValorNo = "NO";
// A larger file is not a settings file of ours: it reads as absent and is never rewritten.
inline constexpr std::size_t kMidaMaximaArxiuIni = 16u << 20;

// Where the settings live: $XDG_CONFIG_HOME/Tessora.ini, or $HOME/.config/Tessora.ini when
// XDG_CONFIG_HOME is unset, empty or not an absolute path; without a usable HOME, the home folder of the
// user's account entry. Empty when there is no home folder at all (reads then give the defaults and
// writes fail).
std::filesystem::path CamiArxiuIni();

class ArxiuIni;

// "Veu aguda" of section Tessora (default "NO"): true only for exactly "SÍ".
bool LlegirVeuAguda(const ArxiuIni& arxiu);

// "Castellà" of section Tessora (default "SÍ"): true only for exactly "SÍ".
bool LlegirCastella(const ArxiuIni& arxiu);

// Writes "Veu aguda" and then "Castellà", each "SÍ" or "NO". Both writes are attempted; true when both
// succeeded. A write fails, leaving the file untouched, when the file exists but cannot be read whole
// (its content would be lost) or cannot be replaced.
bool EscriureConfiguracio(ArxiuIni& arxiu, bool veuAguda, bool castella);

class ArxiuIni {
public:
    explicit ArxiuIni(std::filesystem::path cami) : cami_(std::move(cami)) {}

    const std::filesystem::path& Cami() const { return cami_; }

private:
    friend bool LlegirVeuAguda(const ArxiuIni& arxiu);
    friend bool LlegirCastella(const ArxiuIni& arxiu);
    friend bool EscriureConfiguracio(ArxiuIni& arxiu, bool veuAguda, bool castella);

    // The value of `clau` in section `seccio`, or `perDefecte` when there is none. The file is read
    // afresh at every call.
    std::string LlegirCadena(std::string_view seccio, std::string_view clau,
                             std::string_view perDefecte) const;

    // Sets `clau` of section `seccio` to `valor`. An entry that already holds `valor` is left as it is
    // and the file is not rewritten. The names and values are the ones above: none holds a line break,
    // ']' or '='.
    bool EscriureCadena(std::string_view seccio, std::string_view clau, std::string_view valor);

    std::filesystem::path cami_;
};

} // namespace tessora
