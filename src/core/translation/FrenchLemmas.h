#pragma once
// The French side as lemmas: each distinct word (folded for case) is stemmed once and keeps
// its lemma ids; a word with several lemmas ("dit": dit, dire) stands for each, a word the
// stemmer does not know (or every word, without a stemmer) for its folded self.
//
// Words are cut with the full letter set, so "cœur" is one word, and the letters inside a
// bracketed marker make no word.

#include "translation/Stemmer.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvex {

class FrenchLemmas {
public:
    using LemmaId = std::uint32_t;

    // `stemmer` may be null (the folding fallback); it must outlive this object.
    explicit FrenchLemmas(Stemmer* stemmer) : m_stemmer(stemmer) {}

    struct Word {
        std::uint32_t first = 0;  // into lemmaIds()
        std::uint32_t count = 0;
        bool functionWord = false;
    };

    // The word's entry, stemming it the first time it is met. Windows-1252, as written.
    const Word& word(std::string_view cp1252);
    const LemmaId* lemmas(const Word& w) const { return m_wordLemmas.data() + w.first; }

    // As the dictionary writes it, UTF-8.
    const std::string& lemmaText(LemmaId id) const { return m_lemmas[id].text; }
    bool isFunctionLemma(LemmaId id) const { return m_lemmas[id].functionWord; }
    std::size_t lemmaCount() const { return m_lemmas.size(); }
    std::size_t distinctWords() const { return m_words.size(); }
    bool stemming() const { return m_stemmer != nullptr; }

    // Calls f(offset, word) for each word of a Windows-1252 passage, skipping bracketed
    // markers.
    template <typename F>
    static void forEachWord(std::string_view passage, F&& f);

private:
    struct Lemma {
        std::string text;
        bool functionWord = false;
    };
    LemmaId lemmaId(std::string text);

    Stemmer* m_stemmer;
    std::string m_folded;  // scratch, so a word met again costs no allocation
    std::unordered_map<std::string, Word> m_words;  // by folded Windows-1252 form
    std::vector<LemmaId> m_wordLemmas;
    std::vector<Lemma> m_lemmas;
    std::unordered_map<std::string, LemmaId> m_lemmaIds;
};

// The French side's letters: the code page's Š Œ Ž š œ ž Ÿ too.
bool isFrenchLetter(unsigned char c) noexcept;

// Latin-1 lowering and the code page's Š Œ Ž Ÿ to their small letters, Windows-1252.
void appendFrenchFolded(std::string& out, std::string_view cp1252);

template <typename F>
void FrenchLemmas::forEachWord(std::string_view passage, F&& f)
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
        if (!isFrenchLetter(c)) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < n && isFrenchLetter(static_cast<unsigned char>(passage[i])))
            ++i;
        f(start, passage.substr(start, i - start));
    }
}

} // namespace quorvex
