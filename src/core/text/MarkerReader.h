#pragma once
// The reference markers of a text, read character by character. Everything that steps
// through a text by its markers (cutting it into words, finding passages, the viewer's
// scan, checking a pair's markers) reads them here, so they cannot disagree:
//   - "[" starts a marker at that "[" and opens a group;
//   - inside a group every character extends the marker, and "]" closes the group;
//   - a "]" outside a group is a stray one, counted after the marker.
// Letters never change the reference: inside brackets they are words of their own, so the
// reference in force (its key) is the marker without its letters, then the stray "]". The
// marker as written keeps them.
//
// The reader keeps offsets into the text, never a growing string, and a running hash of the
// key, so equal keys are found in any text without building them.

#include "text/Letters.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace quorvex {

// The reference in force, as parts of the text it was read from.
struct ReferenceParts {
    std::uint32_t markerOffset = 0;  // the "[" (0 with an empty marker)
    std::uint32_t markerLength = 0;  // up to the last non-letter taken, letters included
    std::uint32_t keyLength = 0;     // the marker's non-letters
    std::uint32_t strays = 0;        // "]" after the closed marker

    // The length of the key: what the grid shows as the reference.
    std::size_t textLength() const noexcept { return std::size_t(keyLength) + strays; }
    bool empty() const noexcept { return markerLength == 0 && strays == 0; }
};

// The first "[" or "]" in [p, end), or end. Outside groups nothing else changes the
// reference, and markers are a few bytes in a hundred: eight bytes are tested at a time.
inline const char* nextBracket(const char* p, const char* end) noexcept
{
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t highs = 0x8080808080808080ull;
    const auto hasZeroByte = [](std::uint64_t x) { return (x - ones) & ~x & highs; };
    while (end - p >= 8) {
        std::uint64_t v;
        std::memcpy(&v, p, sizeof v);
        if (hasZeroByte(v ^ (ones * '[')) | hasZeroByte(v ^ (ones * ']')))
            break;
        p += 8;
    }
    while (p < end && *p != '[' && *p != ']')
        ++p;
    return p;
}

// Calls `f(offset, word)` for each run of bytes that `isLetter` takes in a passage, a
// bracketed marker (up to its "]", or the end) skipped whole: what a passage says, without
// its references. Stops when `f` returns false.
template <typename IsLetter, typename F>
void forEachWordOutsideMarkers(std::string_view passage, IsLetter&& isLetter, F&& f)
{
    const std::size_t n = passage.size();
    std::size_t i = 0;
    while (i < n) {
        const auto c = static_cast<unsigned char>(passage[i]);
        if (c == '[') {
            const std::size_t close = passage.find(']', i);
            i = close == std::string_view::npos ? n : close + 1;
            continue;
        }
        if (!isLetter(c)) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < n && isLetter(static_cast<unsigned char>(passage[i])))
            ++i;
        if (!f(start, passage.substr(start, i - start)))
            return;
    }
}

class MarkerReader {
public:
    explicit MarkerReader(LetterSet letters = LetterSet::Window) noexcept
        : m_letters(&letterTable(letters))
    {
    }

    // Applies the character at `offset`. Returns true when the key changed, which every "["
    // and "]" and every non-letter of a group does.
    bool feed(unsigned char c, std::size_t offset) noexcept
    {
        if (c == '[') {
            m_parts = ReferenceParts{static_cast<std::uint32_t>(offset), 1, 1, 0};
            m_hash = step(kSeed, c);
            m_inGroup = true;
            return true;
        }
        if (m_inGroup) {
            if ((*m_letters)[c])
                return false;
            m_parts.markerLength = static_cast<std::uint32_t>(offset + 1 - m_parts.markerOffset);
            ++m_parts.keyLength;
            m_hash = step(m_hash, c);
            if (c == ']')
                m_inGroup = false;
            return true;
        }
        if (c == ']') {
            ++m_parts.strays;
            return true;
        }
        return false;
    }

    // True when `c` leaves everything as it is: the bulk of a text, which a scan may skip
    // up to the next bracket.
    bool leavesUnchanged(unsigned char c) const noexcept
    {
        return !m_inGroup && c != '[' && c != ']';
    }

    const ReferenceParts& parts() const noexcept { return m_parts; }
    bool inGroup() const noexcept { return m_inGroup; }
    // Equal keys give equal hashes, whatever text they come from.
    std::uint64_t hash() const noexcept { return combine(m_hash, m_parts.strays); }

    // The hash a reader would have with `reference` as its key, and whether any could: a
    // key is empty or starts with "[", holds no letter, no "[" after its first byte and no
    // "]" before its end but the one closing the group, then only stray "]".
    static bool hashOfKey(std::string_view reference, LetterSet letters, std::uint64_t& hash) noexcept;

private:
    static constexpr std::uint64_t kSeed = 0xcbf29ce484222325ull;  // FNV-1a
    static constexpr std::uint64_t kEmpty = 0;
    static std::uint64_t step(std::uint64_t h, unsigned char c) noexcept
    {
        return (h ^ c) * 0x100000001b3ull;
    }
    static std::uint64_t combine(std::uint64_t h, std::uint32_t strays) noexcept
    {
        std::uint64_t x = h + 0x9e3779b97f4a7c15ull * (std::uint64_t(strays) + 1);
        x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
        x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
        return x ^ (x >> 31);
    }

    const std::array<bool, 256>* m_letters;
    ReferenceParts m_parts;
    std::uint64_t m_hash = kEmpty;
    bool m_inGroup = false;
};

// The key of `parts` (read from `text`): the marker's non-letters, then the stray "]".
void appendKey(std::string_view text, const ReferenceParts& parts, LetterSet letters, std::string& out);
std::string keyOf(std::string_view text, const ReferenceParts& parts, LetterSet letters);
// At most `max` first bytes of that key into `out`; returns how many.
std::size_t copyKeyPrefix(std::string_view text, const ReferenceParts& parts, LetterSet letters,
                          char* out, std::size_t max) noexcept;
// The marker as written, letters included, then the stray "]".
void appendMarker(std::string_view text, const ReferenceParts& parts, std::string& out);
// Whether the key of `parts` is `reference`, compared in place.
bool keyEquals(std::string_view text, const ReferenceParts& parts, LetterSet letters,
               std::string_view reference) noexcept;

// Compares two keys byte by byte (as unsigned bytes: keys hold no letters, so lowering
// leaves them as they are) without building them. `aText` and `bText` are the texts the two
// markers point into. Negative, zero or positive like std::string::compare.
int compareReferences(std::string_view aText, const ReferenceParts& a,
                      std::string_view bText, const ReferenceParts& b,
                      LetterSet letters) noexcept;

} // namespace quorvex
