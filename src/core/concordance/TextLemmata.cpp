#include "concordance/TextLemmata.h"

#include "concordance/SpellingFold.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace quorvex {

namespace {

// Distinct forms as written, found without copying a word: an open-addressing table of
// first occurrences, compared in place in the text.
class RawForms {
public:
    explicit RawForms(std::size_t expected)
    {
        std::size_t size = 1024;
        while (size < expected * 2)
            size *= 2;
        m_slots.assign(size, 0);
    }

    // The index of `form` among the distinct forms met so far; `isNew` when it is the first.
    std::uint32_t find(std::string_view form, bool& isNew)
    {
        std::uint64_t h = 1469598103934665603ull;
        for (const char c : form)
            h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = h & mask;; i = (i + 1) & mask) {
            const std::uint32_t slot = m_slots[i];
            if (slot == 0) {
                if ((m_forms.size() + 1) * 2 > m_slots.size()) {
                    grow();
                    return find(form, isNew);
                }
                m_forms.push_back(form);
                m_slots[i] = static_cast<std::uint32_t>(m_forms.size());
                isNew = true;
                return static_cast<std::uint32_t>(m_forms.size() - 1);
            }
            const std::string_view known = m_forms[slot - 1];
            if (known.size() == form.size() && std::memcmp(known.data(), form.data(), form.size()) == 0) {
                isNew = false;
                return slot - 1;
            }
        }
    }

private:
    void grow()
    {
        std::vector<std::uint32_t> old(m_slots.size() * 2, 0);
        old.swap(m_slots);
        const std::size_t mask = m_slots.size() - 1;
        for (std::uint32_t k = 0; k < m_forms.size(); ++k) {
            std::uint64_t h = 1469598103934665603ull;
            for (const char c : m_forms[k])
                h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ull;
            std::size_t i = h & mask;
            while (m_slots[i] != 0)
                i = (i + 1) & mask;
            m_slots[i] = k + 1;
        }
    }

    std::vector<std::uint32_t> m_slots;  // 0: empty, else form index + 1
    std::vector<std::string_view> m_forms;
};

} // namespace

TextLemmata TextLemmata::build(const WordTable& words, const lexicon::Lexicon& lexicon)
{
    TextLemmata t;
    t.m_lexicon = &lexicon;
    const std::size_t n = words.size();
    t.m_wordTypes.resize(n);
    RawForms raw(std::min<std::size_t>(n, 1u << 16));
    std::vector<TypeId>& rawType = t.m_writtenTypes;
    std::unordered_map<std::string, TypeId> byFolded;
    std::string folded;
    t.m_candidateStart.push_back(0);
    for (std::size_t i = 0; i < n; ++i) {
        bool isNew = false;
        const std::uint32_t r = raw.find(words.form(i), isNew);
        if (isNew) {
            folded.clear();
            appendFolded(folded, words.form(i), Folding::Spelling);
            const auto [it, inserted] = byFolded.emplace(folded, static_cast<TypeId>(t.m_typeForms.size()));
            if (inserted) {
                t.m_typeForms.push_back(folded);
                t.m_typeFrequency.push_back(0);
                lexicon.analyse(folded, t.m_candidates);
                t.m_candidateStart.push_back(static_cast<std::uint32_t>(t.m_candidates.size()));
            }
            rawType.push_back(it->second);
        }
        const TypeId type = rawType[r];
        t.m_wordTypes[i] = type;
        ++t.m_typeFrequency[type];
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

ResultList TextLemmata::wordsOf(const std::vector<TypeId>& types) const
{
    std::vector<bool> wanted(m_typeForms.size(), false);
    std::size_t total = 0;
    for (const TypeId type : types) {
        if (!wanted[type])
            total += m_typeFrequency[type];
        wanted[type] = true;
    }
    ResultList words;
    words.reserve(total);
    for (std::size_t i = 0; i < m_wordTypes.size() && words.size() < total; ++i)
        if (wanted[m_wordTypes[i]])
            words.push_back(static_cast<WordIndex>(i));
    return words;
}

} // namespace quorvex
