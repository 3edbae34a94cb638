#include "concordance/TextLemmata.h"

#include "concordance/SpellingFold.h"

#include <algorithm>
#include <unordered_map>

namespace quorvex {

TextLemmata TextLemmata::build(const WordTable& words, const lexicon::Lexicon& lexicon)
{
    TextLemmata t;
    t.m_lexicon = &lexicon;
    t.m_words = &words;
    // The table's types are its distinct forms as written: each is folded once, and each
    // distinct folded form analysed once; the words themselves are never walked.
    const std::size_t written = words.typeCount();
    t.m_writtenTypes.reserve(written);
    std::unordered_map<std::string, TypeId> byFolded;
    byFolded.reserve(written);
    std::string folded;
    t.m_candidateStart.push_back(0);
    for (WordTable::TypeId w = 0; w < written; ++w) {
        folded.clear();
        appendFolded(folded, words.typeText(w), Folding::Spelling);
        const auto [it, inserted] = byFolded.emplace(folded, static_cast<TypeId>(t.m_typeForms.size()));
        if (inserted) {
            t.m_typeForms.push_back(folded);
            t.m_typeFrequency.push_back(0);
            lexicon.analyse(folded, t.m_candidates);
            t.m_candidateStart.push_back(static_cast<std::uint32_t>(t.m_candidates.size()));
        }
        t.m_writtenTypes.push_back(it->second);
        t.m_typeFrequency[it->second] += words.typeFrequency(w);
    }
    for (TypeId type = 0; type < t.m_typeForms.size(); ++type)
        if (!t.candidates(type).empty())
            t.m_explainedWords += t.m_typeFrequency[type];
    t.m_sortedTypes.resize(t.m_typeForms.size());
    for (TypeId type = 0; type < t.m_sortedTypes.size(); ++type)
        t.m_sortedTypes[type] = type;
    std::sort(t.m_sortedTypes.begin(), t.m_sortedTypes.end(),
              [&t](TypeId a, TypeId b) { return t.m_typeForms[a] < t.m_typeForms[b]; });
    return t;
}

TextLemmata::TypeId TextLemmata::findType(std::string_view folded) const
{
    const auto at = std::lower_bound(
        m_sortedTypes.begin(), m_sortedTypes.end(), folded,
        [this](TypeId type, std::string_view f) { return std::string_view(m_typeForms[type]) < f; });
    if (at == m_sortedTypes.end() || m_typeForms[*at] != folded)
        return npos;
    return *at;
}

std::vector<TextLemmata::TypeId> TextLemmata::typesOf(const std::vector<LemmaId>& lemmata,
                                                      bool strict) const
{
    std::vector<TypeId> types;
    for (TypeId type = 0; type < m_typeForms.size(); ++type) {
        const Candidates c = candidates(type);
        if (c.empty())
            continue;
        const std::uint32_t top = m_lexicon->lemma(*c.begin()).frequency;
        for (const LemmaId id : c) {
            if (strict && m_lexicon->lemma(id).frequency != top)
                break;  // candidates come most frequent first
            if (std::find(lemmata.begin(), lemmata.end(), id) != lemmata.end()) {
                types.push_back(type);
                break;
            }
        }
    }
    return types;
}

std::size_t TextLemmata::wordCount(const std::vector<TypeId>& types) const
{
    std::vector<bool> counted(m_typeForms.size(), false);
    std::size_t total = 0;
    for (const TypeId type : types) {
        if (!counted[type])
            total += m_typeFrequency[type];
        counted[type] = true;
    }
    return total;
}

ResultList TextLemmata::wordsOf(const std::vector<TypeId>& types) const
{
    std::vector<std::uint8_t> folded(m_typeForms.size(), 0);
    for (const TypeId type : types)
        folded[type] = 1;
    std::vector<std::uint8_t> wanted(m_writtenTypes.size(), 0);
    for (std::size_t w = 0; w < wanted.size(); ++w)
        wanted[w] = folded[m_writtenTypes[w]];
    ResultList words;
    words.reserve(wordCount(types));
    m_words->forEachWordOfTypes(
        wanted, [&words](std::size_t i) { words.push_back(Attestation{static_cast<WordIndex>(i), 1}); });
    return words;
}

} // namespace quorvex
