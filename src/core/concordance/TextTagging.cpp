#include "concordance/TextTagging.h"

#include "concordance/MoodRules.h"
#include "concordance/SpellingFold.h"
#include "system/LargePages.h"
#include "text/LetterBits.h"
#include "text/SentenceStops.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace quorvex {

namespace {

using lexicon::TagId;
using lexicon::TagModel;

// One tag a word may bear, with what the word says for it: log(P(tag | word) / P(tag)), which
// is log P(word | tag) up to a constant of the word.
struct Option {
    TagId tag = 0;
    std::uint8_t reading = 0;  // the likeliest of the word's readings with this tag
    float logEmission = 0;
    float emission = 0;
    float readingShare = 1;    // that reading's weight among the tag's readings
};

struct Token {
    const Option* options;
    std::uint32_t count;
    std::size_t word;  // npos: an enclitic, which stands after its word
    char mood = 0;     // '1' indicative or '2' subjunctive when the rules on mood chose it
};

constexpr std::size_t kNoWord = static_cast<std::size_t>(-1);
constexpr std::size_t kLongestSentence = 400;

// What a word may be in a compound tense ("natus est", "factum esse"), where the counts
// tag the participle as the verb and the form of sum as an auxiliary ("#"): the participle's
// likeliest reading and its weight; the auxiliary's mood ('1' indicative, '2' subjunctive,
// '4' infinitive) and weight.
struct CompoundPart {
    std::uint8_t participle = 0xFF;
    float participleWeight = 0;
    std::uint8_t auxiliary = 0xFF;
    char auxiliaryMood = 0;
    float auxiliaryWeight = 0;
};

CompoundPart compoundPart(const lexicon::FormAnalyses& found, const std::vector<TagId>& tagOf,
                          const std::vector<double>& weight, const TagModel& tags,
                          const std::vector<lexicon::LemmaId>& esse)
{
    CompoundPart part;
    for (std::size_t r = 0; r < found.readings.size(); ++r) {
        const lexicon::Analysis& a = found.readings[r];
        if (tags.morphoName(a.morpho).find("participe parfait") != std::string::npos) {
            if (part.participle == 0xFF || weight[r] > weight[part.participle])
                part.participle = static_cast<std::uint8_t>(r);
            part.participleWeight += static_cast<float>(weight[r]);
        }
        const std::string_view code = tags.code(tagOf[r]);
        if (std::find(esse.begin(), esse.end(), a.lemma) != esse.end() && code.size() >= 2 && code[0] == 'v'
            && (code[1] == '1' || code[1] == '2' || code[1] == '4')) {
            if (part.auxiliary == 0xFF)
                part.auxiliary = static_cast<std::uint8_t>(r);
            part.auxiliaryMood = code[1];
            part.auxiliaryWeight += static_cast<float>(weight[r]);
        }
    }
    return part;
}

void addOption(Token& token, const Option& option, std::deque<std::vector<Option>>& extra)
{
    for (std::uint32_t k = 0; k < token.count; ++k)
        if (token.options[k].tag == option.tag)
            return;
    extra.emplace_back(token.options, token.options + token.count);
    extra.back().push_back(option);
    token.options = extra.back().data();
    token.count = static_cast<std::uint32_t>(extra.back().size());
}

// A participle beside a form of sum may be the verb of a compound tense.
void offerCompoundTenses(std::vector<Token>& sentence, const TextLemmata& lemmata,
                         const std::vector<CompoundPart>& compound, const TagModel& tags,
                         std::deque<std::vector<Option>>& extra)
{
    const TagId auxiliary = tags.tagOfCode("#");
    if (auxiliary == TagModel::npos)
        return;
    for (std::size_t i = 0; i + 1 < sentence.size(); ++i) {
        if (sentence[i].word == kNoWord || sentence[i + 1].word == kNoWord)
            continue;
        for (int way = 0; way < 2; ++way) {
            Token& participle = sentence[way == 0 ? i : i + 1];
            Token& aux = sentence[way == 0 ? i + 1 : i];
            const CompoundPart& p = compound[lemmata.typeOf(participle.word)];
            const CompoundPart& a = compound[lemmata.typeOf(aux.word)];
            if (p.participle == 0xFF || a.auxiliaryMood == 0)
                continue;
            // The auxiliary's mood, as the rules chose it ("mensi fueritis") or as its form says.
            char mood = a.auxiliaryMood;
            std::uint8_t reading = a.auxiliary;
            for (std::uint32_t k = 0; aux.mood && k < aux.count; ++k) {
                const std::string_view code = tags.code(aux.options[k].tag);
                if (code.size() >= 2 && code[0] == 'v' && code[1] == aux.mood) {
                    mood = aux.mood;
                    reading = aux.options[k].reading;
                    break;
                }
            }
            const TagId verb = tags.tagOfCode(std::string{'v', mood});
            if (verb == TagModel::npos)
                continue;
            addOption(participle, {verb, p.participle, std::log(p.participleWeight), p.participleWeight, 1.0f}, extra);
            addOption(aux, {auxiliary, reading, std::log(a.auxiliaryWeight), a.auxiliaryWeight, 1.0f}, extra);
        }
    }
}

// The moods the rules choose (see MoodRules.h) for the words of a sentence that ends before
// word `end`: each word they decide keeps only the readings of that mood.
void chooseMoods(std::vector<Token>& sentence, const WordTable& words, std::size_t end, const TextLemmata& lemmata,
                 const std::vector<mood::FormFacts>& facts, const std::vector<lexicon::Analysis>& readings,
                 const std::vector<std::uint32_t>& readingStart, const std::vector<std::uint8_t>& readingCount,
                 const std::vector<TagId>& readingTag,
                 const std::vector<float>& readingWeight, const TagModel& tags,
                 std::deque<std::vector<Option>>& extra)
{
    const auto factsOf = [&](const Token& token) { return &facts[lemmata.typeOf(token.word)]; };
    if (std::none_of(sentence.begin(), sentence.end(), [&](const Token& token) {
            const mood::FormFacts* f = token.word == kNoWord ? nullptr : factsOf(token);
            return f && f->homograph != mood::Homograph::None;
        }))
        return;
    const std::string& text = words.text();
    std::vector<const mood::FormFacts*> known;
    std::vector<std::uint8_t> commaBefore;
    std::vector<std::size_t> tokenOf;
    for (std::size_t i = 0; i < sentence.size(); ++i) {
        const std::size_t w = sentence[i].word;
        if (w == kNoWord)
            continue;
        known.push_back(factsOf(sentence[i]));
        bool comma = false;
        if (w > 0)
            for (std::size_t c = words.formOffset(w - 1) + words.form(w - 1).size(); c < words.formOffset(w) && !comma; ++c)
                comma = text[c] == ',';
        commaBefore.push_back(comma);
        tokenOf.push_back(i);
    }
    // A question ends at its question mark.
    std::size_t at = words.formOffset(end - 1) + words.form(end - 1).size();
    const std::size_t limit = end < words.size() ? words.formOffset(end) : text.size();
    while (at < limit && !endsSentence(static_cast<unsigned char>(text[at])))
        ++at;
    const bool question = at < limit && text[at] == '?';

    std::vector<mood::Verdict> verdicts;
    mood::decide(known, commaBefore, question, verdicts);
    for (std::size_t k = 0; k < known.size(); ++k) {
        if (verdicts[k] == mood::Verdict::None)
            continue;
        Token& token = sentence[tokenOf[k]];
        const TextLemmata::TypeId type = lemmata.typeOf(token.word);
        const std::uint32_t first = readingStart[type], last = first + readingCount[type];
        // The rules choose the mood, not the word: a reading ruled out gives its weight to
        // its lemma's reading in the other mood.
        const mood::Verdict other =
            verdicts[k] == mood::Verdict::Subjunctive ? mood::Verdict::Indicative : mood::Verdict::Subjunctive;
        std::vector<double> kept(readingWeight.begin() + first, readingWeight.begin() + last);
        for (std::uint32_t r = first; r < last; ++r) {
            if (!mood::rulesOut(verdicts[k], facts[type], tags.verbForm(readings[r].morpho)))
                continue;
            for (std::uint32_t p = first; p < last; ++p)
                if (readings[p].lemma == readings[r].lemma
                    && mood::rulesOut(other, facts[type], tags.verbForm(readings[p].morpho))) {
                    kept[p - first] += kept[r - first];
                    break;
                }
            kept[r - first] = 0;
        }
        std::vector<Option> options;
        for (std::uint32_t o = 0; o < token.count; ++o) {
            Option option = token.options[o];
            std::uint32_t best = last;
            double emission = 0;
            for (std::uint32_t r = first; r < last; ++r)
                if (readingTag[r] == option.tag && kept[r - first] > 0) {
                    best = std::min(best, r);
                    emission += kept[r - first];
                }
            if (best == last)
                continue;
            double lemmaWeight = 0;
            for (std::uint32_t r = first; r < last; ++r)
                if (readingTag[r] == option.tag && readings[r].lemma == readings[best].lemma)
                    lemmaWeight += kept[r - first];
            option.reading = static_cast<std::uint8_t>(best - first);
            option.emission = static_cast<float>(emission);
            option.logEmission = static_cast<float>(std::log(emission));
            option.readingShare = static_cast<float>(lemmaWeight / emission);
            options.push_back(option);
        }
        if (options.empty())
            continue;
        extra.push_back(std::move(options));
        token.mood = verdicts[k] == mood::Verdict::Subjunctive ? '2' : '1';
        token.options = extra.back().data();
        token.count = static_cast<std::uint32_t>(extra.back().size());
    }
}

class SentenceTagger {
public:
    SentenceTagger(const TagModel& tags) : m_tags(tags), m_boundary{tags.boundary(), 0, 0.0f, 1.0f, 1.0f} {}

    // Fills choice (and probability) of the tokens' words.
    void tag(const std::vector<Token>& tokens, std::vector<std::uint8_t>& choice,
             std::vector<std::uint8_t>* probability)
    {
        const std::size_t n = tokens.size();
        if (n == 0)
            return;
        m_start.assign(n + 1, 0);
        for (std::size_t i = 0; i < n; ++i)
            m_start[i + 1] = m_start[i] + countAt(tokens, i - 1) * tokens[i].count;
        m_score.assign(m_start[n], -std::numeric_limits<float>::infinity());
        m_back.assign(m_start[n], 0);
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t kCount = tokens[i].count;
            const std::size_t jCount = countAt(tokens, i - 1);
            const std::size_t hCount = countAt(tokens, i - 2);
            for (std::size_t j = 0; j < jCount; ++j) {
                const TagId tj = optionAt(tokens, i - 1, j).tag;
                for (std::size_t k = 0; k < kCount; ++k) {
                    const Option& ok = tokens[i].options[k];
                    float best = -std::numeric_limits<float>::infinity();
                    std::uint8_t from = 0;
                    for (std::size_t h = 0; h < hCount; ++h) {
                        const float before = i == 0 ? 0.0f : m_score[m_start[i - 1] + h * jCount + j];
                        const float s = before + m_tags.logTransition(optionAt(tokens, i - 2, h).tag, tj, ok.tag);
                        if (s > best) {
                            best = s;
                            from = static_cast<std::uint8_t>(h);
                        }
                    }
                    m_score[m_start[i] + j * kCount + k] = best + ok.logEmission;
                    m_back[m_start[i] + j * kCount + k] = from;
                }
            }
        }
        // The sentence's end follows its last word.
        const std::size_t jCount = countAt(tokens, n - 2);
        const std::size_t kCount = tokens[n - 1].count;
        float best = -std::numeric_limits<float>::infinity();
        std::size_t bj = 0, bk = 0;
        for (std::size_t j = 0; j < jCount; ++j)
            for (std::size_t k = 0; k < kCount; ++k) {
                const float s = m_score[m_start[n - 1] + j * kCount + k]
                    + m_tags.logTransition(optionAt(tokens, n - 2, j).tag, tokens[n - 1].options[k].tag,
                                           m_tags.boundary());
                if (s > best) {
                    best = s;
                    bj = j;
                    bk = k;
                }
            }
        m_path.assign(n, 0);
        for (std::size_t i = n; i-- > 0;) {
            m_path[i] = static_cast<std::uint8_t>(bk);
            const std::size_t h = m_back[m_start[i] + bj * tokens[i].count + bk];
            bk = bj;
            bj = h;
        }
        for (std::size_t i = 0; i < n; ++i)
            if (tokens[i].word != kNoWord)
                choice[tokens[i].word] = tokens[i].options[m_path[i]].reading;
        if (probability)
            posteriors(tokens, *probability);
    }

private:
    std::size_t countAt(const std::vector<Token>& tokens, std::size_t i) const
    {
        return i >= tokens.size() ? 1 : tokens[i].count;  // before the first: the boundary
    }
    const Option& optionAt(const std::vector<Token>& tokens, std::size_t i, std::size_t k) const
    {
        return i >= tokens.size() ? m_boundary : tokens[i].options[k];
    }

    // Forward and backward over the same states, each step scaled to sum 1; the chosen
    // option's posterior times its reading's share of the tag.
    void posteriors(const std::vector<Token>& tokens, std::vector<std::uint8_t>& probability)
    {
        const std::size_t n = tokens.size();
        m_alpha.assign(m_start[n], 0.0f);
        m_beta.assign(m_start[n], 0.0f);
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t kCount = tokens[i].count, jCount = countAt(tokens, i - 1),
                              hCount = countAt(tokens, i - 2);
            double sum = 0;
            for (std::size_t j = 0; j < jCount; ++j) {
                const TagId tj = optionAt(tokens, i - 1, j).tag;
                for (std::size_t k = 0; k < kCount; ++k) {
                    const Option& ok = tokens[i].options[k];
                    float a = 0;
                    for (std::size_t h = 0; h < hCount; ++h) {
                        const float before = i == 0 ? 1.0f : m_alpha[m_start[i - 1] + h * jCount + j];
                        a += before * m_tags.transition(optionAt(tokens, i - 2, h).tag, tj, ok.tag);
                    }
                    a *= ok.emission;
                    m_alpha[m_start[i] + j * kCount + k] = a;
                    sum += a;
                }
            }
            if (sum > 0)
                for (std::size_t s = m_start[i]; s < m_start[i + 1]; ++s)
                    m_alpha[s] = static_cast<float>(m_alpha[s] / sum);
        }
        for (std::size_t i = n; i-- > 0;) {
            const std::size_t kCount = tokens[i].count, jCount = countAt(tokens, i - 1);
            double sum = 0;
            for (std::size_t j = 0; j < jCount; ++j) {
                const TagId tj = optionAt(tokens, i - 1, j).tag;
                for (std::size_t k = 0; k < kCount; ++k) {
                    const TagId tk = tokens[i].options[k].tag;
                    float b = 0;
                    if (i + 1 == n) {
                        b = m_tags.transition(tj, tk, m_tags.boundary());
                    } else {
                        const std::size_t lCount = tokens[i + 1].count;
                        for (std::size_t l = 0; l < lCount; ++l) {
                            const Option& ol = tokens[i + 1].options[l];
                            b += m_tags.transition(tj, tk, ol.tag) * ol.emission
                                * m_beta[m_start[i + 1] + k * lCount + l];
                        }
                    }
                    m_beta[m_start[i] + j * kCount + k] = b;
                    sum += b;
                }
            }
            if (sum > 0)
                for (std::size_t s = m_start[i]; s < m_start[i + 1]; ++s)
                    m_beta[s] = static_cast<float>(m_beta[s] / sum);
        }
        for (std::size_t i = 0; i < n; ++i) {
            if (tokens[i].word == kNoWord)
                continue;
            const std::size_t kCount = tokens[i].count, jCount = countAt(tokens, i - 1);
            double total = 0, chosen = 0;
            for (std::size_t j = 0; j < jCount; ++j)
                for (std::size_t k = 0; k < kCount; ++k) {
                    const double g = double(m_alpha[m_start[i] + j * kCount + k]) * m_beta[m_start[i] + j * kCount + k];
                    total += g;
                    if (k == m_path[i])
                        chosen += g;
                }
            const double p = total > 0 ? chosen / total * tokens[i].options[m_path[i]].readingShare : 0;
            probability[tokens[i].word] = static_cast<std::uint8_t>(std::lround(std::min(1.0, p) * 255));
        }
    }

    const TagModel& m_tags;
    const Option m_boundary;
    std::vector<std::size_t> m_start;
    std::vector<float> m_score, m_alpha, m_beta;
    std::vector<std::uint8_t> m_back, m_path;
};

} // namespace

// What tagging a sentence needs: the sentences, the options of each folded form and what the
// rules on mood and compound tenses know of it, and room for one sentence.
struct TextTagging::Sentences {
    Sentences(const WordTable& w, const TextLemmata& l, const lexicon::Lexicon& x, const TagModel& t, bool p)
        : words(&w), lemmata(&l), lexicon(&x), tags(&t), probabilities(p), tagger(t)
    {
    }
    const WordTable* words;
    const TextLemmata* lemmata;
    const lexicon::Lexicon* lexicon;
    const TagModel* tags;
    bool probabilities;
    std::vector<std::uint32_t> starts;  // pairs (first word, end), in text order
    // A form's readings are weighed when the first sentence that holds it is tagged: the
    // options, readings, tags and weights of a form are appended then, in that order.
    std::vector<std::uint8_t> weighed;  // by folded type
    std::vector<Option> options;
    std::vector<std::uint32_t> optionStart;   // by folded type
    std::vector<std::uint8_t> optionCount;    // by folded type
    std::vector<std::uint8_t> readingCount;   // by folded type; they start at m_readingStart
    std::vector<TagId> enclitic;
    std::vector<CompoundPart> compound;
    std::vector<mood::FormFacts> facts;
    std::vector<TagId> readingTag;
    std::vector<float> readingWeight;
    // What the weighing reads for every form.
    std::vector<lexicon::LemmaId> knowing;
    std::vector<lexicon::LemmaId> esse;
    std::vector<double> posFrequency;
    std::vector<double> weight;
    std::vector<TagId> tagOfReading;
    std::vector<Option> unknown;
    std::vector<Option> encliticOptions;
    SentenceTagger tagger;
    std::vector<Token> sentence;
    std::deque<std::vector<Option>> extra;
    std::vector<std::uint8_t> tagged;  // by pair, when tagged on demand
    std::size_t left = 0;              // pairs not tagged yet
};

TextTagging::TextTagging() = default;
TextTagging::~TextTagging() = default;
TextTagging::TextTagging(TextTagging&&) noexcept = default;
TextTagging& TextTagging::operator=(TextTagging&&) noexcept = default;

TextTagging TextTagging::onDemand(const WordTable& words, const TextLemmata& lemmata,
                                  const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags,
                                  bool probabilities)
{
    return tag(words, lemmata, lexicon, tags, probabilities, nullptr, true);
}

TextTagging TextTagging::build(const WordTable& words, const TextLemmata& lemmata,
                               const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags,
                               bool probabilities)
{
    return tag(words, lemmata, lexicon, tags, probabilities, nullptr);
}

TextTagging TextTagging::buildAround(const WordTable& words, const TextLemmata& lemmata,
                                     const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags,
                                     const ResultList& list, bool probabilities)
{
    std::vector<std::uint8_t> focus(lemmata.typeCount(), 0);
    for (const Attestation& a : list)
        for (std::uint32_t w = a.first; w < a.first + a.words && w < words.size(); ++w)
            focus[lemmata.typeOf(w)] = 1;
    return tag(words, lemmata, lexicon, tags, probabilities, &focus);
}

ResultList TextTagging::wordsOfLemmata(const WordTable& words, const TextLemmata& lemmata,
                                       const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags,
                                       const std::vector<lexicon::LemmaId>& wanted)
{
    // 1: every candidate is wanted, the word is taken whatever its sentence; 2: in doubt.
    std::vector<std::uint8_t> kind(lemmata.typeCount(), 0), focus(lemmata.typeCount(), 0);
    for (TypeId type = 0; type < lemmata.typeCount(); ++type) {
        std::size_t in = 0, out = 0;
        for (const lexicon::LemmaId id : lemmata.candidates(type))
            (std::find(wanted.begin(), wanted.end(), id) != wanted.end() ? in : out) += 1;
        if (in > 0)
            kind[type] = out == 0 ? 1 : 2;
        focus[type] = kind[type] == 2;
    }
    const TextTagging tagging = tag(words, lemmata, lexicon, tags, false, &focus);
    ResultList list;
    for (std::size_t w = 0; w < words.size(); ++w) {
        const std::uint8_t k = kind[lemmata.typeOf(w)];
        if (k == 1
            || (k == 2 && tagging.known(w)
                && std::find(wanted.begin(), wanted.end(), tagging.reading(w).lemma) != wanted.end()))
            list.push_back(Attestation{static_cast<WordIndex>(w), 1});
    }
    return list;
}

namespace {

// The written forms of a tally whose words may or may not be of the wanted lemmata, as their
// sentence decides; a word is looked up only when its length and first byte are some form's.
class FormsInDoubt {
public:
    void add(std::string_view form)
    {
        m_forms.insert(form);
        m_first[static_cast<unsigned char>(form[0])] = true;
        m_shortest = std::min(m_shortest, form.size());
        m_longest = std::max(m_longest, form.size());
    }
    bool empty() const noexcept { return m_forms.empty(); }
    bool mayBegin(unsigned char first) const noexcept { return m_first[first]; }
    bool holds(std::string_view word) const
    {
        return word.size() >= m_shortest && word.size() <= m_longest && m_forms.count(word) != 0;
    }

private:
    std::unordered_set<std::string_view> m_forms;
    std::array<bool, 256> m_first{};
    std::size_t m_shortest = static_cast<std::size_t>(-1), m_longest = 0;
};

// The sentences of `text` that hold a word in doubt, each once and in text order, each
// followed by a stop: a text the tagger cuts into those same sentences. A sentence runs from
// just after a stop (or the text's start) to its next stop (or the text's end), as
// sentenceBounds cuts them. Word starts are found 64 bytes at a time; only those whose first
// byte begins some form in doubt are read further.
std::string sentencesInDoubt(std::string_view text, const FormsInDoubt& doubt)
{
    const std::array<bool, 256>& letter = letterTable(LetterSet::Extended);
    const auto* const p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    std::string kept;
    std::size_t keptEnd = 0;  // no sentence to keep starts before
    // The word starting at s: its sentence kept when it is in doubt. Where the scan goes on.
    const auto take = [&](std::size_t s) {
        std::size_t end = s + 1;
        while (end < n && letter[p[end]])
            ++end;
        if (!doubt.holds(text.substr(s, end - s)))
            return end;
        std::size_t begin = s;
        while (begin > keptEnd && !endsSentence(p[begin - 1]))
            --begin;
        std::size_t stop = end;
        while (stop < n && !endsSentence(p[stop]))
            ++stop;
        kept.append(text.data() + begin, stop - begin);
        // A question keeps its mark: the mood of a verb may turn on it.
        kept += stop < n && p[stop] == '?' ? '?' : '.';
        keptEnd = stop;
        return stop;
    };
    std::size_t i = 0;
    if (kWordsAtOnce) {
        while (i + 64 <= n) {
            const std::uint64_t letters = letterBits(p + i, letter);
            const std::uint64_t before = i > 0 && letter[p[i - 1]] ? 1 : 0;
            std::uint64_t starts = letters & ~((letters << 1) | before);
            std::size_t next = i + 64;
            while (starts) {
                const std::size_t s = i + lowestBit(starts);
                starts &= starts - 1;
                if (!doubt.mayBegin(p[s]))
                    continue;
                const std::size_t resume = take(s);
                if (resume >= i + 64) {
                    next = resume;
                    break;
                }
                starts &= ~((std::uint64_t(1) << (resume - i)) - 1);
            }
            i = next;
        }
    }
    while (i < n) {
        if (letter[p[i]] && (i == 0 || !letter[p[i - 1]]) && doubt.mayBegin(p[i]))
            i = take(i);
        else
            ++i;
    }
    return kept;
}

// Each sentence as a pair (first word, end word), in text order: a sentence starts at strong
// punctuation and markers, and now and then in a long run without a stop, since the
// tagger's tables grow with a sentence.
std::vector<std::uint32_t> sentenceBounds(const WordTable& words)
{
    std::vector<std::uint32_t> bounds;
    const std::string& text = words.text();
    std::size_t previousEnd = 0, length = 0;
    for (std::size_t w = 0; w < words.size(); ++w) {
        const std::size_t start = words.formOffset(w);
        const bool cut = w == 0 || length >= kLongestSentence || sentenceEndsWithin(text, previousEnd, start);
        if (cut) {
            if (w > 0)
                bounds.push_back(static_cast<std::uint32_t>(w));  // the end of the one before
            bounds.push_back(static_cast<std::uint32_t>(w));
            length = 0;
        }
        ++length;
        previousEnd = start + words.form(w).size();
    }
    if (!words.empty())
        bounds.push_back(static_cast<std::uint32_t>(words.size()));
    return bounds;
}

// A by-word array written whole at once: offered large pages before its first touch.
void fillByWord(std::vector<std::uint8_t>& array, std::size_t words, std::uint8_t value)
{
    array.reserve(words);
    sys::adviseLargePages(array.data(), words);
    array.assign(words, value);
}

} // namespace

TextTagging TextTagging::tag(const WordTable& words, const TextLemmata& lemmata, const lexicon::Lexicon& lexicon,
                             const lexicon::TagModel& tags, bool probabilities,
                             const std::vector<std::uint8_t>* focus, bool onDemand)
{
    TextTagging t;
    t.m_lemmata = &lemmata;
    auto left = std::make_unique<Sentences>(words, lemmata, lexicon, tags, probabilities);
    Sentences& p = *left;
    const std::size_t types = lemmata.typeCount();
    // The sentences to tag: those that hold a word in focus, when some are.
    std::vector<std::uint32_t>& starts = p.starts;
    starts = sentenceBounds(words);
    if (focus) {
        std::vector<std::uint32_t> kept;
        for (std::size_t s = 0; s + 1 < starts.size(); s += 2) {
            bool hasFocus = false;
            for (std::uint32_t w = starts[s]; w < starts[s + 1] && !hasFocus; ++w)
                hasFocus = (*focus)[lemmata.typeOf(w)] != 0;
            if (!hasFocus)
                continue;
            kept.push_back(starts[s]);
            kept.push_back(starts[s + 1]);
        }
        starts = std::move(kept);
    }

    p.weighed.assign(types, 0);
    p.optionStart.assign(types, 0);
    p.optionCount.assign(types, 0);
    p.readingCount.assign(types, 0);
    t.m_readingStart.assign(types, 0);
    p.enclitic.assign(types, TagModel::npos);
    // What the rules on mood know of each form, and each reading's tag and weight, for the
    // words whose mood they decide.
    p.compound.resize(types);
    p.facts.resize(types);
    if (!tags.empty())
        p.knowing = mood::knowingVerbs(lexicon);
    p.esse = lexicon.lemmataNamed("sum1");
    // Each part of speech's total frequency: a lemma's share of it is P(lemma | tag).
    p.posFrequency.assign(256, 1.0);
    for (lexicon::LemmaId id = 0; id < lexicon.lemmaCount(); ++id)
        p.posFrequency[static_cast<unsigned char>(lexicon.partOfSpeech(id))] += lexicon.lemma(id).frequency + 1.0;
    // An unknown word may be any noun; the context alone chooses.
    std::vector<Option>& unknown = p.unknown;
    for (const TagId tag : tags.unknownWordTags())
        unknown.push_back({tag, kNone, 0.0f, 1.0f, 1.0f});
    const Option encliticOption{0, kNone, 0.0f, 1.0f, 1.0f};
    std::vector<Option>& encliticOptions = p.encliticOptions;
    encliticOptions.assign(tags.tagCount(), encliticOption);
    for (std::size_t tag = 0; tag < encliticOptions.size(); ++tag)
        encliticOptions[tag].tag = static_cast<TagId>(tag);

    fillByWord(t.m_choice, words.size(), kNone);
    if (probabilities)
        fillByWord(t.m_probability, words.size(), 0);
    if (onDemand) {
        p.tagged.assign(starts.size() / 2, 0);
        p.left = p.tagged.size();
        t.m_untagged = std::move(left);
        return t;
    }
    for (std::size_t s = 0; s + 1 < starts.size(); s += 2)
        t.tagSentence(p, s);
    return t;
}

void TextTagging::weigh(Sentences& p, TypeId type) const
{
    const TextLemmata& lemmata = *p.lemmata;
    const lexicon::Lexicon& lexicon = *p.lexicon;
    const TagModel& tags = *p.tags;
    std::vector<Option>& options = p.options;
    p.weighed[type] = 1;
    p.optionStart[type] = static_cast<std::uint32_t>(options.size());
    m_readingStart[type] = static_cast<std::uint32_t>(m_readings.size());
    if (lemmata.candidates(type).empty()) {
        // A word the lexicon lacks may still govern a mood ("quoadusque").
        if (!tags.empty())
            p.facts[type] = mood::factsOf(lemmata.typeForm(type), {}, {}, lexicon, tags, p.knowing);
        return;
    }
    lexicon::FormAnalyses found = lexicon.analyses(lemmata.typeForm(type));
    if (found.readings.size() >= kNone)
        found.readings.resize(kNone - 1);
    p.readingCount[type] = static_cast<std::uint8_t>(found.readings.size());
    m_readings.insert(m_readings.end(), found.readings.begin(), found.readings.end());
    if (tags.empty()) {
        // Nothing to weigh the readings with: the first, most frequent lemma's, stands.
        if (!found.readings.empty())
            options.push_back({0, 0, 0.0f, 1.0f, 1.0f});
        p.optionCount[type] = static_cast<std::uint8_t>(options.size() - p.optionStart[type]);
        return;
    }
    // What a tag says of the form: P(form | tag), summed over the readings with that
    // tag. A lemma stands for its part of speech as often as its frequency says (one
    // more, so that none is nil); the tag then picks one of the morphologies it bears.
    std::vector<TagId>& tagOfReading = p.tagOfReading;
    std::vector<double>& weight = p.weight;
    tagOfReading.clear();
    weight.clear();
    for (const Analysis& a : found.readings) {
        const char pos = lexicon.partOfSpeech(a.lemma);
        TagId tag = tags.tagOf(pos, a.morpho);
        if (tag == TagModel::npos)
            tag = tags.unknownWordTags().front();
        tagOfReading.push_back(tag);
        weight.push_back((lexicon.lemma(a.lemma).frequency + 1.0) / p.posFrequency[static_cast<unsigned char>(pos)]
                         / tags.morphologiesOf(pos, tag));
    }
    const std::size_t first = options.size();
    for (std::size_t r = 0; r < found.readings.size(); ++r) {
        const TagId tag = tagOfReading[r];
        auto at = std::find_if(options.begin() + static_cast<std::ptrdiff_t>(first), options.end(),
                               [tag](const Option& o) { return o.tag == tag; });
        if (at == options.end()) {
            // Readings come most frequent lemma first: the first of a tag is its best.
            options.push_back({tag, static_cast<std::uint8_t>(r), 0.0f, 0.0f, 0.0f});
            at = options.end() - 1;
        }
        at->emission += static_cast<float>(weight[r]);
    }
    for (std::size_t o = first; o < options.size(); ++o) {
        // The share of the chosen lemma among the tag's readings: what the context cannot
        // tell apart, the frequencies do.
        Option& opt = options[o];
        double lemmaWeight = 0;
        for (std::size_t r = 0; r < found.readings.size(); ++r)
            if (tagOfReading[r] == opt.tag && found.readings[r].lemma == found.readings[opt.reading].lemma)
                lemmaWeight += weight[r];
        opt.readingShare = static_cast<float>(lemmaWeight / opt.emission);
        opt.logEmission = std::log(opt.emission);
    }
    p.optionCount[type] = static_cast<std::uint8_t>(options.size() - first);
    p.compound[type] = compoundPart(found, tagOfReading, weight, tags, p.esse);
    p.facts[type] = mood::factsOf(lemmata.typeForm(type), found.readings, weight, lexicon, tags, p.knowing);
    p.readingTag.insert(p.readingTag.end(), tagOfReading.begin(), tagOfReading.end());
    p.readingWeight.insert(p.readingWeight.end(), weight.begin(), weight.end());
    p.enclitic[type] = tags.encliticTag(found.enclitic);
}

void TextTagging::tagSentence(Sentences& p, std::size_t s) const
{
    const TextLemmata& lemmata = *p.lemmata;
    const TagModel& tags = *p.tags;
    std::vector<Token>& sentence = p.sentence;
    sentence.clear();
    p.extra.clear();
    // Weighed before any token points into the options.
    for (std::uint32_t w = p.starts[s]; w < p.starts[s + 1]; ++w)
        if (!p.weighed[lemmata.typeOf(w)])
            weigh(p, lemmata.typeOf(w));
    for (std::uint32_t w = p.starts[s]; w < p.starts[s + 1]; ++w) {
        const TypeId type = lemmata.typeOf(w);
        const std::uint32_t count = p.optionCount[type];
        if (count == 0) {
            sentence.push_back({p.unknown.data(), static_cast<std::uint32_t>(p.unknown.size()), w});
            continue;
        }
        sentence.push_back({p.options.data() + p.optionStart[type], count, w});
        if (p.enclitic[type] != TagModel::npos)
            sentence.push_back({&p.encliticOptions[p.enclitic[type]], 1, kNoWord});
    }
    if (tags.empty()) {
        // Without the counts, the most frequent lemma's first reading.
        for (const Token& token : sentence)
            if (token.word != kNoWord)
                m_choice[token.word] = token.options == p.unknown.data() ? kNone : 0;
    } else {
        chooseMoods(sentence, *p.words, p.starts[s + 1], lemmata, p.facts, m_readings, m_readingStart, p.readingCount, p.readingTag,
                    p.readingWeight, tags, p.extra);
        offerCompoundTenses(sentence, lemmata, p.compound, tags, p.extra);
        p.tagger.tag(sentence, m_choice, p.probabilities ? &m_probability : nullptr);
    }
    sentence.clear();
    p.extra.clear();
}

void TextTagging::tagLeftSentenceOf(std::size_t word) const
{
    Sentences& p = *m_untagged;
    // The pairs (first word, end) come in text order.
    std::size_t lo = 0, hi = p.tagged.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (p.starts[2 * mid + 1] <= word)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == p.tagged.size() || word < p.starts[2 * lo] || p.tagged[lo])
        return;
    tagSentence(p, 2 * lo);
    p.tagged[lo] = 1;
    // Once every sentence is tagged, what tagging them needed goes.
    if (--p.left == 0)
        m_untagged.reset();
}

std::string TextTagging::describe(std::size_t word, const lexicon::Lexicon& lexicon,
                                  const lexicon::TagModel& tags) const
{
    if (!known(word))
        return {};
    const Analysis a = reading(word);
    std::string text(lexicon.lemma(a.lemma).spelling);
    text += ", ";
    text += tags.morphoName(a.morpho);
    if (!m_probability.empty()) {
        // Two decimals, with a point: the same on every system, whatever its locale.
        const long hundredths = std::lround(probability(word) * 100);
        text += ", ";
        text += std::to_string(hundredths / 100);
        text += '.';
        text += static_cast<char>('0' + hundredths % 100 / 10);
        text += static_cast<char>('0' + hundredths % 10);
    }
    return text;
}

namespace {

std::vector<std::string_view> wordsOf(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < text.size()) {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        const std::size_t start = at;
        while (at < text.size() && text[at] != ' ' && text[at] != '\t')
            ++at;
        if (at > start)
            words.push_back(text.substr(start, at - start));
    }
    return words;
}

} // namespace

AnalysisFilter AnalysisFilter::parse(std::string_view words, const lexicon::TagModel& tags, std::string& refusal)
{
    AnalysisFilter filter;
    refusal.clear();
    std::string unknown;
    const std::vector<std::string>& accepted = tags.morphoWords();
    for (const std::string_view word : wordsOf(words)) {
        if (std::binary_search(accepted.begin(), accepted.end(), word)) {
            filter.m_words.emplace_back(word);
        } else {
            unknown += unknown.empty() ? "« " : ", « ";
            unknown.append(word);
            unknown += " »";
        }
    }
    if (!unknown.empty()) {
        refusal = "Mot d'analyse inconnu : " + unknown + ". Mots acceptés :";
        for (const std::string& w : accepted)
            refusal += " " + w;
        refusal += ".";
        filter.m_words.clear();
    }
    return filter;
}

bool AnalysisFilter::accepts(std::string_view analysisName) const
{
    const std::vector<std::string_view> name = wordsOf(analysisName);
    for (const std::string& w : m_words)
        if (std::find(name.begin(), name.end(), w) == name.end())
            return false;
    return true;
}

ResultList TextTagging::wordsOf(const std::vector<lexicon::LemmaId>& lemmata) const
{
    ResultList list;
    for (std::size_t w = 0; w < m_choice.size(); ++w)
        if (known(w) && std::find(lemmata.begin(), lemmata.end(), reading(w).lemma) != lemmata.end())
            list.push_back(Attestation{static_cast<WordIndex>(w), 1});
    return list;
}

std::size_t TextTagging::wordCount(const std::vector<lexicon::LemmaId>& lemmata) const
{
    std::size_t count = 0;
    for (std::size_t w = 0; w < m_choice.size(); ++w)
        if (known(w) && std::find(lemmata.begin(), lemmata.end(), reading(w).lemma) != lemmata.end())
            ++count;
    return count;
}

std::size_t TextTagging::countWordsOfLemmata(std::string_view text, const FormTally& forms,
                                             const lexicon::Lexicon& lexicon, const lexicon::TagModel& tags,
                                             const std::vector<lexicon::LemmaId>& wanted)
{
    const auto isWanted = [&wanted](lexicon::LemmaId id) {
        return std::find(wanted.begin(), wanted.end(), id) != wanted.end();
    };
    // Each written form's candidates, as the text's lemmata would find them; written forms
    // that fold alike are analysed once.
    const lexicon::Lexicon::FormFilter filter = lexicon.formFilter(wanted);
    std::unordered_map<std::string, std::uint8_t> kindOfFolded;  // 0 none, 1 all wanted, 2 in doubt
    std::string folded;
    std::vector<lexicon::LemmaId> candidates;
    std::size_t count = 0;
    FormsInDoubt doubt;
    for (FormTally::TypeId t = 0; t < forms.typeCount(); ++t) {
        folded.clear();
        appendFolded(folded, forms.typeText(t), Folding::Spelling);
        if (!filter.mayGive(folded))
            continue;
        auto it = kindOfFolded.find(folded);
        if (it == kindOfFolded.end()) {
            candidates.clear();
            lexicon.analyse(folded, candidates);
            const std::size_t in = static_cast<std::size_t>(std::count_if(candidates.begin(), candidates.end(), isWanted));
            it = kindOfFolded.emplace(folded, in == 0 ? 0 : in == candidates.size() ? 1 : 2).first;
        }
        if (it->second == 1)
            count += forms.typeFrequency(t);
        else if (it->second == 2)
            doubt.add(forms.typeText(t));
    }
    if (doubt.empty())
        return count;

    // The words in doubt, read in their sentences put together.
    const WordTable sentences = WordTable::segment(sentencesInDoubt(text, doubt), LetterSet::Extended);
    const TextLemmata lemmata = TextLemmata::build(sentences, lexicon);
    for (const Attestation& a : wordsOfLemmata(sentences, lemmata, lexicon, tags, wanted)) {
        const TextLemmata::Candidates c = lemmata.candidates(lemmata.typeOf(a.first));
        if (!std::all_of(c.begin(), c.end(), isWanted))
            ++count;
    }
    return count;
}

} // namespace quorvex
