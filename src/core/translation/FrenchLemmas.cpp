#include "translation/FrenchLemmas.h"

#include "concordance/WordTable.h"
#include "text/Cp1252.h"
#include "text/Letters.h"
#include "translation/FunctionWords.h"

#include <algorithm>

namespace quorvex {

bool isFrenchLetter(unsigned char c) noexcept
{
    return letterTable(kFrenchLetters)[c];
}

void appendFrenchFolded(std::string& out, std::string_view cp1252)
{
    for (const char c : cp1252)
        out += lowerChar(c);
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

namespace {

// Words the dictionary reads otherwise than their text means: irregular plurals it leaves
// alone, and a noun whose other reading is a verb's rare subjunctive.
struct FixedLemma {
    const char* word;
    const char* lemma;
};
constexpr FixedLemma kFixedLemmas[] = {
    {"tous", "tout"}, {"toutes", "tout"}, {"yeux", "\xC5\x93il"}, {"voie", "voie"}, {"voies", "voie"},
};

} // namespace

std::string FrenchLemmas::chosenStem(const std::string& utf8Folded, std::vector<std::string>& stems) const
{
    for (const FixedLemma& fixed : kFixedLemmas)
        if (utf8Folded == fixed.word)
            return fixed.lemma;
    if (stems.empty())
        return utf8Folded;
    if (stems.size() == 1)
        return stems.front();
    auto count = [](const std::unordered_map<std::string, std::uint32_t>& counts, const std::string& key) {
        const auto found = counts.find(key);
        return found == counts.end() ? std::uint32_t(0) : found->second;
    };
    // The stems that stand in the text; if none does, every stem.
    std::vector<std::string*> standing;
    for (std::string& s : stems)
        if (count(m_textCounts, s) > 0)
            standing.push_back(&s);
    if (standing.empty())
        for (std::string& s : stems)
            standing.push_back(&s);
    const std::string* best = standing.front();
    for (const std::string* s : standing)
        if (count(m_stemCounts, *s) > count(m_stemCounts, *best))
            best = s;
    return *best;
}

void FrenchLemmas::readText(std::string_view cp1252Text)
{
    std::unordered_map<std::string, std::uint32_t> folded;  // by folded Windows-1252 word
    forEachWord(cp1252Text, [&](std::size_t, std::string_view w) {
        m_folded.clear();
        appendFrenchFolded(m_folded, w);
        ++folded[m_folded];
    });
    // Every word's stems first: the choice weighs each stem by all the words it stems.
    struct Stemmed {
        const std::string* cp1252;
        std::string utf8;
        std::vector<std::string> stems;
    };
    std::vector<Stemmed> stemmed;
    stemmed.reserve(folded.size());
    for (const auto& [cp, count] : folded) {
        Stemmed one{&cp, cp1252ToUtf8(cp), {}};
        m_textCounts[one.utf8] += count;
        if (m_stemmer)
            one.stems = m_stemmer->stems(one.utf8);
        for (const std::string& s : one.stems)
            m_stemCounts[s] += count;
        stemmed.push_back(std::move(one));
    }
    m_textRead = true;
    m_words.clear();
    m_wordLemmas.clear();
    for (Stemmed& one : stemmed) {
        Word w;
        w.first = static_cast<std::uint32_t>(m_wordLemmas.size());
        w.count = 1;
        w.functionWord = isFrenchFunctionWord(one.utf8);
        m_wordLemmas.push_back(lemmaId(chosenStem(one.utf8, one.stems)));
        m_words.emplace(*one.cp1252, w);
    }
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
    if (m_textRead) {
        std::string chosen = chosenStem(utf8, stems);
        stems.assign(1, std::move(chosen));
    }
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
