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
    if (m_lemmaIdsPending) {
        m_lemmaIdsPending = false;
        m_lemmaIds.reserve(m_lemmas.size());
        for (std::size_t id = 0; id < m_lemmas.size(); ++id)
            m_lemmaIds.emplace(m_lemmas[id].text, static_cast<LemmaId>(id));
    }
    const auto found = m_lemmaIds.find(text);
    if (found != m_lemmaIds.end())
        return found->second;
    const auto id = static_cast<LemmaId>(m_lemmas.size());
    Lemma lemma{text, isFrenchFunctionWord(text)};
    m_lemmas.push_back(std::move(lemma));
    m_lemmaIds.emplace(std::move(text), id);
    return id;
}

std::string FrenchLemmas::lemmaTableBytes() const
{
    // Per lemma: its function-word mark, its text, a NUL (a lemma never holds one).
    std::string out;
    for (const Lemma& lemma : m_lemmas) {
        out += lemma.functionWord ? '1' : '0';
        out += lemma.text;
        out += '\0';
    }
    return out;
}

bool FrenchLemmas::adoptLemmaTable(std::string_view bytes, std::size_t count)
{
    std::vector<Lemma> table;
    table.reserve(count);
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\0');
        if (end == std::string_view::npos || end == 0 || (bytes[0] != '0' && bytes[0] != '1'))
            return false;
        table.push_back(Lemma{std::string(bytes.substr(1, end - 1)), bytes[0] == '1'});
        bytes.remove_prefix(end + 1);
    }
    if (table.size() != count)
        return false;
    if (m_lemmas.empty() && m_words.empty()) {
        m_lemmas = std::move(table);
        m_lemmaIds.clear();
        m_lemmaIdsPending = true;
        return true;
    }
    // Lemmas met already: the table must be what they begin with.
    if (m_lemmas.size() < table.size())
        return false;
    for (std::size_t id = 0; id < table.size(); ++id)
        if (m_lemmas[id].text != table[id].text || m_lemmas[id].functionWord != table[id].functionWord)
            return false;
    return true;
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
    const WordTable french = WordTable::segment(std::string(cp1252Text), kFrenchLetters);
    readText(french);
    // The table goes with this call: its index would name a table no longer there.
    m_typeWords.clear();
    m_indexed = nullptr;
    m_indexedText = nullptr;
}

void FrenchLemmas::readText(const WordTable& french)
{
    // How often each type stands outside markers: the table's words, less those that a walk of
    // the text by forEachWord skips (from a "[" to the next "]").
    const std::size_t types = french.typeCount();
    std::vector<std::uint32_t> outside(types);
    for (std::size_t t = 0; t < types; ++t)
        outside[t] = static_cast<std::uint32_t>(french.typeFrequency(static_cast<WordTable::TypeId>(t)));
    const std::string& text = french.text();
    std::size_t hint = 0;
    for (std::size_t open = text.find('['); open != std::string::npos;) {
        const std::size_t close = text.find(']', open);
        const std::size_t stop = close == std::string::npos ? text.size() : close;
        std::size_t i = firstWordFrom(french, open, hint);
        for (; i < french.size() && french.formOffset(i) < stop; ++i)
            --outside[french.typeOf(i)];
        hint = i;
        open = close == std::string::npos ? close : text.find('[', close + 1);
    }

    // The folded words, in the order of their first type, with their counts.
    std::unordered_map<std::string, std::uint32_t> placeOf;  // by folded Windows-1252 word
    std::vector<std::pair<std::string, std::uint32_t>> folded;
    placeOf.reserve(types);
    for (std::size_t t = 0; t < types; ++t) {
        if (outside[t] == 0)
            continue;
        m_folded.clear();
        appendFrenchFolded(m_folded, french.typeText(static_cast<WordTable::TypeId>(t)));
        const auto found = placeOf.emplace(m_folded, static_cast<std::uint32_t>(folded.size()));
        if (found.second)
            folded.emplace_back(m_folded, 0);
        folded[found.first->second].second += outside[t];
    }

    // Every word's stems first: the choice weighs each stem by all the words it stems.
    struct Stemmed {
        const std::string* cp1252;
        std::string utf8;
        std::vector<std::string> stems;
    };
    std::vector<Stemmed> stemmed;
    stemmed.reserve(folded.size());
    std::vector<std::string> utf8Words;
    utf8Words.reserve(folded.size());
    for (const auto& entry : folded)
        utf8Words.push_back(cp1252ToUtf8(entry.first));
    std::vector<std::vector<std::string>> stemsOfWords;
    if (m_stemmer)
        stemsOfWords = m_stemmer->stemsOfEach(utf8Words);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        Stemmed one{&folded[i].first, std::move(utf8Words[i]), {}};
        m_textCounts[one.utf8] += folded[i].second;
        if (m_stemmer)
            one.stems = std::move(stemsOfWords[i]);
        for (const std::string& s : one.stems)
            m_stemCounts[s] += folded[i].second;
        stemmed.push_back(std::move(one));
    }
    m_textRead = true;
    m_words.clear();
    m_wordLemmas.clear();
    m_words.reserve(stemmed.size());
    for (Stemmed& one : stemmed) {
        Word w;
        w.first = static_cast<std::uint32_t>(m_wordLemmas.size());
        w.count = 1;
        w.functionWord = isFrenchFunctionWord(one.utf8);
        m_wordLemmas.push_back(lemmaId(chosenStem(one.utf8, one.stems)));
        m_words.emplace(*one.cp1252, w);
    }
    indexTypes(french);
}

void FrenchLemmas::indexTypes(const WordTable& french)
{
    const std::size_t types = french.typeCount();
    // Each type is folded and looked up once; the words not met yet are stemmed together,
    // which the stemmer may share out. Entries of the word map stay where they are.
    std::vector<const Word*> wordOfType(types, nullptr);
    std::vector<std::uint32_t> missingOfType(types, 0);
    std::vector<std::string> missing, utf8Words;
    std::unordered_map<std::string, std::uint32_t> missingPlace;
    for (std::size_t t = 0; t < types; ++t) {
        m_folded.clear();
        appendFrenchFolded(m_folded, french.typeText(static_cast<WordTable::TypeId>(t)));
        if (const auto found = m_words.find(m_folded); found != m_words.end()) {
            wordOfType[t] = &found->second;
            continue;
        }
        const auto place = missingPlace.emplace(m_folded, static_cast<std::uint32_t>(missing.size()));
        if (place.second) {
            utf8Words.push_back(cp1252ToUtf8(m_folded));
            missing.push_back(m_folded);
        }
        missingOfType[t] = place.first->second;
    }
    std::vector<std::vector<std::string>> stems =
        m_stemmer ? m_stemmer->stemsOfEach(utf8Words) : std::vector<std::vector<std::string>>(missing.size());
    std::vector<const Word*> missingWords(missing.size());
    for (std::size_t i = 0; i < missing.size(); ++i)
        missingWords[i] = &addWord(missing[i], utf8Words[i], std::move(stems[i]));
    m_typeWords.clear();
    m_typeWords.reserve(types);
    for (std::size_t t = 0; t < types; ++t)
        m_typeWords.push_back(wordOfType[t] ? *wordOfType[t] : *missingWords[missingOfType[t]]);
    m_indexed = &french;
    m_indexedText = french.text().data();
    m_indexedWords = french.size();
}

std::size_t FrenchLemmas::firstWordFrom(const WordTable& table, std::size_t offset, std::size_t hint) noexcept
{
    const std::size_t n = table.size();
    const auto before = [&](std::size_t i) { return table.formOffset(i) < offset; };
    // Every word below lo starts before the offset, none from hi on.
    std::size_t lo = 0, hi = n;
    hint = std::min(hint, n);
    if (hint < n && before(hint)) {
        lo = hint + 1;
        for (std::size_t step = 1;; step *= 2) {
            const std::size_t probe = lo + step - 1;
            if (probe >= n)
                break;
            if (!before(probe)) {
                hi = probe;
                break;
            }
            lo = probe + 1;
        }
    } else {
        hi = hint;
        for (std::size_t step = 1; step <= hi; step *= 2) {
            const std::size_t probe = hi - step;
            if (before(probe)) {
                lo = probe + 1;
                break;
            }
            hi = probe;
        }
    }
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo) / 2;
        if (before(mid))
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
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
    return addWord(m_folded, utf8, std::move(stems));
}

const FrenchLemmas::Word& FrenchLemmas::addWord(const std::string& folded, const std::string& utf8,
                                                std::vector<std::string> stems)
{
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
    return m_words.emplace(folded, w).first->second;
}

} // namespace quorvex
