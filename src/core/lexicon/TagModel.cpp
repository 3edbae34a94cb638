#include "lexicon/TagModel.h"

#include "lexicon/LexiconLines.h"
#include "lexicon/LexiconReader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <new>
#include <set>

namespace quorvex::lexicon {

namespace {

using namespace lines;

constexpr std::string_view kPartsOfSpeech = "napmvdcri";
constexpr std::size_t kMorphoSlots = kMaxMorpho + 1;

// The parts of a morphology's French name that make its tag.
struct MorphoParts {
    char grammaticalCase = 0;  // '1'..'7'
    char number = 0;           // '1', '2'
    char mood = 0;             // '1' indicative .. '4' infinitive, 'w' participle and kin
    bool present = false;
    bool supineU = false, supineUm = false, gerund = false;
    bool gender = false;
    bool degree = false;  // comparative or superlative
};

// Whether models of that part of speech use the morphology: nouns have no gender, adjectives
// and pronouns have one, verbs a mood; an invariable word has its one form.
bool usedBy(char pos, const MorphoParts& m, std::size_t morpho)
{
    switch (pos) {
    case 'n': return !m.gender && !m.mood;
    case 'a': return (m.gender || !m.grammaticalCase) && !m.mood;
    case 'p':
    case 'm': return (m.gender || !m.grammaticalCase) && !m.mood && !m.degree;
    case 'v': return m.mood != 0;
    default: return morpho == 416;
    }
}

MorphoParts partsOf(std::string_view name)
{
    MorphoParts p;
    const auto has = [name](std::string_view w) { return name.find(w) != std::string_view::npos; };
    static const std::pair<std::string_view, char> cases[] = {
        {"nominatif", '1'}, {"vocatif", '2'}, {"accusatif", '3'}, {"génitif", '4'},
        {"datif", '5'},     {"ablatif", '6'}, {"locatif", '7'}};
    for (const auto& [word, digit] : cases)
        if (has(word))
            p.grammaticalCase = digit;
    p.number = has("singulier") ? '1' : has("pluriel") ? '2' : 0;
    if (has("indicatif"))
        p.mood = '1';
    else if (has("subjonctif"))
        p.mood = '2';
    else if (has("impératif"))
        p.mood = '3';
    else if (has("infinitif"))
        p.mood = '4';
    else if (has("participe") || has("adjectif verbal") || has("gérondif") || has("supin"))
        p.mood = 'w';
    p.present = has("présent");
    p.gender = has("masculin") || has("féminin") || has("neutre");
    p.degree = has("comparatif") || has("superlatif");
    p.gerund = has("gérondif");
    p.supineUm = has("supin en -um");
    p.supineU = has("supin en -u") && !p.supineUm;
    return p;
}

// The tag code of an analysis (see the header for the codes).
std::string codeOf(char pos, const MorphoParts& m)
{
    std::string code(1, pos);
    switch (pos) {
    case 'v':
        if (m.mood == 'w') {
            code = "w";
            if (m.supineUm)
                return "w31";
            if (m.supineU)
                return "w61";
            code += m.grammaticalCase ? m.grammaticalCase : '8';
            code += m.gerund ? '1' : (m.number ? m.number : '1');
            return code;
        }
        code += m.mood ? m.mood : '1';
        if (m.present)
            code += '1';
        return code;
    case 'n':
    case 'a':
    case 'p':
    case 'm':
        if (!m.grammaticalCase)
            return code + "8";
        code += m.grammaticalCase;
        code += m.number ? m.number : '1';
        return code;
    default: return code;
    }
}

VerbForm verbFormOf(std::string_view name)
{
    VerbForm v;
    const auto has = [name](std::string_view w) { return name.find(w) != std::string_view::npos; };
    if (has("indicatif"))
        v.mood = VerbForm::Mood::Indicative;
    else if (has("subjonctif"))
        v.mood = VerbForm::Mood::Subjunctive;
    else if (has("impératif"))
        v.mood = VerbForm::Mood::Imperative;
    else if (has("infinitif") || has("participe") || has("adjectif verbal") || has("gérondif") || has("supin"))
        v.mood = VerbForm::Mood::Other;
    else
        return v;
    // "imparfait" holds "parfait", "futur antérieur" holds "futur": the longer first.
    using Tense = VerbForm::Tense;
    v.tense = has("futur antérieur") ? Tense::FuturePerfect
        : has("futur")               ? Tense::Future
        : has("imparfait")           ? Tense::Imperfect
        : has("PQP")                 ? Tense::Pluperfect
        : has("parfait")             ? Tense::Perfect
        : has("présent")             ? Tense::Present
                                     : Tense::None;
    v.person = has("1ère") ? 1 : has("2ème") ? 2 : has("3ème") ? 3 : 0;
    v.number = has("singulier") ? 1 : has("pluriel") ? 2 : 0;
    return v;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    return s;
}

} // namespace

namespace {

// Codes are three bytes at most: one number each.
std::uint32_t codeKey(std::string_view code)
{
    std::uint32_t key = 0;
    for (std::size_t i = 0; i < 3; ++i)
        key = (key << 8) | (i < code.size() ? static_cast<unsigned char>(code[i]) : 0u);
    return key;
}

} // namespace

TagId TagModel::internCode(std::string_view code)
{
    if (code.size() > 3)
        return npos;
    const std::uint32_t key = codeKey(code);
    const auto at = m_byCode.find(key);
    if (at != m_byCode.end())
        return at->second;
    if (m_codes.size() >= npos)
        return npos;
    m_codes.emplace_back(code);
    const auto tag = static_cast<TagId>(m_codes.size() - 1);
    m_byCode.emplace(key, tag);
    return tag;
}

TagId TagModel::tagOfCode(std::string_view code) const noexcept
{
    if (code.size() > 3)
        return npos;
    const auto at = m_byCode.find(codeKey(code));
    return at == m_byCode.end() ? npos : at->second;
}

TagModel TagModel::load(const std::string& folder, LexiconProblem& failure,
                        std::vector<LexiconProblem>& malformed)
{
    failure = {};
    const bool separated = folder.empty() || folder.back() == '/'
        || folder.back() == static_cast<char>(std::filesystem::path::preferred_separator);
    const std::string base = separated ? folder : folder + "/";
    try {
        TagTexts texts;
        failure = readWhole(base + "tags.la", texts.tags);
        if (!failure)
            failure = readWhole(base + "morphos.fr", texts.morphos);
        if (failure)
            return TagModel();
        std::vector<LexiconProblem> problems;
        TagModel model = parse(texts, problems);
        for (LexiconProblem& p : problems) {
            p.file = base + p.file;
            malformed.push_back(std::move(p));
        }
        return model;
    } catch (const std::bad_alloc&) {
        failure = {ProblemKind::OutOfMemory, folder, 0, "", 0};
        return TagModel();
    }
}

TagModel TagModel::parse(const TagTexts& texts, std::vector<LexiconProblem>& malformed)
{
    TagModel model;
    // Names first: the tags of the analyses are read off them.
    model.m_morphoNames.assign(kMorphoSlots, std::string());
    model.m_verbForms.assign(kMorphoSlots, VerbForm());
    std::set<std::string> words;
    forEachLine(texts.morphos, false, [&](std::string_view line, std::size_t number) {
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos)
            return;  // the lists of cases, moods... that follow the names
        int morpho;
        if (!parseNumber(line.substr(0, colon), morpho) || morpho > kMaxMorpho) {
            malformed.push_back({ProblemKind::MalformedLine, "morphos.fr", number,
                                 "numéro de morphologie mal écrit", 0});
            return;
        }
        const std::string name(trimmed(line.substr(colon + 1)));
        model.m_morphoNames[static_cast<std::size_t>(morpho)] = name;
        model.m_verbForms[static_cast<std::size_t>(morpho)] = verbFormOf(name);
        for (const std::string_view word : split(name, ' '))
            if (!word.empty())
                words.emplace(word);
    });
    model.m_morphoWords.assign(words.begin(), words.end());

    // "tag,count", then "t1 t2 t3,count" (tags padded to three characters) and a few
    // "t1 t2,count" at the corpus' edges, which the trigrams already hold.
    std::vector<double> unigrams;
    std::vector<std::array<TagId, 3>> keys;
    std::vector<std::uint32_t> counts;
    forEachLine(texts.tags, false, [&](std::string_view line, std::size_t number) {
        const std::size_t comma = line.rfind(',');
        int count = 0;
        if (comma == std::string_view::npos || !parseNumber(line.substr(comma + 1), count)) {
            malformed.push_back({ProblemKind::MalformedLine, "tags.la", number, "« étiquette,nombre » attendu", 0});
            return;
        }
        const std::string_view key = line.substr(0, comma);
        if (key.size() <= 3) {
            const TagId tag = model.internCode(trimmed(key));
            if (tag == npos)
                return;
            unigrams.resize(model.m_codes.size(), 0.0);
            unigrams[tag] += count;
            return;
        }
        if (key.size() != 11)
            return;  // a bigram at an edge
        std::array<TagId, 3> tri{};
        for (int k = 0; k < 3; ++k) {
            tri[k] = model.internCode(trimmed(key.substr(static_cast<std::size_t>(k) * 4, 3)));
            if (tri[k] == npos)
                return;
        }
        keys.push_back(tri);
        counts.push_back(static_cast<std::uint32_t>(count));
    });
    model.m_boundary = model.tagOfCode("snt");
    if (model.m_boundary == npos || keys.empty()) {
        model.m_codes.clear();
        return model;
    }
    model.mapMorphologies();
    for (const char c : std::string_view("123456"))
        for (const char n : std::string_view("12"))
            model.m_unknownTags.push_back(model.internCode(std::string{'n', c, n}));
    model.m_que = model.internCode("ce");
    model.m_ne = model.internCode("de");
    model.m_tagCount = model.m_codes.size();
    unigrams.resize(model.m_tagCount, 0.0);
    const std::size_t n = model.m_tagCount;
    // The counts go where their logarithms will: a count is exact in a float.
    model.m_transitions.assign(n * n * n, 0.0f);
    for (std::size_t i = 0; i < keys.size(); ++i)
        model.m_transitions[(keys[i][0] * n + keys[i][1]) * n + keys[i][2]] += static_cast<float>(counts[i]);
    model.computeTransitions(unigrams);
    return model;
}

void TagModel::mapMorphologies()
{
    m_tagByMorpho.assign(kPartsOfSpeech.size() * kMorphoSlots, npos);
    m_morphologiesPerTag.assign(kPartsOfSpeech.size() * 256, 0);
    for (std::size_t morpho = 0; morpho < kMorphoSlots; ++morpho) {
        if (m_morphoNames[morpho].empty())
            continue;
        const MorphoParts parts = partsOf(m_morphoNames[morpho]);
        for (std::size_t p = 0; p < kPartsOfSpeech.size(); ++p) {
            const TagId tag = internCode(codeOf(kPartsOfSpeech[p], parts));
            m_tagByMorpho[p * kMorphoSlots + morpho] = tag;
            if (tag != npos && usedBy(kPartsOfSpeech[p], parts, morpho))
                ++m_morphologiesPerTag[p * 256 + tag];
        }
    }
}

int TagModel::morphologiesOf(char partOfSpeech, TagId tag) const noexcept
{
    const std::size_t p = kPartsOfSpeech.find(partOfSpeech);
    if (p == std::string_view::npos || m_morphologiesPerTag.empty())
        return 1;
    return std::max<int>(1, m_morphologiesPerTag[p * 256 + tag]);
}

// Interpolated trigrams with weights by deleted interpolation (Brants, "TnT", 2000): each
// trigram's count goes to the estimate that predicts it best once that trigram is left out.
void TagModel::computeTransitions(const std::vector<double>& unigrams)
{
    const std::size_t n = m_tagCount;
    const std::vector<float>& trigrams = m_transitions;
    std::vector<double> pair12(n * n, 0.0), pair23(n * n, 0.0), context2(n, 0.0);
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = 0; b < n; ++b)
            for (std::size_t c = 0; c < n; ++c) {
                const double k = trigrams[(a * n + b) * n + c];
                pair12[a * n + b] += k;
                pair23[b * n + c] += k;
            }
    for (std::size_t b = 0; b < n; ++b)
        for (std::size_t c = 0; c < n; ++c)
            context2[b] += pair23[b * n + c];
    double total = 0;
    for (const double u : unigrams)
        total += u;
    double lambda[3] = {0, 0, 0};
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = 0; b < n; ++b)
            for (std::size_t c = 0; c < n; ++c) {
                const double k = trigrams[(a * n + b) * n + c];
                if (k == 0)
                    continue;
                const double p3 = pair12[a * n + b] > 1 ? (k - 1) / (pair12[a * n + b] - 1) : 0;
                const double p2 = context2[b] > 1 ? (pair23[b * n + c] - 1) / (context2[b] - 1) : 0;
                const double p1 = total > 1 ? (unigrams[c] - 1) / (total - 1) : 0;
                lambda[p3 >= p2 && p3 >= p1 ? 2 : p2 >= p1 ? 1 : 0] += k;
            }
    const double sum = lambda[0] + lambda[1] + lambda[2];
    for (double& l : lambda)
        l = sum > 0 ? l / sum : 1.0 / 3;
    // A tag the counts never saw keeps a sliver of probability.
    std::vector<double> share(n);
    double shares = 0;
    for (std::size_t c = 0; c < n; ++c) {
        share[c] = unigrams[c] > 0 ? unigrams[c] : 0.5;
        shares += share[c];
    }
    m_logShare.resize(n);
    for (std::size_t c = 0; c < n; ++c) {
        share[c] /= shares;
        m_logShare[c] = static_cast<float>(std::log(share[c]));
    }
    // A context the trigrams never saw is its bigram row; one they saw is that row scaled
    // down to make room for its trigrams, which alone need a logarithm of their own: a
    // thousandth of the table.
    std::vector<float> bigramRow(n * n);
    std::vector<double> bigramP(n * n);
    for (std::size_t b = 0; b < n; ++b)
        for (std::size_t c = 0; c < n; ++c) {
            double p = lambda[0] * share[c], weight = lambda[0];
            if (context2[b] > 0) {
                p += lambda[1] * pair23[b * n + c] / context2[b];
                weight += lambda[1];
            }
            bigramP[b * n + c] = p;
            bigramRow[b * n + c] = static_cast<float>(std::log(p / weight));
        }
    std::vector<float> counts(n);
    for (std::size_t a = 0; a < n; ++a)
        for (std::size_t b = 0; b < n; ++b) {
            float* row = &m_transitions[(a * n + b) * n];
            const float* bigram = &bigramRow[b * n];
            if (pair12[a * n + b] == 0) {
                std::copy(bigram, bigram + n, row);
                continue;
            }
            const double weight = lambda[0] + (context2[b] > 0 ? lambda[1] : 0.0) + lambda[2];
            const double bigramWeight = weight - lambda[2];
            const auto scale = static_cast<float>(std::log(bigramWeight / weight));
            std::copy(row, row + n, counts.begin());
            for (std::size_t c = 0; c < n; ++c)
                row[c] = counts[c] == 0
                    ? bigram[c] + scale
                    : static_cast<float>(std::log(
                          (bigramP[b * n + c] + lambda[2] * counts[c] / pair12[a * n + b]) / weight));
        }
}

TagId TagModel::tagOf(char partOfSpeech, std::uint16_t morpho) const noexcept
{
    const std::size_t p = kPartsOfSpeech.find(partOfSpeech);
    if (p == std::string_view::npos || morpho >= kMorphoSlots || m_tagByMorpho.empty())
        return npos;
    return m_tagByMorpho[p * kMorphoSlots + morpho];
}

TagId TagModel::encliticTag(FormAnalyses::Enclitic enclitic) const noexcept
{
    switch (enclitic) {
    case FormAnalyses::Enclitic::None: return npos;
    case FormAnalyses::Enclitic::Ne: return m_ne;
    case FormAnalyses::Enclitic::Que:
    case FormAnalyses::Enclitic::Ue: return m_que;
    }
    return npos;
}

const VerbForm& TagModel::verbForm(std::uint16_t morpho) const noexcept
{
    static const VerbForm none;
    return morpho < m_verbForms.size() ? m_verbForms[morpho] : none;
}

const std::string& TagModel::morphoName(std::uint16_t morpho) const noexcept
{
    static const std::string none;
    return morpho < m_morphoNames.size() ? m_morphoNames[morpho] : none;
}

} // namespace quorvex::lexicon
