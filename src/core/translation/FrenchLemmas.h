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
//
// A text of millions of words has tens of thousands of distinct ones: given the French text's
// word table, each of its types is folded, stemmed and looked up once (indexTypes), and a
// passage's words are read from the table by their type, no word hashed again.

#include "concordance/WordTable.h"
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
    // The same from the text's word table (cut with the French letters), whose types are then
    // indexed as indexTypes does.
    void readText(const WordTable& french);

    // Looks every type of `french` (a French text cut with the French letters) up once, so
    // that typeWord() answers for it as word() would for its form.
    void indexTypes(const WordTable& french);
    // Whether the types of this very table are indexed.
    bool indexes(const WordTable& french) const noexcept
    {
        return m_indexed == &french && m_indexedText == french.text().data()
            && m_typeWords.size() == french.typeCount() && m_indexedWords == french.size();
    }
    const Word& typeWord(WordTable::TypeId type) const { return m_typeWords[type]; }

    // Calls f(offset, word, const Word&) for each word of `stretch` (a span of the text that
    // `french` was cut from, indexed) as forEachWord cuts it, offset counted from the start of
    // the text. A stretch that holds no marker and cuts no word in two is read from the
    // table; `hint` is a word index at or near the stretch, left after its last word, so that
    // stretches met in text order find their words at once.
    template <typename F>
    void forEachWordOfStretch(const WordTable& french, std::string_view stretch, std::size_t& hint, F&& f);

    // The word's entry, stemming it the first time it is met. Windows-1252, as written.
    const Word& word(std::string_view cp1252);
    const LemmaId* lemmas(const Word& w) const { return m_wordLemmas.data() + w.first; }

    // As the dictionary writes it, UTF-8.
    const std::string& lemmaText(LemmaId id) const { return m_lemmas[id].text; }
    bool isFunctionLemma(LemmaId id) const { return m_lemmas[id].functionWord; }
    std::size_t lemmaCount() const { return m_lemmas.size(); }
    std::size_t distinctWords() const { return m_words.size(); }
    bool stemming() const { return m_stemmer != nullptr; }
    // Whether readText has been called: each word stands for one lemma.
    bool textRead() const { return m_textRead; }
    // What names the lemmas this object gives a text (its dictionary), for a cache key; empty
    // when the stemmer cannot say.
    std::string dictionaryIdentity() const { return m_stemmer ? m_stemmer->identity() : std::string("-"); }

    // The lemmas' texts and function-word marks as bytes, and back: adopting a table makes
    // its ids this object's, as when they were met, so that arrays of lemma ids made by
    // another object over the same text and dictionary read the same here. It is refused
    // (false) when this object already holds other lemmas.
    std::string lemmaTableBytes() const;
    bool adoptLemmaTable(std::string_view bytes, std::size_t count);

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
    // Enters a folded word (Windows-1252, and as UTF-8) not met yet, with the stemmer's stems.
    const Word& addWord(const std::string& folded, const std::string& utf8, std::vector<std::string> stems);
    // The one lemma of a folded word (UTF-8) among its stems, once the text is read.
    std::string chosenStem(const std::string& utf8Folded, std::vector<std::string>& stems) const;

    // The first word of the table at or after byte `offset`, searched from `hint` outwards.
    static std::size_t firstWordFrom(const WordTable& table, std::size_t offset, std::size_t hint) noexcept;

    Stemmer* m_stemmer;
    // Once the text is read: how often each folded word stands in it, and each lemma's words.
    std::unordered_map<std::string, std::uint32_t> m_textCounts;  // by folded UTF-8 word
    std::unordered_map<std::string, std::uint32_t> m_stemCounts;   // by UTF-8 lemma
    bool m_textRead = false;
    std::string m_folded;  // scratch, so a word met again costs no allocation
    std::unordered_map<std::string, Word> m_words;  // by folded Windows-1252 form
    std::vector<LemmaId> m_wordLemmas;
    std::vector<Lemma> m_lemmas;
    std::unordered_map<std::string, LemmaId> m_lemmaIds;  // filled at the first lemmaId() after adopting
    bool m_lemmaIdsPending = false;
    // By type of the indexed table.
    std::vector<Word> m_typeWords;
    const WordTable* m_indexed = nullptr;
    const char* m_indexedText = nullptr;
    std::size_t m_indexedWords = 0;
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

template <typename F>
void FrenchLemmas::forEachWordOfStretch(const WordTable& french, std::string_view stretch, std::size_t& hint, F&& f)
{
    const std::string& text = french.text();
    const std::size_t begin = static_cast<std::size_t>(stretch.data() - text.data());
    const std::size_t end = begin + stretch.size();
    const auto letterAt = [&](std::size_t i) { return isFrenchLetter(static_cast<unsigned char>(text[i])); };
    const bool cutsWord = (begin > 0 && begin < end && letterAt(begin - 1) && letterAt(begin))
        || (end < text.size() && end > begin && letterAt(end - 1) && letterAt(end));
    if (cutsWord || stretch.find('[') != std::string_view::npos) {
        // A marker's letters make no word here, though the table holds them.
        forEachWord(stretch, [&](std::size_t offset, std::string_view w) { f(begin + offset, w, word(w)); });
        return;
    }
    std::size_t i = firstWordFrom(french, begin, hint);
    for (const std::size_t n = french.size(); i < n && french.formOffset(i) < end; ++i)
        f(french.formOffset(i), french.form(i), m_typeWords[french.typeOf(i)]);
    hint = i;
}

} // namespace quorvex
