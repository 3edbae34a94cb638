#include "concordance/FormQuery.h"
#include "concordance/FormSearch.h"
#include "concordance/GridHeader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvex {
namespace {

struct MatchCase {
    const char* name;
    std::string query;
    std::vector<std::string> matching;
    std::vector<std::string> notMatching;
};

class FormMatching : public ::testing::TestWithParam<MatchCase> {};

TEST_P(FormMatching, AppliesRulesABC)
{
    const FormQuery q = FormQuery::parse(GetParam().query);
    for (const std::string& f : GetParam().matching)
        EXPECT_TRUE(q.matches(f)) << f;
    for (const std::string& f : GetParam().notMatching)
        EXPECT_FALSE(q.matches(f)) << f;
}

INSTANTIATE_TEST_SUITE_P(
    FormQuery, FormMatching,
    ::testing::Values(
        MatchCase{"exactIgnoresCase", "amor", {"Amor", "amor", "AMOR"}, {"amo", "amorem", "clamor"}},
        MatchCase{"upperQuery", "AMOR", {"amor", "Amor"}, {"amorem"}},
        MatchCase{"accentedCapitals", "\xC9T\xC9", {"\xE9t\xE9", "\xC9t\xE9"}, {"ete"}},
        MatchCase{"prefix", "am*", {"am", "amor", "amicus", "AMATOR"}, {"a", "clamor"}},
        MatchCase{"suffix", "*or", {"or", "amor", "clamor"}, {"o", "oris"}},
        MatchCase{"prefixAndSuffix", "am*or", {"amor", "amator"}, {"amorem", "clamor"}},
        MatchCase{"overlapOfPrefixAndSuffix", "ama*ama", {"ama", "amama"}, {"am", "amta"}},
        MatchCase{"starAlone", "*", {"a", "Roma"}, {}},
        MatchCase{"secondStarIsPlain", "a*m*r", {}, {"amor", "amr", "amar"}},
        MatchCase{"trailingBlankFails", "amor ", {}, {"amor"}},
        MatchCase{"emptyQuery", "", {}, {"a"}},
        MatchCase{"digitNeverMatches", "a1*", {}, {"a", "ab", "ba"}},
        MatchCase{"ligatureNotLowered", "\x8C", {}, {"\x9C"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridHeader, WritesHeaderWidthsAndTwoRows)
{
    GridModel grid;
    grid.setRows(50);
    grid.setCell(3, 0, "x");
    prepareGrid(grid);
    EXPECT_EQ(grid.rows(), 2u);
    EXPECT_EQ(grid.cell(0, 0), "Forme(s)");
    EXPECT_EQ(grid.cell(0, 1), "R\xE9" "f\xE9rences");
    EXPECT_TRUE(grid.isCentred(0, 0));
    EXPECT_TRUE(grid.isCentred(0, 1));
    EXPECT_EQ(grid.colWidth(0), 1500);
    EXPECT_EQ(grid.colWidth(1), 1500);
    EXPECT_EQ(grid.row(), 0u);
    EXPECT_EQ(grid.col(), 1);
}

TEST(FormSearch, FillsGridInTextOrderAndLeavesCurrentCell)
{
    const WordTable table =
        WordTable::segment("Amor [1] amat amor [2] clamor AMOR [10] amicus am");
    GridModel grid;
    grid.setRows(40);  // a previous, longer result
    grid.setCell(39, 0, "old");

    EXPECT_EQ(searchIntoGrid(table, "amor", grid), 3u);
    ASSERT_EQ(grid.rows(), 4u);
    EXPECT_EQ(grid.cell(0, 0), "Forme(s)");
    EXPECT_EQ(grid.cell(1, 0), "Amor");
    EXPECT_EQ(grid.cell(1, 1), "");
    EXPECT_EQ(grid.cell(2, 0), "amor");
    EXPECT_EQ(grid.cell(2, 1), "[1]");
    EXPECT_EQ(grid.cell(3, 0), "AMOR");
    EXPECT_EQ(grid.cell(3, 1), "[2]");
    EXPECT_EQ(grid.row(), 3u);
    EXPECT_EQ(grid.col(), 1);
    EXPECT_EQ(grid.rowSel(), 3u);
    EXPECT_EQ(grid.colSel(), 1);

    EXPECT_EQ(searchIntoGrid(table, "*", grid), table.size());
    EXPECT_EQ(grid.rows(), table.size() + 1);

    EXPECT_EQ(searchIntoGrid(table, "nihil", grid), 0u);
    EXPECT_EQ(grid.rows(), 1u);
    EXPECT_EQ(grid.cell(0, 1), "R\xE9" "f\xE9rences");
    EXPECT_EQ(grid.row(), 0u);
    EXPECT_EQ(grid.col(), 0);

    EXPECT_EQ(searchIntoGrid(WordTable::segment(""), "*", grid), 0u);
    EXPECT_EQ(grid.rows(), 1u);
}

} // namespace
} // namespace quorvex
