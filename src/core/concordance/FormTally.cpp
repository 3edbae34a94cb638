#include "concordance/FormTally.h"

#include "concordance/LetterRuns.h"
#include "system/LargePages.h"

#include <algorithm>

namespace quorvex {

FormTally::FormTally(LetterSet letters, bool keepWordTypes)
    : m_letters(letters), m_keepWordTypes(keepWordTypes), m_interner(m_frequency, m_start, m_bytes)
{
}

void FormTally::flush(const TypeInterner::Probe* batch, std::size_t count)
{
    if (m_keepWordTypes) {
        for (std::size_t k = 0; k < count; ++k)
            m_wordTypes.push_back(m_interner.intern(batch[k]));
    } else {
        for (std::size_t k = 0; k < count; ++k)
            m_interner.intern(batch[k]);
    }
}

void FormTally::add(std::string_view piece)
{
    const std::array<bool, 256>& isLetter = letterTable(m_letters);
    const auto* const begin = reinterpret_cast<const unsigned char*>(piece.data());
    const std::size_t size = piece.size();
    const unsigned char* const end = begin + size;
    // A word takes no fewer than two bytes; room for the piece's words at once keeps its
    // pushes free of reallocation, and doubling keeps the copies linear over the pieces.
    if (m_keepWordTypes && m_wordTypes.capacity() - m_wordTypes.size() < size / 2 + 1) {
        m_wordTypes.reserve(std::max(m_wordTypes.size() + size / 2 + 1, 2 * m_wordTypes.capacity()));
        sys::adviseLargePages(m_wordTypes.data() + m_wordTypes.size(),
                              (m_wordTypes.capacity() - m_wordTypes.size()) * sizeof(TypeId));
    }

    // Words go to the table in small batches, each slot fetched before the first is read.
    constexpr std::size_t kBatch = 16;
    TypeInterner::Probe batch[kBatch];
    std::size_t queued = 0;
    std::size_t words = 0;
    const auto queue = [&](std::size_t start, std::size_t length) {
        batch[queued] = TypeInterner::probe(begin + start, length, end);
        m_interner.prefetch(batch[queued]);
        if (++queued == kBatch) {
            flush(batch, queued);
            queued = 0;
        }
        ++words;
    };

    forEachLetterRun(begin, size, isLetter,
                     [&](std::size_t start, std::size_t stop) { queue(start, stop - start); });
    flush(batch, queued);
    m_words += words;
}

} // namespace quorvex
