// Windows-1252, the single-byte code page of the settings file and the results text, to and from the
// UTF-8 the rest of the program uses.
//
// Every byte has a character: the five bytes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90,
// 0x9D) stand for the control characters U+0081, U+008D, U+008F, U+0090, U+009D, as the system's own
// conversion does, so DesDeCp1252 followed by ACp1252 gives back every byte string unchanged.
#pragma once

#include <string>
#include <string_view>

namespace tessora {

// UTF-8 to Windows-1252, one byte per character. A character the code page lacks becomes '?', and so
// does each byte of a malformed UTF-8 sequence (overlong forms, surrogates, values above U+10FFFF,
// stray or missing continuation bytes).
std::string ACp1252(std::string_view utf8);

// Windows-1252 to UTF-8; never fails.
std::string DesDeCp1252(std::string_view cp1252);

} // namespace tessora
