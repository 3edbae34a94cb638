#pragma once
// The letter test and the case lowering used by segmentation, search and marking.
// Characters are Windows-1252 bytes.

#include <array>
#include <string>
#include <string_view>

namespace quorvex {

// A, Z, a-z, À-Ö, Ø-ö, ø-ÿ. Œ œ Š š Ž ž Ÿ ª µ º × ÷ are not letters.
constexpr bool isLetter(unsigned char c) noexcept
{
    return (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A) || (c >= 0xC0 && c <= 0xD6)
        || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8);
}
constexpr bool isLetter(char c) noexcept { return isLetter(static_cast<unsigned char>(c)); }

// Latin-1 case pairs only: A-Z, À-Ö and Ø-Þ go to their small letters; nothing else changes.
constexpr unsigned char lowerByte(unsigned char c) noexcept
{
    return ((c >= 0x41 && c <= 0x5A) || (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xDE))
        ? static_cast<unsigned char>(c + 0x20)
        : c;
}
constexpr char lowerChar(char c) noexcept
{
    return static_cast<char>(lowerByte(static_cast<unsigned char>(c)));
}

// Which characters make words. Window is isLetter above; Extended also counts
// Š Œ Ž š œ ž Ÿ (0x8A 0x8C 0x8E 0x9A 0x9C 0x9E 0x9F) as letters.
enum class LetterSet { Window, Extended };

bool isLetterOf(LetterSet letters, unsigned char c) noexcept;
// The same test as a table, for loops over a whole text.
const std::array<bool, 256>& letterTable(LetterSet letters) noexcept;

std::string lowered(std::string_view text);

// Equality after lowering both sides.
bool equalsIgnoringCase(std::string_view a, std::string_view b) noexcept;

} // namespace quorvex
