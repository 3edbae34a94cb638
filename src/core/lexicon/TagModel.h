#pragma once
// What the tagger knows of Latin beyond the lexicon: the counts of the morphological tags
// and of their trigrams in a large lemmatised corpus (tags.la), and the French names of the
// lexicon's morphologies (morphos.fr). Read once; then it gives each analysis its tag and
// each trigram of tags its smoothed probability.
//
// The tag codes come without a legend; what they stand for was read off the counts and the
// contexts they keep (which tags follow a preposition, which precede an enclitic...):
//   n noun, a adjective, p pronoun, m numeral, w participle, gerund, gerundive or supine:
//     the letter, then the case (1 nominative, 2 vocative, 3 accusative, 4 genitive,
//     5 dative, 6 ablative, 7 locative, 8 none: an invariable word), then the number
//     (1 singular, 2 plural): "n31" is a noun in the accusative singular;
//   v finite verb or infinitive: "v", the mood (1 indicative, 2 subjunctive, 3 imperative,
//     4 infinitive), then "1" for the present and nothing for the other tenses;
//   d adverb, c conjunction, r preposition, i interjection;
//   ce an enclitic -que or -ve after its word, de an enclitic -ne, re a postponed -cum
//     (mecum); snt the boundary of a sentence, x a foreign word, # the auxiliary of a
//     compound tense (never given here: the lexicon analyses each word alone).
// So, with the part of speech the lexicon's model gives: "dixit" (indicative perfect) is
// v1, "dicit" v11, "dicentes" w12, "est" v11, "cum" r or c.

#include "lexicon/Lexicon.h"

#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex::lexicon {

using TagId = std::uint8_t;

// What a verb's morphology is, read off its French name: what the rules on mood look at.
struct VerbForm {
    enum class Mood : std::uint8_t { None, Indicative, Subjunctive, Imperative, Other };  // Other: infinitive, participle...
    enum class Tense : std::uint8_t { None, Present, Imperfect, Future, Perfect, Pluperfect, FuturePerfect };
    Mood mood = Mood::None;
    Tense tense = Tense::None;
    std::uint8_t person = 0;  // 1 to 3; 0 when it has none
    std::uint8_t number = 0;  // 1 singular, 2 plural; 0 when it has none
};

// The two files' contents, for reading without the disk.
struct TagTexts {
    std::string tags, morphos;
};

class TagModel {
public:
    // Reads tags.la and morphos.fr from the folder. `failure` when one cannot be read (the
    // model is then empty); `malformed` gets one problem per line that cannot be read.
    static TagModel load(const std::string& folder, LexiconProblem& failure,
                         std::vector<LexiconProblem>& malformed);
    // Throws std::bad_alloc when memory runs short.
    static TagModel parse(const TagTexts& texts, std::vector<LexiconProblem>& malformed);

    // No trigram read: there is nothing to tag with.
    bool empty() const noexcept { return m_tagCount == 0 || m_transitions.empty(); }
    std::size_t tagCount() const noexcept { return m_tagCount; }
    std::string_view code(TagId tag) const noexcept { return m_codes[tag]; }
    // The tag of a code ("n31"), or npos.
    static constexpr TagId npos = 0xFF;
    TagId tagOfCode(std::string_view code) const noexcept;
    TagId boundary() const noexcept { return m_boundary; }

    // The tag of an analysis: its lemma's part of speech (Lexicon::partOfSpeech) and its
    // morphology. Codes the counts never saw get a tag of their own that only the smoothing
    // knows.
    TagId tagOf(char partOfSpeech, std::uint16_t morpho) const noexcept;
    // How many morphologies of that part of speech bear the tag (at least 1): a form of a
    // lemma is one of them, so the tag says that much less of the form.
    int morphologiesOf(char partOfSpeech, TagId tag) const noexcept;
    // The tag of an enclitic word: "ce" for -que and -ve, "de" for -ne.
    TagId encliticTag(FormAnalyses::Enclitic enclitic) const noexcept;
    // The tags an unknown word may bear: the nouns', in every case and number.
    const std::vector<TagId>& unknownWordTags() const noexcept { return m_unknownTags; }

    // log P(t3 | t1, t2), interpolated from the trigram, bigram and tag counts.
    float logTransition(TagId t1, TagId t2, TagId t3) const noexcept
    {
        return m_transitions[(static_cast<std::size_t>(t1) * m_tagCount + t2) * m_tagCount + t3];
    }
    // The same, not in log: for summing over paths.
    float transition(TagId t1, TagId t2, TagId t3) const noexcept { return std::exp(logTransition(t1, t2, t3)); }
    // log P(t): the share of the tag among all tags counted.
    float logTagShare(TagId tag) const noexcept { return m_logShare[tag]; }

    // The French name of a morphology ("3ème singulier indicatif parfait actif"); empty
    // when morphos.fr does not name it.
    const std::string& morphoName(std::uint16_t morpho) const noexcept;
    // The words the names are made of, sorted and each once: what a filter may ask for.
    const std::vector<std::string>& morphoWords() const noexcept { return m_morphoWords; }
    // The mood, tense, person and number a morphology names (none for nouns' cases...).
    const VerbForm& verbForm(std::uint16_t morpho) const noexcept;

private:
    TagId internCode(std::string_view code);
    void mapMorphologies();
    // From the trigram counts, which m_transitions holds on entry.
    void computeTransitions(const std::vector<double>& unigrams);

    std::size_t m_tagCount = 0;
    std::vector<std::string> m_codes;
    std::unordered_map<std::uint32_t, TagId> m_byCode;  // by the code's three bytes
    TagId m_boundary = npos;
    std::vector<TagId> m_unknownTags;
    std::vector<float> m_transitions;  // tagCount^3
    std::vector<float> m_logShare;
    std::vector<std::string> m_morphoNames;  // by morphology number
    std::vector<std::string> m_morphoWords;
    std::vector<VerbForm> m_verbForms;  // by morphology number
    // By part of speech (index in kPartsOfSpeech) and morphology.
    std::vector<TagId> m_tagByMorpho;
    std::vector<std::uint16_t> m_morphologiesPerTag;  // by part of speech and tag
    TagId m_que = npos, m_ne = npos;
};

} // namespace quorvex::lexicon
