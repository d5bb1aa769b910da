// The Windows-1252 conversion: the characters of the code page, the ones it lacks, malformed UTF-8, and
// every byte coming back unchanged.
#include "Cp1252.h"
#include "PerNom.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tessora {
namespace {

// UTF-8 and Windows-1252; `Tornada`: the Windows-1252 text converts back to the same UTF-8.
struct FilaCp1252 {
    const char* Nom;
    std::string Utf8, Cp1252;
    bool Tornada = true;
};

class Conversio : public testing::TestWithParam<FilaCp1252> {};

TEST_P(Conversio, ACp1252IDeTornada) {
    EXPECT_EQ(ACp1252(GetParam().Utf8), GetParam().Cp1252);
    EXPECT_EQ(DesDeCp1252(GetParam().Cp1252) == GetParam().Utf8, GetParam().Tornada);
}

// The unassigned bytes stand for the control characters of their number, as in the system's conversion.
// A malformed sequence gives one '?' per byte: an overlong form, a surrogate, a value above U+10FFFF, a
// stray continuation and a lead byte at the end.
using F = FilaCp1252;
INSTANTIATE_TEST_SUITE_P(
    Textos, Conversio,
    testing::Values(F{"Accents", "SÍ Castellà È É", "S\xCD Castell\xE0 \xC8 \xC9"},
                    F{"Franja80", "€Ÿ", "\x80\x9F"}, F{"NoAssignats", "\xC2\x81\xC2\x9D", "\x81\x9D"},
                    F{"SenseByte", "a日\U0001F3B5", "a??", false},
                    F{"Malformats", "\xC0\x80\xED\xA0\x80\xF4\x90\x80\x80\x80\xC3", "???????????", false}),
    proves::PerNom{});

TEST(Cp1252, CadaByteTornaIgual) {
    std::string tots;
    for (int byte = 0; byte < 256; ++byte)
        tots += static_cast<char>(byte);
    const std::string utf8 = DesDeCp1252(tots);
    // One character per byte: 256 bytes that do not continue a sequence.
    EXPECT_EQ(std::count_if(utf8.begin(), utf8.end(), [](char c) { return (c & 0xC0) != 0x80; }), 256);
    EXPECT_EQ(ACp1252(utf8), tots);
}

} // namespace
} // namespace tessora
