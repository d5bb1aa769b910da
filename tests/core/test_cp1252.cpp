// The Windows-1252 conversion: the characters of the code page's own range, the ones it lacks, malformed
// UTF-8, and every byte coming back unchanged.
#include "Cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace tessora {
namespace {

struct FilaConversio {
    const char* Nom;
    std::string Utf8;
    std::string Cp1252;
};

void PrintTo(const FilaConversio& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class ConversioCp1252 : public testing::TestWithParam<FilaConversio> {};

TEST_P(ConversioCp1252, BothWays) {
    EXPECT_EQ(ACp1252(GetParam().Utf8), GetParam().Cp1252);
    EXPECT_EQ(DesDeCp1252(GetParam().Cp1252), GetParam().Utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Caracters, ConversioCp1252,
    testing::Values(
        FilaConversio{"Ascii", "Veu aguda=NO", "Veu aguda=NO"}, FilaConversio{"SiAccentuat", "SÍ", "S\xCD"},
        FilaConversio{"Castella", "Castellà", "Castell\xE0"},
        FilaConversio{"VocalsCatalanes", "È É ò", "\xC8 \xC9 \xF2"},
        FilaConversio{"Limits", std::string("\0 \x7F \xC2\xA0 \xC3\xBF", 9),
                      std::string("\0 \x7F \xA0 \xFF", 7)},
        FilaConversio{"FranjaDe80", "€ ‚ ƒ … ‰ Š Œ Ž ‘ ’ “ ” • – — ˜ ™ š œ ž Ÿ",
                      "\x80 \x82 \x83 \x85 \x89 \x8A \x8C \x8E \x91 \x92 \x93 \x94 \x95 \x96 \x97 "
                      "\x98 \x99 \x9A \x9C \x9E \x9F"},
        // The system's conversion gives the unassigned bytes the control character of their number.
        FilaConversio{"BytesSenseAssignar", "\xC2\x81 \xC2\x8D \xC2\x8F \xC2\x90 \xC2\x9D",
                      "\x81 \x8D \x8F \x90 \x9D"}),
    [](const testing::TestParamInfo<FilaConversio>& info) { return std::string(info.param.Nom); });

struct FilaSenseByte {
    const char* Nom;
    std::string Utf8;
    std::string Cp1252;
};

void PrintTo(const FilaSenseByte& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class ACp1252SenseByte : public testing::TestWithParam<FilaSenseByte> {};

TEST_P(ACp1252SenseByte, BecomesQuestionMarks) {
    EXPECT_EQ(ACp1252(GetParam().Utf8), GetParam().Cp1252);
}

INSTANTIATE_TEST_SUITE_P(Casos, ACp1252SenseByte,
                         testing::Values(FilaSenseByte{"Cjk", "a日本b", "a??b"},
                                         FilaSenseByte{"FourBytes", "x\xF0\x9F\x8E\xB5y", "x?y"},
                                         FilaSenseByte{"ControlAssignatA80", "\xC2\x80\xC2\x9F", "??"},
                                         FilaSenseByte{"LatinExtes", "ĀŁő", "???"},
                                         FilaSenseByte{"LeadWithoutContinuation", "a\xC3", "a?"},
                                         FilaSenseByte{"StrayContinuation", "\x80\xBF", "??"},
                                         FilaSenseByte{"Overlong", "\xC0\x80\xE0\x80\x80", "?????"},
                                         FilaSenseByte{"Surrogate", "\xED\xA0\x80", "???"},
                                         FilaSenseByte{"AboveUnicode", "\xF4\x90\x80\x80", "????"},
                                         FilaSenseByte{"CutThreeByteSequence", "\xE2\x82 ", "?? "},
                                         FilaSenseByte{"InvalidLeadBytes", "\xF5\xFF", "??"}),
                         [](const testing::TestParamInfo<FilaSenseByte>& info) {
                             return std::string(info.param.Nom);
                         });

TEST(Cp1252, EveryByteComesBackUnchanged) {
    std::string tots;
    for (int byte = 0; byte < 256; ++byte)
        tots += static_cast<char>(byte);

    const std::string utf8 = DesDeCp1252(tots);

    // One character per byte: 256 bytes that do not continue a sequence.
    std::size_t caracters = 0;
    for (const char c : utf8)
        caracters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    EXPECT_EQ(caracters, 256u);
    EXPECT_EQ(ACp1252(utf8), tots);
}

} // namespace
} // namespace tessora
