#pragma once
// How many words of a text bear each of a few folded spellings known before the text is read
// (the spellings a lemma may take), in one pass over the text's pieces. Most words are turned
// away by their first letter and length, the others by one probe of a table of those
// spellings, small enough to stay in the nearest caches: no table of the text's own forms is
// built, which is what a pass over millions of words spends most on.

#include "text/Letters.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

class FoldedFormTally {
public:
    // `forms`: spelling folds (a-z), each once; a form with other bytes is never met.
    FoldedFormTally(std::vector<std::string> forms, LetterSet letters);

    // Adds the words of `piece` (maximal runs of the letters), which must not end inside a word.
    void add(std::string_view piece);

    std::size_t wordCount() const noexcept { return m_words; }
    std::size_t formCount() const noexcept { return m_forms.size(); }
    std::string_view form(std::size_t i) const noexcept { return m_forms[i]; }
    // The words whose spelling fold is form(i).
    std::size_t frequency(std::size_t i) const noexcept { return m_frequency[i]; }

private:
    struct Slot {
        std::uint32_t form = 0;  // index + 1; 0: empty
        std::uint32_t tag = 0;   // the hash's high half
    };
    void count(const unsigned char* p, std::size_t length, const unsigned char* end);
    bool find(std::uint64_t hash, const unsigned char* p, std::size_t length);

    LetterSet m_letters;
    std::vector<std::string> m_forms;
    std::vector<std::size_t> m_frequency;
    std::vector<Slot> m_slots;
    // By a word's first byte, the spelling folds' lengths it may begin (bit 63: 63 or more).
    std::array<std::uint64_t, 256> m_lengths{};
    std::string m_folded;  // a word with bytes beyond ASCII, folded
    std::size_t m_words = 0;
};

} // namespace quorvex
