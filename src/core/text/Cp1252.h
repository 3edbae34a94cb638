#pragma once
// Conversions between the texts' Windows-1252 bytes and UTF-8 (what Qt, the terminal and
// file names speak).

#include <optional>
#include <string>
#include <string_view>

namespace quorvex {

// Every byte maps to one character; the five unassigned codes (81 8D 8F 90 9D) map to U+0081...
std::string cp1252ToUtf8(std::string_view bytes);
// The same, appended to `out`: a loop over many short pieces builds no string per piece.
void appendCp1252AsUtf8(std::string& out, std::string_view bytes);
char32_t cp1252ToUnicode(unsigned char byte) noexcept;

// One code point as UTF-8 (for naming a character in a message).
std::string unicodeToUtf8(char32_t cp);

// Unicode code point to Windows-1252, or nothing when the code page has no such character.
std::optional<unsigned char> unicodeToCp1252(char32_t cp) noexcept;

struct Utf8Conversion {
    std::string bytes;          // the Windows-1252 text, when ok
    bool ok = true;
    std::size_t badLine = 0;    // 1-based line of the first character that failed
    char32_t badChar = 0;       // that character (0 when the UTF-8 itself was malformed)
};

// UTF-8 to Windows-1252. Fails on malformed UTF-8 or on a character the code page lacks.
Utf8Conversion utf8ToCp1252(std::string_view utf8);

// UTF-8 or UTF-16 (without its byte-order mark) to Windows-1252 in the same buffer, which the
// code page never makes longer: one pass, no second copy of a large text. On failure the
// buffer holds no usable text and the result says where.
struct InPlaceConversion {
    bool ok = true;
    std::size_t badLine = 0;  // 1-based line of the first character that failed
    char32_t badChar = 0;     // that character (0 when the encoding itself was malformed)
};
InPlaceConversion utf8ToCp1252InPlace(std::string& text, std::size_t from);
InPlaceConversion utf16ToCp1252InPlace(std::string& text, std::size_t from, bool bigEndian);

// True when the bytes are well-formed UTF-8 (ASCII included).
bool isValidUtf8(std::string_view bytes) noexcept;

// What a user typed (a command's argument, a window's query) as Windows-1252 bytes: UTF-8
// converted, anything else taken byte for byte. Fails, naming the offending character
// (UTF-8), when the code page lacks one.
struct ArgumentConversion {
    std::string bytes;
    std::string missingChar;  // empty when the conversion succeeded
};
ArgumentConversion argumentToCp1252(std::string_view argument);

} // namespace quorvex
