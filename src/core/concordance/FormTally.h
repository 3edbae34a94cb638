#pragma once
// The distinct forms of a text as written, each with how many words bear it, gathered in one
// pass over the text's pieces: all that a count by lemma or by folded spelling needs. Nothing
// is kept per word (no offset, type or reference), so memory grows with the vocabulary, not
// with the text; whatever is asked of a form is then asked once per distinct form.

#include "concordance/TypeInterner.h"
#include "text/Letters.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

class FormTally {
public:
    using TypeId = std::uint32_t;

    // With `keepWordTypes` the type of every word is kept too, in text order: what counting
    // neighbours needs, at four bytes a word.
    explicit FormTally(LetterSet letters, bool keepWordTypes = false);
    FormTally(const FormTally&) = delete;
    FormTally& operator=(const FormTally&) = delete;

    // Adds the words of `piece` (maximal runs of the letters), which must not end inside a
    // word: the pieces of OnePassText::forEachPiece, or a whole text. Throws std::bad_alloc
    // when memory runs short.
    void add(std::string_view piece);

    LetterSet letters() const noexcept { return m_letters; }
    std::size_t wordCount() const noexcept { return m_words; }
    // Types, numbered in the order of their first word, case untouched, as the word table
    // numbers its own.
    std::size_t typeCount() const noexcept { return m_frequency.size(); }
    std::string_view typeText(TypeId t) const noexcept
    {
        return std::string_view(m_bytes.data() + m_start[t], m_start[t + 1] - m_start[t]);
    }
    std::size_t typeFrequency(TypeId t) const noexcept { return m_frequency[t]; }
    // With keepWordTypes, the type of each word in text order; else empty.
    const std::vector<TypeId>& wordTypes() const noexcept { return m_wordTypes; }

    // How many words bear a type for which `wanted(typeText)` holds; each type asked once.
    template <typename Predicate>
    std::size_t wordsWhere(Predicate&& wanted) const
    {
        std::size_t total = 0;
        for (TypeId t = 0; t < typeCount(); ++t)
            if (wanted(typeText(t)))
                total += m_frequency[t];
        return total;
    }

private:
    void flush(const TypeInterner::Probe* batch, std::size_t count);

    LetterSet m_letters;
    bool m_keepWordTypes;
    std::size_t m_words = 0;
    std::vector<TypeId> m_wordTypes;
    std::vector<std::uint32_t> m_frequency;
    std::vector<std::uint32_t> m_start;
    std::string m_bytes;
    TypeInterner m_interner;
};

} // namespace quorvex
