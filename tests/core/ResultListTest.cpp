// The compact word table, the result list and its sort, against the rules read literally:
// a segmentation written one character at a time with the reference as a plain string, and
// the grid filled with those strings and sorted by its own sort.

#include "concordance/ResultList.h"

#include "concordance/FormQuery.h"
#include "concordance/FormSearch.h"
#include "concordance/GridModel.h"
#include "concordance/WordTable.h"
#include "text/Letters.h"

#include <gtest/gtest.h>

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
std::string generatedText(std::mt19937& rng)
{
    static const std::vector<std::string> pieces = {
        "amor ", "Amor ", "AMOR ", "am\xE9", "or", " ", " ", "\r\n", "[", "]", "] ", "[1] ",
        "[2] ",   "[1.2] ", "[Prol. 3] ", "[ IV ]", "[a]", "3", ", ", "\x8A" "a ", "\x9C",
        "\xC9t\xE9 ", "\xE9t\xE9 ", "est ", "Est", "x", "[12", "[.]", "]]", "\xD7"};
    std::string text;
    for (std::size_t n = rng() % 40; n > 0; --n)
        text += pieces[rng() % pieces.size()];
    return text;
}

const char* const kQueries[] = {"*", "a*", "*r", "amor", "AM*OR", "\xC9T\xC9", "x", "est", "a*a", "zz"};

TEST(WordTable, AgreesWithTheLiteralSegmentationOnGeneratedTexts)
{
    std::mt19937 rng(20261206);
    for (int round = 0; round < 3000; ++round) {
        const std::string text = generatedText(rng);
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
}

// The grid the search fills, then sorted as the window sorts it: keys from column 0 to
// `lastKey`. Returned as (form, reference) rows.
using Rows = std::vector<std::pair<std::string, std::string>>;

Rows gridRows(const GridModel& grid)
{
    Rows rows;
    for (std::size_t r = 1; r < grid.rows(); ++r)
        rows.emplace_back(grid.cell(r, 0), grid.cell(r, 1));
    return rows;
}

void sortGrid(GridModel& grid, int lastKey)
{
    grid.setRow(grid.rows() - 1);
    grid.setCol(lastKey);
    grid.setColSel(0);
    grid.sort();
}

Rows resultRows(const WordTable& table, const ResultList& results)
{
    Rows rows;
    for (const WordIndex w : results)
        rows.emplace_back(std::string(table.form(w)), table.referenceText(table.referenceId(w)));
    return rows;
}

TEST(ResultList, SearchAndSortGiveTheGridsRowsInTheGridsOrder)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 2000; ++round) {
        std::string text = generatedText(rng);
        if (round % 10 == 0)
            text = generatedText(rng) + generatedText(rng) + generatedText(rng);
        const WordTable table = WordTable::segment(text);
        for (const char* query : kQueries) {
            const std::string where = "text \"" + text + "\" query \"" + query + "\"";
            GridModel grid;
            const std::size_t count = searchIntoGrid(table, query, grid);
            ResultList results = findForms(table, query);
            ASSERT_EQ(results.size(), count) << where;
            ASSERT_EQ(countForms(table, query), count) << where;
            ASSERT_EQ(resultRows(table, results), gridRows(grid)) << where;

            // Each key rule from text order, then the other rule on the order the first left.
            for (const SortKeys first : {SortKeys::Form, SortKeys::FormThenReference}) {
                const SortKeys second =
                    first == SortKeys::Form ? SortKeys::FormThenReference : SortKeys::Form;
                GridModel sorted;
                searchIntoGrid(table, query, sorted);
                ResultList list = results;
                if (sorted.rows() > 1) {
                    sortGrid(sorted, first == SortKeys::Form ? 0 : 1);
                    sortResults(table, list, first);
                    ASSERT_EQ(resultRows(table, list), gridRows(sorted)) << where;
                    sortGrid(sorted, second == SortKeys::Form ? 0 : 1);
                    sortResults(table, list, second);
                    ASSERT_EQ(resultRows(table, list), gridRows(sorted)) << where;
                }
                // Rows of equal keys keep their order: equal rows are the same words in
                // the same order as in text order.
                std::map<std::pair<std::string, std::string>, std::vector<WordIndex>> inText, inList;
                for (const WordIndex w : results)
                    inText[{lowered(table.form(w)), table.referenceText(table.referenceId(w))}].push_back(w);
                for (const WordIndex w : list)
                    inList[{lowered(table.form(w)), table.referenceText(table.referenceId(w))}].push_back(w);
                ASSERT_EQ(inList, inText) << where;
            }
        }
    }
}

} // namespace
} // namespace quorvex
