#pragma once
// The French side as lemmas: each distinct word (folded for case) is stemmed once and keeps
// its lemma ids; a word with several lemmas ("dit": dit, dire) stands for each, a word the
// stemmer does not know (or every word, without a stemmer) for its folded self.
//
// Once the whole French text has been read (readText), a word stands for one lemma, so that
// the stemmer's second readings do not split a word in two ("monde" is not also "monder"):
// the one of its stems that is itself a form of the text, else, among several such, the one
// whose forms are the most frequent in the text ("dit": dire), and a few words by a fixed
// table ("yeux": œil, "tous": tout).
//
// Words are cut with the full letter set, so "cœur" is one word, and the letters inside a
// bracketed marker make no word.

#include "text/MarkerReader.h"
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

    // Reads every word of the French text (Windows-1252) so that each word stands for one
    // lemma from now on; to be called before any word() of the text.
    void readText(std::string_view cp1252Text);

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
    // The one lemma of a folded word (UTF-8) among its stems, once the text is read.
    std::string chosenStem(const std::string& utf8Folded, std::vector<std::string>& stems) const;

    Stemmer* m_stemmer;
    // Once the text is read: how often each folded word stands in it, and each lemma's words.
    std::unordered_map<std::string, std::uint32_t> m_textCounts;  // by folded UTF-8 word
    std::unordered_map<std::string, std::uint32_t> m_stemCounts;   // by UTF-8 lemma
    bool m_textRead = false;
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
    forEachWordOutsideMarkers(passage, isFrenchLetter, [&f](std::size_t offset, std::string_view word) {
        f(offset, word);
        return true;
    });
}

} // namespace quorvex
