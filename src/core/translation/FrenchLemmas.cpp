#include "translation/FrenchLemmas.h"

#include "concordance/WordTable.h"
#include "text/Cp1252.h"
#include "text/Letters.h"
#include "translation/FunctionWords.h"

#include <algorithm>

namespace quorvex {

bool isFrenchLetter(unsigned char c) noexcept
{
    return letterTable(LetterSet::Extended)[c];
}

namespace {

// Latin-1 lowering, and the code page's own capitals Š Œ Ž Ÿ.
char foldCase(char c)
{
    switch (static_cast<unsigned char>(c)) {
    case 0x8A: return '\x9A';
    case 0x8C: return '\x9C';
    case 0x8E: return '\x9E';
    case 0x9F: return '\xFF';
    default: return lowerChar(c);
    }
}

} // namespace

void appendFrenchFolded(std::string& out, std::string_view cp1252)
{
    for (const char c : cp1252)
        out += foldCase(c);
}

FrenchLemmas::LemmaId FrenchLemmas::lemmaId(std::string text)
{
    const auto found = m_lemmaIds.find(text);
    if (found != m_lemmaIds.end())
        return found->second;
    const auto id = static_cast<LemmaId>(m_lemmas.size());
    Lemma lemma{text, isFrenchFunctionWord(text)};
    m_lemmas.push_back(std::move(lemma));
    m_lemmaIds.emplace(std::move(text), id);
    return id;
}

const FrenchLemmas::Word& FrenchLemmas::word(std::string_view cp1252)
{
    m_folded.clear();
    appendFrenchFolded(m_folded, cp1252);
    const auto found = m_words.find(m_folded);
    if (found != m_words.end())
        return found->second;

    const std::string utf8 = cp1252ToUtf8(m_folded);
    std::vector<std::string> stems;
    if (m_stemmer)
        stems = m_stemmer->stems(utf8);
    if (stems.empty())
        stems.push_back(utf8);
    Word w;
    w.first = static_cast<std::uint32_t>(m_wordLemmas.size());
    w.functionWord = isFrenchFunctionWord(utf8);
    for (std::string& s : stems) {
        const LemmaId id = lemmaId(std::move(s));
        // One lemma twice in the list still counts once.
        if (std::find(m_wordLemmas.begin() + w.first, m_wordLemmas.end(), id) == m_wordLemmas.end())
            m_wordLemmas.push_back(id);
    }
    w.count = static_cast<std::uint32_t>(m_wordLemmas.size() - w.first);
    return m_words.emplace(m_folded, w).first->second;
}

} // namespace quorvex
