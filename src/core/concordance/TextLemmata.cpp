#include "concordance/TextLemmata.h"

#include "concordance/SpellingFold.h"

#include <algorithm>
#include <unordered_map>

namespace quorvex {

TextLemmata::Builder::Builder(const lexicon::Lexicon& lexicon)
{
    m_lemmata.m_lexicon = &lexicon;
    m_lemmata.m_candidateStart.push_back(0);
}

void TextLemmata::Builder::addWrittenForm(std::string_view written)
{
    // Each distinct folded form is analysed once, however many written forms fold to it.
    TextLemmata& t = m_lemmata;
    m_folded.clear();
    appendFolded(m_folded, written, Folding::Spelling);
    const auto [it, inserted] = m_byFolded.emplace(m_folded, static_cast<TypeId>(t.m_typeForms.size()));
    if (inserted) {
        t.m_typeForms.push_back(m_folded);
        t.m_lexicon->analyse(m_folded, t.m_candidates);
        t.m_candidateStart.push_back(static_cast<std::uint32_t>(t.m_candidates.size()));
    }
    t.m_writtenTypes.push_back(it->second);
}

TextLemmata TextLemmata::Builder::finish(const std::function<std::size_t(std::uint32_t)>& frequencyOf)
{
    TextLemmata t = std::move(m_lemmata);
    m_byFolded.clear();
    t.m_typeFrequency.assign(t.m_typeForms.size(), 0);
    for (std::uint32_t w = 0; w < t.m_writtenTypes.size(); ++w)
        t.m_typeFrequency[t.m_writtenTypes[w]] += frequencyOf(w);
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

template <typename Forms>
TextLemmata TextLemmata::buildFrom(const Forms& forms, const lexicon::Lexicon& lexicon)
{
    // The distinct forms as written are each folded once; the words are never walked.
    Builder builder(lexicon);
    for (std::uint32_t w = 0; w < forms.typeCount(); ++w)
        builder.addWrittenForm(forms.typeText(w));
    return builder.finish([&forms](std::uint32_t w) { return forms.typeFrequency(w); });
}

TextLemmata TextLemmata::build(const WordTable& words, const lexicon::Lexicon& lexicon)
{
    TextLemmata t = buildFrom(words, lexicon);
    t.m_words = &words;
    return t;
}

TextLemmata TextLemmata::build(const FormTally& forms, const lexicon::Lexicon& lexicon)
{
    return buildFrom(forms, lexicon);
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

bool TextLemmata::candidatesGive(const lexicon::Lexicon& lexicon, Candidates c,
                                 const std::vector<LemmaId>& lemmata, bool strict)
{
    if (c.empty())
        return false;
    const std::uint32_t top = lexicon.lemma(*c.begin()).frequency;
    for (const LemmaId id : c) {
        if (strict && lexicon.lemma(id).frequency != top)
            return false;  // candidates come most frequent first
        if (std::find(lemmata.begin(), lemmata.end(), id) != lemmata.end())
            return true;
    }
    return false;
}

std::vector<TextLemmata::TypeId> TextLemmata::typesOf(const std::vector<LemmaId>& lemmata,
                                                      bool strict) const
{
    std::vector<TypeId> types;
    for (TypeId type = 0; type < m_typeForms.size(); ++type)
        if (candidatesGive(*m_lexicon, candidates(type), lemmata, strict))
            types.push_back(type);
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
