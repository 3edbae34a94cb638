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

// The Latin-1 case pairs: A-Z, À-Ö and Ø-Þ go to their small letters; and the code page's own
// capitals Š Œ Ž Ÿ to š œ ž ÿ. Those four are in no word of the window's letters, so the Latin
// side lowers as the Latin-1 pairs alone would; a French word ("Œuvre") needs them.
constexpr unsigned char lowerByte(unsigned char c) noexcept
{
    if ((c >= 0x41 && c <= 0x5A) || (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xDE))
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
    }
}
constexpr char lowerChar(char c) noexcept
{
    return static_cast<char>(lowerByte(static_cast<unsigned char>(c)));
}

// Which characters make words. Window is isLetter above; Extended also counts
// Š Œ Ž š œ ž Ÿ (0x8A 0x8C 0x8E 0x9A 0x9C 0x9E 0x9F) as letters.
enum class LetterSet { Window, Extended };

// The letters of French words, on whichever side they are searched, filtered or marked: the
// extended set, so that "cœur", "sœurs" and "Œuvre" are whole words (æ Æ are letters of both).
// The Latin side keeps the window's letters.
constexpr LetterSet kFrenchLetters = LetterSet::Extended;

bool isLetterOf(LetterSet letters, unsigned char c) noexcept;
// The same test as a table, for loops over a whole text.
const std::array<bool, 256>& letterTable(LetterSet letters) noexcept;

std::string lowered(std::string_view text);

// Equality after lowering both sides.
bool equalsIgnoringCase(std::string_view a, std::string_view b) noexcept;

} // namespace quorvex
