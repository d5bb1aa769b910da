// The Windows-1252 conversion: the characters of the code page, the ones it lacks, malformed UTF-8, and
// every byte coming back unchanged.
#include "Cp1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace tessora {
namespace {

using namespace std::string_literals;

TEST(Cp1252, BothWays) {
    // UTF-8 and Windows-1252. The unassigned bytes stand for the control characters of their number, as in
    // the system's conversion.
    const std::pair<std::string, std::string> files[] = {
        {"Veu aguda=NO", "Veu aguda=NO"},
        {"SÍ Castellà È É ò", "S\xCD Castell\xE0 \xC8 \xC9 \xF2"},
        {"\0 \x7F \xC2\xA0 \xC3\xBF"s, "\0 \x7F \xA0 \xFF"s},
        {"€‚ƒ…‰ŠŒŽ‘’“”•–—˜™šœžŸ",
         "\x80\x82\x83\x85\x89\x8A\x8C\x8E\x91\x92\x93\x94\x95\x96\x97\x98\x99\x9A\x9C\x9E\x9F"},
        {"\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D", "\x81\x8D\x8F\x90\x9D"}};
    for (const auto& [utf8, cp1252] : files) {
        EXPECT_EQ(ACp1252(utf8), cp1252);
        EXPECT_EQ(DesDeCp1252(cp1252), utf8);
    }
}

TEST(Cp1252, CharactersWithoutAByteAndEachByteOfAMalformedSequenceBecomeQuestionMarks) {
    // Characters the code page lacks, among them the controls whose bytes hold other characters; a lead
    // byte at the end; stray continuations, bytes that never lead and a cut sequence; an overlong form, a
    // surrogate and a value above U+10FFFF.
    const std::pair<std::string, std::string> files[] = {
        {"a日Ā\U0001F3B5b\xC2\x80\xC2\x9F", "a???b??"},
        {"a\xC3", "a?"},
        {"\x80\xBF\xF5\xFF\xE2\x82 ", "?????? "},
        {"\xC0\x80\xE0\x80\x80\xED\xA0\x80\xF4\x90\x80\x80", "????????????"}};
    for (const auto& [utf8, cp1252] : files)
        EXPECT_EQ(ACp1252(utf8), cp1252) << utf8;
}

TEST(Cp1252, EveryByteComesBackUnchanged) {
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
