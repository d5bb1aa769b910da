#include "Cp1252.h"

#include <array>
#include <cstddef>
#include <optional>

namespace tessora {

namespace {

// Characters of bytes 0x80..0x9F; the unassigned ones keep their own number.
constexpr std::array<char32_t, 32> kFranja80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AfegirUtf8(std::string& text, char32_t c) {
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        // Every character of the code page lies below U+10000.
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// One character decoded from UTF-8: none for an invalid sequence, which then counts as its first byte
// alone.
struct CaracterUtf8 {
    std::optional<char32_t> Caracter;
    std::size_t Mida = 1; // bytes taken
};

CaracterUtf8 LlegirUtf8(std::string_view text) {
    const auto primer = static_cast<unsigned char>(text.front());
    if (primer < 0x80) return {primer};
    std::size_t continuacions = 0;
    char32_t c = 0;
    char32_t minim = 0;
    if (primer >= 0xC2 && primer <= 0xDF) {
        continuacions = 1;
        c = primer & 0x1F;
        minim = 0x80;
    } else if (primer >= 0xE0 && primer <= 0xEF) {
        continuacions = 2;
        c = primer & 0x0F;
        minim = 0x800;
    } else if (primer >= 0xF0 && primer <= 0xF4) {
        continuacions = 3;
        c = primer & 0x07;
        minim = 0x10000;
    } else {
        return {};
    }
    if (text.size() <= continuacions) return {};
    for (std::size_t i = 1; i <= continuacions; ++i) {
        const auto seguent = static_cast<unsigned char>(text[i]);
        if ((seguent & 0xC0) != 0x80) return {};
        c = (c << 6) | (seguent & 0x3F);
    }
    if (c < minim || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {};
    return {c, continuacions + 1};
}

// The Windows-1252 byte of a character, if the code page has one.
std::optional<unsigned char> ByteCp1252(char32_t caracter) {
    if (caracter < 0x80 || (caracter >= 0xA0 && caracter <= 0xFF))
        return static_cast<unsigned char>(caracter);
    for (std::size_t i = 0; i < kFranja80.size(); ++i)
        if (kFranja80[i] == caracter) return static_cast<unsigned char>(0x80 + i);
    return std::nullopt;
}

// The character a Windows-1252 byte stands for.
char32_t CaracterCp1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) return kFranja80[byte - 0x80u];
    return byte;
}

} // namespace

std::string ACp1252(std::string_view utf8) {
    std::string resultat;
    resultat.reserve(utf8.size());
    while (!utf8.empty()) {
        const CaracterUtf8 c = LlegirUtf8(utf8);
        const std::optional<unsigned char> byte = c.Caracter ? ByteCp1252(*c.Caracter) : std::nullopt;
        resultat += byte ? static_cast<char>(*byte) : '?';
        utf8.remove_prefix(c.Mida);
    }
    return resultat;
}

std::string DesDeCp1252(std::string_view cp1252) {
    std::string resultat;
    resultat.reserve(cp1252.size() * 2);
    for (const char byte : cp1252)
        AfegirUtf8(resultat, CaracterCp1252(static_cast<unsigned char>(byte)));
    return resultat;
}

} // namespace tessora
