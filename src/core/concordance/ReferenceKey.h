#pragma once
// The reference in force while stepping through a text, kept as parts of the text rather
// than as a growing string. The segmentation and the passage scans step with the same rules:
//   - "[" starts a marker at that "[" and opens a group;
//   - inside a group every non-letter extends the marker ("]" closes the group);
//   - a "]" outside a group is a stray one, counted after the marker.
// Letters never change the reference: inside brackets they are words of their own, so the
// reference text is the marker without its letters, then the stray "]".
// A running hash of the marker's non-letters makes equal reference texts findable from any
// text without building them.

#include <cstddef>
#include <cstdint>

namespace quorvex {

struct ReferenceParts {
    std::uint32_t markerOffset = 0;  // the "[" (0 with an empty marker)
    std::uint32_t markerLength = 0;  // up to the last non-letter taken, letters included
    std::uint32_t keyLength = 0;     // the marker's non-letters
    std::uint32_t strays = 0;        // "]" after the closed marker

    std::size_t textLength() const noexcept { return std::size_t(keyLength) + strays; }
};

class ReferenceKey {
public:
    // Applies the non-letter at `offset` (letters must not be fed). Returns true when the
    // reference text changed, which every "[" and "]" and every character of a group does.
    bool feed(unsigned char c, std::size_t offset) noexcept
    {
        if (c == '[') {
            m_parts = ReferenceParts{static_cast<std::uint32_t>(offset), 1, 1, 0};
            m_markerHash = step(kSeed, c);
            m_inGroup = true;
            return true;
        }
        if (m_inGroup) {
            m_parts.markerLength = static_cast<std::uint32_t>(offset + 1 - m_parts.markerOffset);
            ++m_parts.keyLength;
            m_markerHash = step(m_markerHash, c);
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

    // True when `c` (a non-letter) would leave the reference as it is: the bulk of a text.
    bool leavesUnchanged(unsigned char c) const noexcept
    {
        return !m_inGroup && c != '[' && c != ']';
    }

    const ReferenceParts& parts() const noexcept { return m_parts; }
    bool inGroup() const noexcept { return m_inGroup; }
    // Equal reference texts give equal hashes, whatever text they come from.
    std::uint64_t hash() const noexcept { return combine(m_markerHash, m_parts.strays); }

    // The hash of a reference text given as its non-letter marker bytes and stray count, for
    // a reference that was not stepped through (tests, lookups by text).
    static std::uint64_t hashOf(const unsigned char* key, std::size_t length,
                                std::uint32_t strays) noexcept
    {
        std::uint64_t h = length == 0 ? kEmpty : kSeed;
        for (std::size_t i = 0; i < length; ++i)
            h = step(h, key[i]);
        return combine(h, strays);
    }

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

    ReferenceParts m_parts;
    std::uint64_t m_markerHash = kEmpty;
    bool m_inGroup = false;
};

} // namespace quorvex
