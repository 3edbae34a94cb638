#include "concordance/WordTable.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace quorvex {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

struct SegmentCase {
    const char* name;
    std::string text;
    Entries expected;  // form and reference of every word
};

class Segmentation : public ::testing::TestWithParam<SegmentCase> {};

TEST_P(Segmentation, GivesTheEntries)
{
    const WordTable table = WordTable::segment(GetParam().text);
    Entries entries;
    for (std::size_t i = 0; i < table.size(); ++i)
        entries.emplace_back(std::string(table.form(i)), table.referenceText(table.referenceId(i)));
    EXPECT_EQ(entries, GetParam().expected);
    EXPECT_EQ(table.text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    WordTable, Segmentation,
    ::testing::Values(
        SegmentCase{"referenceInForceUntilNextBracket", "Arma virumque [1] cano, Troiae [2] qui",
                    {{"Arma", ""}, {"virumque", ""}, {"cano", "[1]"}, {"Troiae", "[1]"}, {"qui", "[2]"}}},
        SegmentCase{"wordBeforeBracketGetsOpenedReference", "amor[12] est", {{"amor", "["}, {"est", "[12]"}}},
        SegmentCase{"lettersInGroupAreWords", "[IV] Gallia", {{"IV", "[]"}, {"Gallia", "[]"}}},
        SegmentCase{"markerWithLettersAndDigits", "[Prol. 3] arma", {{"Prol", "[."}, {"arma", "[. 3]"}}},
        SegmentCase{"strayCloseAppended", "[12] a ] b", {{"a", "[12]"}, {"b", "[12]]"}}},
        SegmentCase{"strayCloseBeforeAnyGroup", "a ] b", {{"a", ""}, {"b", "]"}}},
        SegmentCase{"wordEndedByStrayClose", "[1] a] b", {{"a", "[1]]"}, {"b", "[1]]"}}},
        SegmentCase{"openInsideGroupRestarts", "[1 [2] a", {{"a", "[2]"}}},
        SegmentCase{"unclosedGroupCollectsToTheEnd", "[1 a, b", {{"a", "[1 ,"}, {"b", "[1 , "}}},
        SegmentCase{"apostropheSplits", "l'\xE9t\xE9", {{"l", ""}, {"\xE9t\xE9", ""}}},
        SegmentCase{"digitsEndWordsAndAreNotStored", "3a", {{"a", ""}}},
        SegmentCase{"crlfEndsWords", "[1] a\r\nb\r\n", {{"a", "[1]"}, {"b", "[1]"}}},
        SegmentCase{"nonLettersOfTheCodePage", "a\xD7" "b\xF7" "c\xAA" "d\xB5" "e\xBA" "f\x8A" "g\x9F" "h\x9C" "i",
                    {{"a", ""}, {"b", ""}, {"c", ""}, {"d", ""}, {"e", ""}, {"f", ""}, {"g", ""}, {"h", ""}, {"i", ""}}},
        SegmentCase{"lettersAtRangeEdges", "\xC0\xD6 \xD8\xF6 \xF8\xFF Az",
                    {{"\xC0\xD6", ""}, {"\xD8\xF6", ""}, {"\xF8\xFF", ""}, {"Az", ""}}},
        SegmentCase{"noLetters", "[1] 2, 3.", {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace quorvex
