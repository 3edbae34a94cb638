#pragma once
// The likeliest reading of every word of a text in its sentence. Each distinct folded form
// is analysed once, when a sentence that holds it is first tagged (lemma and morphology of
// each reading, see Lexicon::analyses); a trigram tagger goes through each sentence once
// (Viterbi), sentences being cut at strong punctuation (. ; : ? !) and at reference
// markers. A reading's weight in its word is its
// lemma's frequency in the lexicon; the context weighs the tags around it, and the words that
// govern a mood choose it for the forms written alike in two (MoodRules.h). Built once per
// text, then only read; it keeps pointing to the word table, the text's lemmata, the lexicon
// and the tag model, which must outlive it.

#include "concordance/FormTally.h"
#include "concordance/ResultList.h"
#include "concordance/TextLemmata.h"
#include "concordance/WordTable.h"
#include "lexicon/Lexicon.h"
#include "lexicon/TagModel.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

// A filter on the likeliest analysis: the words its French name must hold ("subjonctif",
// "ablatif pluriel"), each a word of the names of morphos.fr.
class AnalysisFilter {
public:
    // Blank-separated words; `refusal` (French, UTF-8) names the unknown ones and lists the
    // accepted ones, and the filter is then empty.
    static AnalysisFilter parse(std::string_view words, const lexicon::TagModel& tags, std::string& refusal);
    bool empty() const noexcept { return m_words.empty(); }
    // Whether the analysis's name holds every word of the filter, as whole words.
    bool accepts(std::string_view analysisName) const;

private:
    std::vector<std::string> m_words;
};

class TextTagging {
public:
    using Analysis = lexicon::Analysis;
    using TypeId = TextLemmata::TypeId;

    // `probabilities`: also each chosen reading's probability (one more pass over each
    // sentence, forward and backward). Throws std::bad_alloc when memory runs short.
    static TextTagging build(const WordTable& words, const TextLemmata& lemmata,
                             const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags,
                             bool probabilities = false);

    // The same, each sentence tagged when one of its words is first asked about (and a form's
    // readings weighed with the first sentence that holds it): what a window needs, which
    // shows a few rows of a list and keeps the tagging for its text. Read from one thread at
    // a time.
    static TextTagging onDemand(const WordTable& words, const TextLemmata& lemmata,
                                const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags,
                                bool probabilities);

    TextTagging();
    ~TextTagging();
    TextTagging(TextTagging&&) noexcept;
    TextTagging& operator=(TextTagging&&) noexcept;

    // The tagging of the sentences that hold the list's words (the other words stay unknown):
    // what the columns and the filter of a list need.
    static TextTagging buildAround(const WordTable& words, const TextLemmata& lemmata,
                                   const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags,
                                   const ResultList& list, bool probabilities);

    // The words whose likeliest reading has one of `lemmata`, in text order, tagging only the
    // sentences that hold a form where that is in doubt (a form of one of them and of some
    // other lemma): what a search needs, at a fraction of the cost of the whole text.
    static ResultList wordsOfLemmata(const WordTable& words, const TextLemmata& lemmata,
                                     const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags,
                                     const std::vector<lexicon::LemmaId>& wanted);

    // The number of words of `text` whose likeliest reading has one of `wanted`, as
    // wordsOfLemmata finds them in the text's word table, from the tally of its forms (cut with
    // the extended letters) and one more pass over it: a form all of whose candidates are
    // wanted counts whole; only the sentences that hold a form in doubt are cut out, put
    // together and tagged. Throws std::bad_alloc when memory runs short.
    static std::size_t countWordsOfLemmata(std::string_view text, const FormTally& forms,
                                           const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags,
                                           const std::vector<lexicon::LemmaId>& wanted);

    // Whether the lexicon knows word i (as the text's lemmata do).
    bool known(std::size_t word) const
    {
        tagSentenceOf(word);
        return m_choice[word] != kNone;
    }
    // The likeliest reading of a known word here.
    Analysis reading(std::size_t word) const
    {
        tagSentenceOf(word);
        return m_readings[m_readingStart[m_lemmata->typeOf(word)] + m_choice[word]];
    }
    // Its probability among the word's readings, 0 to 1 (0 when not asked for).
    double probability(std::size_t word) const
    {
        tagSentenceOf(word);
        return m_probability.empty() ? 0.0 : m_probability[word] / 255.0;
    }

    // Whether the word's likeliest reading passes the filter (a word the lexicon lacks never does).
    bool passes(std::size_t word, const AnalysisFilter& filter, const lexicon::TagModel& tags) const
    {
        return known(word) && filter.accepts(tags.morphoName(reading(word).morpho));
    }

    // The words whose likeliest reading has one of `lemmata`, in text order.
    ResultList wordsOf(const std::vector<lexicon::LemmaId>& lemmata) const;
    std::size_t wordCount(const std::vector<lexicon::LemmaId>& lemmata) const;


    // The word's likeliest reading as the --analyses column writes it (UTF-8): "dico,
    // 3ème singulier indicatif parfait actif, 0.97"; empty for a word the lexicon lacks.
    std::string describe(std::size_t word, const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags) const;

private:
    // `focus`, when given: one flag per folded type; only sentences holding a flagged type
    // are tagged, and only flagged types get their readings weighed.
    static TextTagging tag(const WordTable& words, const TextLemmata& lemmata, const lexicon::Lexicon& lexicon,
                           const lexicon::TagModel& tags, bool probabilities, const std::vector<std::uint8_t>* focus,
                           bool onDemand = false);
    // What tagging the sentences left needs; none once all are tagged.
    struct Sentences;
    void tagSentence(Sentences& sentences, std::size_t pair) const;
    // The readings of a form and their weights, once, when a sentence first needs them.
    void weigh(Sentences& sentences, TypeId type) const;
    void tagSentenceOf(std::size_t word) const
    {
        if (m_untagged)
            tagLeftSentenceOf(word);
    }
    void tagLeftSentenceOf(std::size_t word) const;

    static constexpr std::uint8_t kNone = 0xFF;
    // Filled as sentences are tagged, on demand for some.
    mutable std::vector<Analysis> m_readings;         // each weighed form's, most frequent lemma first
    mutable std::vector<std::uint32_t> m_readingStart;  // by folded type, once weighed
    mutable std::vector<std::uint8_t> m_choice;       // by word: its reading in its type's, or kNone
    mutable std::vector<std::uint8_t> m_probability;  // by word, 0..255, when asked for
    mutable std::unique_ptr<Sentences> m_untagged;
    const TextLemmata* m_lemmata = nullptr;
};

} // namespace quorvex
