#pragma once
// Letters found 64 bytes at a time, for the passes over a whole text that look for word
// edges: a mask with one bit per byte, and the lowest bit of a mask.

#include <array>
#include <cstdint>
#include <cstring>

namespace quorvex {

#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr bool kWordsAtOnce = true;
inline unsigned lowestBit(std::uint64_t v) noexcept { return static_cast<unsigned>(__builtin_ctzll(v)); }
#else
constexpr bool kWordsAtOnce = false;
inline unsigned lowestBit(std::uint64_t v) noexcept
{
    unsigned n = 0;
    while (!(v & 1)) {
        v >>= 1;
        ++n;
    }
    return n;
}
#endif

// Bit i is set when byte i of the 64 at p is a letter. Eight bytes without a high bit (most of
// a Latin text) are tested at once: a-z after setting the 0x20 bit, which is A-Z and a-z
// exactly, the letters of every set below 0x80; the others go through the table.
inline std::uint64_t letterBits(const unsigned char* p, const std::array<bool, 256>& isLetter) noexcept
{
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    std::uint64_t bits = 0;
    for (unsigned k = 0; k < 8; ++k) {
        const unsigned char* const q = p + 8 * k;
        std::uint64_t x;
        std::memcpy(&x, q, sizeof x);
        std::uint64_t eight = 0;
        if (x & kHigh) {
            for (unsigned i = 0; i < 8; ++i)
                eight |= std::uint64_t(isLetter[q[i]]) << i;
        } else {
            const std::uint64_t y = x | 0x2020202020202020ull;
            // No byte carries into the next: each is below 0x80 before the addition.
            const std::uint64_t fromA = y + 0x1F1F1F1F1F1F1F1Full;  // high bit: y >= 'a'
            const std::uint64_t pastZ = y + 0x0505050505050505ull;  // high bit: y > 'z'
            const std::uint64_t letters = fromA & ~pastZ & kHigh;
            // One bit per byte, gathered into the low eight bits.
            eight = ((letters >> 7) * 0x0102040810204080ull) >> 56;
        }
        bits |= eight << (8 * k);
    }
    return bits;
}

} // namespace quorvex
