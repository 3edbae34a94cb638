#include "lexicon/LatinSpelling.h"

#include "text/Utf8.h"

#include <algorithm>

namespace quorvex::lexicon {

namespace {

bool isCombiningMark(char32_t cp) noexcept { return cp >= 0x300 && cp <= 0x36F; }

// The plain letters a character stands for, keeping case: nullptr when it is none.
// Only letters a Latin spelling can carry; anything else makes the spelling unusable.
const char* plainLetters(char32_t cp) noexcept
{
    if (cp < 0x80)
        return nullptr;  // ASCII is handled by the callers
    static const char* const latin1[64] = {
        "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I",
        "D", "N", "O", "O", "O", "O", "O", nullptr, "O", "U", "U", "U", "U", "Y", "TH", "ss",
        "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i",
        "d", "n", "o", "o", "o", "o", "o", nullptr, "o", "u", "u", "u", "u", "y", "th", "y"};
    if (cp >= 0xC0 && cp <= 0xFF)
        return latin1[cp - 0xC0];
    // Latin Extended-A: the vowels with macron, breve, ogonek, tilde, dot; capital first.
    struct Range {
        char32_t from, to;
        const char* capital;
        const char* small;
    };
    static const Range ranges[] = {
        {0x100, 0x105, "A", "a"}, {0x112, 0x11B, "E", "e"}, {0x128, 0x12F, "I", "i"},
        {0x14C, 0x151, "O", "o"}, {0x168, 0x173, "U", "u"}, {0x232, 0x233, "Y", "y"},
        {0x1EE4, 0x1EE5, "U", "u"},  // ụ
    };
    for (const Range& r : ranges)
        if (cp >= r.from && cp <= r.to)
            return (cp - r.from) % 2 == 0 ? r.capital : r.small;
    switch (cp) {
    case 0x152: return "OE";
    case 0x153: return "oe";
    case 0x160: return "S";
    case 0x161: return "s";
    case 0x17D: return "Z";
    case 0x17E: return "z";
    case 0x178: return "Y";
    case 0x40E: return "Y";  // Ў, a y with breve in the lexicon
    case 0x45E: return "y";
    case 0x406: return "I";  // Cyrillic look-alikes typed for Latin letters
    case 0x456: return "i";
    case 0x405: return "S";
    case 0x455: return "s";
    default: return nullptr;
    }
}

// Quantity marks only: the letters a reader keeps (é, ç...) stay as written.
bool isQuantityMarked(char32_t cp) noexcept
{
    return (cp >= 0x100 && cp <= 0x101) || (cp >= 0x102 && cp <= 0x103)
        || (cp >= 0x112 && cp <= 0x115) || (cp >= 0x12A && cp <= 0x12D)
        || (cp >= 0x14C && cp <= 0x14F) || (cp >= 0x16A && cp <= 0x16D)
        || cp == 0x232 || cp == 0x233 || cp == 0x40E || cp == 0x45E || cp == 0x1EE4
        || cp == 0x1EE5 || cp == 0xC4 || cp == 0xE4 || cp == 0xCB || cp == 0xEB
        || cp == 0xCF || cp == 0xEF || cp == 0x406 || cp == 0x456 || cp == 0x405
        || cp == 0x455;
}

} // namespace

bool nextCodePoint(std::string_view s, std::size_t& pos, char32_t& cp) noexcept
{
    const Utf8Char c = readUtf8(s, pos);
    if (!c.whole)
        return false;
    cp = c.cp;
    pos += c.length;
    return true;
}

namespace {

// What each ASCII byte folds to: 0 for anything outside the letters.
struct AsciiFolding {
    char to[128] = {};
    constexpr AsciiFolding()
    {
        for (char c = 'a'; c <= 'z'; ++c) {
            to[static_cast<unsigned char>(c)] = c;
            to[static_cast<unsigned char>(c - 'a' + 'A')] = c;
        }
        to[int{'j'}] = to[int{'J'}] = 'i';
        to[int{'v'}] = to[int{'V'}] = 'u';
    }
};
constexpr AsciiFolding kAscii;

} // namespace

bool foldSpellingInto(std::string_view utf8, std::string& letters, char32_t& badChar)
{
    letters.clear();
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        // Most of the lexicon is plain ASCII: fold it byte by byte, without decoding.
        const auto byte = static_cast<unsigned char>(utf8[pos]);
        if (byte < 0x80) {
            const char c = kAscii.to[byte];
            if (c == 0) {
                badChar = byte;
                return false;
            }
            letters.push_back(c);
            ++pos;
            continue;
        }
        char32_t cp;
        if (!nextCodePoint(utf8, pos, cp)) {
            badChar = 0;
            return false;
        }
        if (isCombiningMark(cp))
            continue;
        const char* plain = plainLetters(cp);
        if (plain == nullptr) {
            badChar = cp;
            return false;
        }
        for (const char* p = plain; *p; ++p)
            letters.push_back(kAscii.to[static_cast<unsigned char>(*p)]);
    }
    return true;
}

FoldedSpelling foldSpelling(std::string_view utf8)
{
    FoldedSpelling result;
    result.letters.reserve(utf8.size());
    result.ok = foldSpellingInto(utf8, result.letters, result.badChar);
    if (result.ok)
        result.badChar = 0;
    return result;
}

std::string withoutQuantities(std::string_view utf8)
{
    if (std::all_of(utf8.begin(), utf8.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(utf8);
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        if (static_cast<unsigned char>(utf8[pos]) < 0x80) {
            out.push_back(utf8[pos++]);
            continue;
        }
        char32_t cp;
        if (!nextCodePoint(utf8, pos, cp)) {
            out.push_back(utf8[start]);
            pos = start + 1;
            continue;
        }
        if (cp == 0x304 || cp == 0x306)
            continue;
        if (isQuantityMarked(cp))
            out += plainLetters(cp);
        else
            out.append(utf8.substr(start, pos - start));
    }
    return out;
}

} // namespace quorvex::lexicon
