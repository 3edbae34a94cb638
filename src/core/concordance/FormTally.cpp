#include "concordance/FormTally.h"

#include <cstring>

namespace quorvex {

namespace {

#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
constexpr bool kWordsAtOnce = true;
unsigned lowestBit(std::uint64_t v) noexcept { return static_cast<unsigned>(__builtin_ctzll(v)); }
#else
constexpr bool kWordsAtOnce = false;
unsigned lowestBit(std::uint64_t v) noexcept
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
std::uint64_t letterBits(const unsigned char* p, const std::array<bool, 256>& isLetter) noexcept
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

} // namespace

FormTally::FormTally(LetterSet letters)
    : m_letters(letters), m_interner(m_frequency, m_start, m_bytes)
{
}

void FormTally::add(std::string_view piece)
{
    const std::array<bool, 256>& isLetter = letterTable(m_letters);
    const auto* const begin = reinterpret_cast<const unsigned char*>(piece.data());
    const std::size_t size = piece.size();
    const unsigned char* const end = begin + size;

    // Words go to the table in small batches, each slot fetched before the first is read.
    constexpr std::size_t kBatch = 16;
    TypeInterner::Probe batch[kBatch];
    std::size_t queued = 0;
    std::size_t words = 0;
    const auto queue = [&](std::size_t start, std::size_t length) {
        batch[queued] = TypeInterner::probe(begin + start, length, end);
        m_interner.prefetch(batch[queued]);
        if (++queued == kBatch) {
            for (const TypeInterner::Probe& f : batch)
                m_interner.intern(f);
            queued = 0;
        }
        ++words;
    };

    // Word edges are where a letter follows a non-letter or the reverse: found 64 bytes at a
    // time from a mask of letters, with no branch per byte.
    bool inWord = false;
    std::size_t start = 0;
    std::size_t i = 0;
    if (kWordsAtOnce) {
        std::uint64_t before = 0;  // 1: the byte before the block is a letter
        for (; i + 64 <= size; i += 64) {
            const std::uint64_t letters = letterBits(begin + i, isLetter);
            std::uint64_t edges = letters ^ ((letters << 1) | before);
            before = letters >> 63;
            while (edges) {
                const std::size_t at = i + lowestBit(edges);
                edges &= edges - 1;
                if (inWord)
                    queue(start, at - start);
                else
                    start = at;
                inWord = !inWord;
            }
        }
    }
    for (; i < size; ++i) {
        if (isLetter[begin[i]] == inWord)
            continue;
        if (inWord)
            queue(start, i - start);
        else
            start = i;
        inWord = !inWord;
    }
    if (inWord)
        queue(start, size - start);
    for (std::size_t k = 0; k < queued; ++k)
        m_interner.intern(batch[k]);
    m_words += words;
}

} // namespace quorvex
