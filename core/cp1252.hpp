#pragma once
// Windows-1252, the one-byte code page of the record files and of typed characters.
// A fixed table: 0x80-0x9F differ from Latin-1; the five bytes the code page leaves
// undefined map to the C1 controls of the same value, so every byte round-trips.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace core {

// The Unicode character of a Windows-1252 byte.
char32_t daWindows1252(unsigned char byte);

// The Windows-1252 byte of a Unicode character, if the code page has it.
std::optional<unsigned char> inWindows1252(char32_t carattere);

// Bytes of the code page to UTF-8 text, one character per byte.
std::string windows1252InUtf8(std::string_view byte);

// UTF-8 text to bytes of the code page; a character the code page lacks, or a malformed
// UTF-8 sequence, becomes "?".
std::string utf8InWindows1252(std::string_view testo);

// Whether the text is well-formed UTF-8: no stray or missing continuation bytes, no overlong
// forms, no surrogates, nothing beyond U+10FFFF.
bool utf8Valido(std::string_view testo);

} // namespace core
