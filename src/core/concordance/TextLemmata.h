#pragma once
// The lemmata of a text's words: every distinct form of the word table is folded (spelling
// folding) and each distinct folded form analysed by the lexicon once, so a search by lemma,
// a frequency list or a word table of the windows costs one lookup per distinct form, not
// per word. Built once per word table and lexicon, which it keeps pointing to (both must
// outlive it); then only read.

#include "concordance/FormTally.h"
#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "lexicon/Lexicon.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorvex {

class TextLemmata {
public:
    using LemmaId = lexicon::LemmaId;
    using TypeId = std::uint32_t;  // a distinct folded form of the text

    struct Candidates {
        const LemmaId* first = nullptr;
        std::size_t size = 0;
        const LemmaId* begin() const noexcept { return first; }
        const LemmaId* end() const noexcept { return first + size; }
        bool empty() const noexcept { return size == 0; }
    };

    // Throws std::bad_alloc when memory runs short.
    static TextLemmata build(const WordTable& words, const lexicon::Lexicon& lexicon);
    // The same from a one-pass tally of the text's forms: all but typeOf and wordsOf, which
    // need the word table.
    static TextLemmata build(const FormTally& forms, const lexicon::Lexicon& lexicon);

    // Built a form at a time as a pass meets the text's distinct forms as written (numbered
    // 0, 1... in that order), so that their analysis can go on beside the pass; the
    // frequencies come at the end. What finish() gives is built from a tally (no word table).
    class Builder;

    std::size_t typeCount() const noexcept { return m_typeForms.size(); }
    TypeId typeOf(std::size_t word) const noexcept { return m_writtenTypes[m_words->typeOf(word)]; }
    std::string_view typeForm(TypeId type) const noexcept { return m_typeForms[type]; }
    std::size_t typeFrequency(TypeId type) const noexcept { return m_typeFrequency[type]; }
    // Most frequent first (lexicon's frequency), each lemma once; empty: the lexicon does
    // not know the form.
    Candidates candidates(TypeId type) const noexcept
    {
        return {m_candidates.data() + m_candidateStart[type],
                m_candidateStart[type + 1] - m_candidateStart[type]};
    }
    // The type of a folded form, or npos when the text does not hold it.
    static constexpr TypeId npos = 0xFFFFFFFFu;
    TypeId findType(std::string_view folded) const;

    // The distinct folded forms of the text that are forms of one of `lemmata`.
    // `strict`: only those whose most frequent candidate is one of them (a tie counts).
    std::vector<TypeId> typesOf(const std::vector<LemmaId>& lemmata, bool strict) const;
    // Whether a form with these candidates (most frequent first) is one typesOf takes.
    static bool candidatesGive(const lexicon::Lexicon& lexicon, Candidates candidates,
                               const std::vector<LemmaId>& lemmata, bool strict);
    // How many words bear those types (each type counted once), without listing them.
    std::size_t wordCount(const std::vector<TypeId>& types) const;
    // The words of those types, in text order.
    ResultList wordsOf(const std::vector<TypeId>& types) const;
    // Word tokens some lemma explains.
    std::size_t explainedWords() const noexcept { return m_explainedWords; }
    // The folded type of each distinct form as written ("Deus" and "deus" are two), in the
    // order they first stand: by the word table's type.
    const std::vector<TypeId>& writtenFormTypes() const noexcept { return m_writtenTypes; }

private:
    template <typename Forms>
    static TextLemmata buildFrom(const Forms& forms, const lexicon::Lexicon& lexicon);

    std::vector<std::string> m_typeForms;
    std::vector<std::size_t> m_typeFrequency;
    std::vector<std::uint32_t> m_candidateStart;  // typeCount() + 1 entries
    std::vector<LemmaId> m_candidates;
    std::vector<TypeId> m_sortedTypes;  // by folded form, for findType
    std::vector<TypeId> m_writtenTypes;
    std::size_t m_explainedWords = 0;
    const lexicon::Lexicon* m_lexicon = nullptr;
    const WordTable* m_words = nullptr;
};

class TextLemmata::Builder {
public:
    explicit Builder(const lexicon::Lexicon& lexicon);
    void addWrittenForm(std::string_view written);
    std::size_t writtenForms() const noexcept { return m_lemmata.m_writtenTypes.size(); }
    // frequencyOf(w): how many words bear written form w, for every form added.
    TextLemmata finish(const std::function<std::size_t(std::uint32_t)>& frequencyOf);

private:
    TextLemmata m_lemmata;
    std::unordered_map<std::string, TypeId> m_byFolded;
    std::string m_folded;
};

} // namespace quorvex
