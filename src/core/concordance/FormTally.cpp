#include "concordance/FormTally.h"

#include "text/LetterBits.h"

namespace quorvex {

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
