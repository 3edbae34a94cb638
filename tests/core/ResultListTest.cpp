// The compact word table, the result list and its sort, against the rules read literally:
// a segmentation written one character at a time with the reference as a plain string, and
// its rows sorted as the grid sorts text, on strings.

#include "concordance/ResultList.h"

#include "concordance/FormQuery.h"
#include "concordance/WordTable.h"
#include "text/Letters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace quorvex {
namespace {

struct PlainWord {
    std::size_t offset;
    std::string form;
    std::string reference;
};

bool plainLetter(LetterSet letters, unsigned char c)
{
    const bool extra = c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C
        || c == 0x9E || c == 0x9F;
    return isLetter(c) || (letters == LetterSet::Extended && extra);
}

// The segmentation's rules, one character at a time.
std::vector<PlainWord> plainSegmentation(const std::string& text, LetterSet letters)
{
    std::vector<PlainWord> words;
    std::string reference;
    bool inGroup = false;
    std::string form;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (plainLetter(letters, c)) {
            if (form.empty())
                start = i;
            form += text[i];
            continue;
        }
        if (c == '[') {
            reference = "[";
            inGroup = true;
        } else if (c == ']') {
            reference += ']';
            inGroup = false;
        } else if (inGroup) {
            reference += text[i];
        }
        if (!form.empty())
            words.push_back({start, form, reference});
        form.clear();
    }
    if (!form.empty())
        words.push_back({start, form, reference});
    return words;
}

// Texts with what makes references hard: stray "]", letters and blanks in markers, words
// before any marker, unclosed groups, markers standing twice, and the letters only the
// extended set counts.
std::string generatedText(std::mt19937& rng, std::size_t maxPieces = 40)
{
    static const std::vector<std::string> pieces = {
        "amor ", "Amor ", "AMOR ", "am\xE9", "or", " ", " ", "\r\n", "[", "]", "] ", "[1] ",
        "[2] ",   "[1.2] ", "[Prol. 3] ", "[ IV ]", "[a]", "3", ", ", "\x8A" "a ", "\x9C",
        "\xC9t\xE9 ", "\xE9t\xE9 ", "est ", "Est", "x", "[12", "[.]", "]]", "\xD7",
        std::string(254, 'a') + " ", std::string(255, 'A') + " ", std::string(300, 'a') + "] "};
    std::string text;
    for (std::size_t n = rng() % maxPieces; n > 0; --n)
        text += pieces[rng() % pieces.size()];
    return text;
}

const char* const kQueries[] = {"*", "a*", "*r", "amor", "AM*OR", "\xC9T\xC9", "x", "est", "a*a", "zz"};

TEST(WordTable, AgreesWithTheLiteralSegmentationOnGeneratedTexts)
{
    std::mt19937 rng(20261206);
    for (int round = 0; round < 3000; ++round) {
        // Some texts run over several blocks of 64 words.
        const std::string text = generatedText(rng, round % 5 == 0 ? 400 : 40);
        for (const LetterSet letters : {LetterSet::Window, LetterSet::Extended}) {
            const std::vector<PlainWord> expected = plainSegmentation(text, letters);
            const WordTable table = WordTable::segment(text, letters);
            const std::string where = "text \"" + text + "\" extended "
                + std::to_string(letters == LetterSet::Extended);
            ASSERT_EQ(table.size(), expected.size()) << where;
            ASSERT_EQ(table.text(), text) << where;
            // One id per reference text, and one reference text per id.
            std::map<std::string, WordTable::ReferenceId> idOf;
            for (std::size_t i = 0; i < table.size(); ++i) {
                ASSERT_EQ(table.form(i), expected[i].form) << where << " word " << i;
                ASSERT_EQ(table.formOffset(i), expected[i].offset) << where << " word " << i;
                ASSERT_EQ(table.referenceText(table.referenceId(i)), expected[i].reference)
                    << where << " word " << i;
                const auto [it, added] = idOf.try_emplace(expected[i].reference, table.referenceId(i));
                ASSERT_EQ(it->second, table.referenceId(i)) << where << " word " << i;
            }
            ASSERT_EQ(idOf.size(), table.referenceCount()) << where;
            // Counting straight from the text finds what the table finds.
            for (const char* query : kQueries)
                ASSERT_EQ(countForms(text, query, letters), countForms(table, query)) << where << query;
            // The order of reference texts without building them.
            for (const auto& [a, idA] : idOf)
                for (const auto& [b, idB] : idOf) {
                    const int c = compareReferences(text, table.referenceParts(idA), text,
                                                    table.referenceParts(idB), letters);
                    ASSERT_EQ(c < 0, a < b) << where << " \"" << a << "\" \"" << b << "\"";
                    ASSERT_EQ(c == 0, a == b) << where << " \"" << a << "\" \"" << b << "\"";
                }
        }
    }
}

TEST(WordTable, StrayClosingsKeepMemoryLinear)
{
    // Every word has a reference longer than the last: stored as strings they would need
    // about 10^10 bytes.
    std::string text = "[1] ";
    for (int i = 0; i < 100000; ++i)
        text += "amor ] ";
    const WordTable table = WordTable::segment(text);
    ASSERT_EQ(table.size(), 100000u);
    EXPECT_EQ(table.referenceCount(), 100000u);
    EXPECT_EQ(table.referenceText(table.referenceId(2)), "[1]]]");
    EXPECT_EQ(table.referenceText(table.referenceId(99999)).size(), 3u + 99999u);
    EXPECT_EQ(countForms(table, "amor"), 100000u);
    EXPECT_EQ(countForms(text, "amor"), 100000u);
}

// (form, reference) rows as the grid shows them.
using Rows = std::vector<std::pair<std::string, std::string>>;

std::string loweredText(std::string_view s)
{
    std::string out;
    for (const char c : s)
        out += lowerChar(c);
    return out;
}

// The grid's sort read literally: a stable sort on the texts, lowered, compared byte by byte;
// the reference breaks ties only when it is a key.
Rows literallySorted(Rows rows, SortKeys keys)
{
    std::stable_sort(rows.begin(), rows.end(), [keys](const auto& a, const auto& b) {
        const std::string fa = loweredText(a.first), fb = loweredText(b.first);
        if (fa != fb || keys == SortKeys::Form)
            return fa < fb;
        return loweredText(a.second) < loweredText(b.second);
    });
    return rows;
}

Rows resultRows(const WordTable& table, const ResultList& results)
{
    Rows rows;
    for (const Attestation& a : results) {
        std::string reference;
        appendAttestationReference(table, a, reference);
        rows.emplace_back(attestationForm(table, a), reference);
    }
    return rows;
}

// The phrases of `words` consecutive words whose first word matches `query`, read literally.
Rows literalPhrases(const std::vector<PlainWord>& plain, const FormQuery& query, std::size_t words)
{
    Rows rows;
    for (std::size_t i = 0; i + words <= plain.size(); ++i) {
        if (!query.matches(plain[i].form))
            continue;
        std::string form = plain[i].form;
        for (std::size_t k = 1; k < words; ++k)
            form += " " + plain[i + k].form;
        rows.emplace_back(form, plain[i].reference);
    }
    return rows;
}

TEST(ResultList, SearchAndSortGiveTheLiteralRowsInTheGridsOrder)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        const std::string text = generatedText(rng, round % 10 == 0 ? 300 : 40);
        const WordTable table = WordTable::segment(text);
        const std::vector<PlainWord> plain = plainSegmentation(text, LetterSet::Window);
        for (const char* query : kQueries) {
            const std::string where = "text \"" + text + "\" query \"" + query + "\"";
            const FormQuery parsed = FormQuery::parse(query);
            const ResultList results = findForms(table, query);
            ASSERT_EQ(countForms(table, query), results.size()) << where;
            ASSERT_EQ(resultRows(table, results), literalPhrases(plain, parsed, 1)) << where;

            // Each key rule from text order, then the other rule on the order the first left.
            for (const SortKeys first : {SortKeys::Form, SortKeys::FormThenReference}) {
                const SortKeys second =
                    first == SortKeys::Form ? SortKeys::FormThenReference : SortKeys::Form;
                ResultList list = results;
                sortResults(table, list, first);
                const Rows once = literallySorted(resultRows(table, results), first);
                ASSERT_EQ(resultRows(table, list), once) << where;
                sortResults(table, list, second);
                ASSERT_EQ(resultRows(table, list), literallySorted(once, second)) << where;
                // Rows of equal keys keep their order: equal rows are the same words in
                // the same order as in text order.
                std::map<std::pair<std::string, std::string>, std::vector<WordIndex>> inText, inList;
                for (const Attestation& a : results)
                    inText[{loweredText(table.form(a.first)), table.referenceText(table.referenceId(a.first))}].push_back(a.first);
                for (const Attestation& a : list)
                    inList[{loweredText(table.form(a.first)), table.referenceText(table.referenceId(a.first))}].push_back(a.first);
                ASSERT_EQ(inList, inText) << where;
            }

            // Phrases of two and three words, sorted on their forms as joined by blanks.
            for (std::uint32_t words = 2; words <= 3; ++words) {
                ResultList phrases;
                for (const Attestation& a : results)
                    if (a.first + words <= table.size())
                        phrases.push_back(Attestation{a.first, words});
                const Rows inText = literalPhrases(plain, parsed, words);
                ASSERT_EQ(resultRows(table, phrases), inText) << where << " words " << words;
                for (const SortKeys keys : {SortKeys::Form, SortKeys::FormThenReference}) {
                    ResultList list = phrases;
                    sortResults(table, list, keys);
                    ASSERT_EQ(resultRows(table, list), literallySorted(inText, keys))
                        << where << " words " << words;
                }
            }
        }
    }
}

TEST(ResultList, EmptyRowHasNoFormNoReferenceAndStaysPut)
{
    const WordTable table = WordTable::segment("avant [1] amor");
    ResultList list = emptyRowList();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(resultRows(table, list), (Rows{{"", ""}}));
    sortResults(table, list, SortKeys::FormThenReference);
    EXPECT_EQ(list, emptyRowList());
    EXPECT_EQ(attestationLength(table, list.front()), 0u);
}

} // namespace
} // namespace quorvex
