// The settings file Tessora.ini, read and written as the system's profile-file functions do it.
//
// The file is text in Windows-1252: lines of "[section]" headers and "key=value" entries. Section and
// key names match without regard to letter case (accented capitals of the code page included); values
// come back as stored. Blanks around names and values do not count. Lines may end in CR LF, LF or a
// lone CR; lines this class writes end in CR LF. A line whose first non-blank character is ';' is a
// comment. Only the first section of a name is looked at, and in it only the first entry of a key.
//
// Reading never fails: a missing or unreadable file, a missing section or key, or an entry without '='
// gives the default. Writing changes one entry and keeps every other byte of the file: an existing
// entry is rewritten where it stands, a new key goes after the last entry of its section, a new section
// goes at the end of the file. The new file is written beside the old one and renamed over it only when
// complete, so a failed write leaves the old file as it was; a missing folder is created.
//
// Names and values cross this interface as UTF-8 and are stored in Windows-1252; a character the code
// page lacks is stored as '?'.
#pragma once

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
// Characters of the buffer a value is read into, its terminating zero included.
inline constexpr std::size_t kMidaBufferIni = 50;
// A larger file is not a settings file of ours: it reads as absent and is never rewritten.
inline constexpr std::size_t kMidaMaximaArxiuIni = 16u << 20;

// Where the settings live: $XDG_CONFIG_HOME/Tessora.ini, or $HOME/.config/Tessora.ini when
// XDG_CONFIG_HOME is unset, empty or not an absolute path; without a usable HOME, the home folder of the
// user's account entry. Empty when there is no home folder at all (reads then give the defaults and
// writes fail).
std::filesystem::path CamiArxiuIni();

class ArxiuIni {
public:
    explicit ArxiuIni(std::filesystem::path cami) : cami_(std::move(cami)) {}

    const std::filesystem::path& Cami() const { return cami_; }

    // The value of `clau` in section `seccio`, or `perDefecte` (without its trailing blanks) when there
    // is none. A value enclosed in a matching pair of double or single quotes loses them, and a value is
    // cut at a zero byte. The result holds at most midaBuffer - 1 characters of the file (the rest is cut
    // off); midaBuffer 0 gives an empty string. An empty section or key name gives the default. The
    // file is read afresh at every call.
    std::string LlegirCadena(std::string_view seccio, std::string_view clau, std::string_view perDefecte,
                             std::size_t midaBuffer = kMidaBufferIni) const;

    // Sets `clau` of section `seccio` to `valor` (stored as given; blanks around it do not survive a
    // read). Blanks around the names are dropped. An entry that already holds exactly `valor` is left
    // as it is and the file is not rewritten. False, with the file untouched, when the write fails,
    // when the file exists but cannot be read whole (its content would be lost), and for names or values
    // the file cannot hold: an empty name, a line break or zero byte anywhere, ']' in the section name,
    // '=' in the key or a key starting with '[' or ';'.
    bool EscriureCadena(std::string_view seccio, std::string_view clau, std::string_view valor);

private:
    std::filesystem::path cami_;
};

// "Veu aguda" of section Tessora (default "NO"): true only for exactly "SÍ".
bool LlegirVeuAguda(const ArxiuIni& arxiu);

// "Castellà" of section Tessora (default "SÍ"): true only for exactly "SÍ".
bool LlegirCastella(const ArxiuIni& arxiu);

// Writes "Veu aguda" and then "Castellà", each "SÍ" or "NO". Both writes are attempted; true when both
// succeeded.
bool EscriureConfiguracio(ArxiuIni& arxiu, bool veuAguda, bool castella);

} // namespace tessora
