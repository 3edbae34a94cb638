#include "concordance/GridModel.h"

#include "concordance/Letters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include <string>
#include <utility>
#include <vector>

namespace quorvex {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

GridModel gridWith(const Rows& rows)
{
    GridModel g;
    g.setRows(1);
    g.setCell(0, 0, "Forme(s)");
    g.setCell(0, 1, "Refs");
    for (const auto& r : rows)
        g.appendRow(r.first, r.second);
    return g;
}

Rows rowsOf(const GridModel& g)
{
    Rows out;
    for (std::size_t r = 1; r < g.rows(); ++r)
        out.emplace_back(g.cell(r, 0), g.cell(r, 1));
    return out;
}

struct SortCase {
    const char* name;
    Rows rows;
    int col, colSel;
    std::size_t row, rowSel;  // row == rowSel: a single cell, every row sorted
    Rows expected;
};

class GridSort : public ::testing::TestWithParam<SortCase> {};

TEST_P(GridSort, OrdersRowsBelowTheHeader)
{
    const SortCase& c = GetParam();
    GridModel g = gridWith(c.rows);
    g.setRow(c.row);
    g.setCol(c.col);
    g.setRowSel(c.rowSel);
    g.setColSel(c.colSel);
    g.sort();
    EXPECT_EQ(rowsOf(g), c.expected);
    EXPECT_EQ(g.cell(0, 0), "Forme(s)");
}

INSTANTIATE_TEST_SUITE_P(
    GridModel, GridSort,
    ::testing::Values(
        SortCase{"formThenReferenceAsText",
                 {{"amor", "[2]"}, {"amo", "[1]"}, {"amor", "[10]"}}, 1, 0, 3, 3,
                 {{"amo", "[1]"}, {"amor", "[10]"}, {"amor", "[2]"}}},
        SortCase{"numbersByValue", {{"a", "10"}, {"a", "2"}, {"a", "1.5"}}, 1, 0, 3, 3,
                 {{"a", "1.5"}, {"a", "2"}, {"a", "10"}}},
        SortCase{"numberAgainstTextComparesAsText", {{"a", "b"}, {"a", "10"}}, 1, 0, 2, 2,
                 {{"a", "10"}, {"a", "b"}}},
        SortCase{"caseIgnoredAndStable",
                 {{"amor", "[3]"}, {"Amor", "[1]"}, {"AMOR", "[2]"}, {"ala", "[9]"}}, 0, 0, 4, 4,
                 {{"ala", "[9]"}, {"amor", "[3]"}, {"Amor", "[1]"}, {"AMOR", "[2]"}}},
        SortCase{"accentedCapitalsLowered", {{"\xE9t\xE9", "1"}, {"\xC9t\xE9", "0"}, {"z", ""}},
                 0, 0, 3, 3, {{"z", ""}, {"\xE9t\xE9", "1"}, {"\xC9t\xE9", "0"}}},
        SortCase{"formOnlyWhenCurrentColumnIsZero", {{"b", "[1]"}, {"a", "[3]"}, {"a", "[2]"}},
                 0, 0, 1, 1, {{"a", "[3]"}, {"a", "[2]"}, {"b", "[1]"}}},
        SortCase{"selectedRowsOnly", {{"d", ""}, {"c", ""}, {"b", ""}, {"a", ""}}, 0, 0, 2, 3,
                 {{"d", ""}, {"b", ""}, {"c", ""}, {"a", ""}}},
        SortCase{"selectionFromHeaderSortsFromRowOne", {{"c", ""}, {"b", ""}, {"a", ""}}, 0, 0,
                 0, 2, {{"b", ""}, {"c", ""}, {"a", ""}}},
        SortCase{"singleRowUnchanged", {{"x", "[1]"}}, 1, 0, 1, 1, {{"x", "[1]"}}},
        SortCase{"noRows", {}, 0, 0, 0, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridModel, RowsCurrentCellSelectionAndClear)
{
    GridModel g;
    EXPECT_EQ(g.rows(), 2u);
    g.setRows(5);
    g.setRow(4);
    g.setCol(1);
    g.setText("x");
    EXPECT_EQ(g.cell(4, 1), "x");
    EXPECT_EQ(g.rowSel(), 4u);
    EXPECT_EQ(g.colSel(), 1);
    g.setColSel(0);
    EXPECT_EQ(g.col(), 1);  // the current cell stays
    EXPECT_EQ(g.colSel(), 0);

    g.setRows(2);  // drops rows from the end and pulls the cursor in
    EXPECT_EQ(g.rows(), 2u);
    EXPECT_EQ(g.row(), 1u);
    g.setRows(0);  // the header row is fixed
    EXPECT_EQ(g.rows(), 1u);

    g.setRows(3);
    g.setCell(0, 0, "Forme(s)");
    g.setCell(2, 1, "[1]");
    g.clear();
    EXPECT_EQ(g.rows(), 3u);
    EXPECT_EQ(g.cell(0, 0), "");
    EXPECT_EQ(g.cell(2, 1), "");
}

TEST(GridModel, SortEqualsAPlainStableSortOnGeneratedGrids)
{
    std::mt19937 rng(7);
    const std::vector<std::string> forms = {"amor", "Amor", "AMOR", "am", "\xC9t\xE9", "\xE9T\xC9",
                                            "zeta", "", "a\x9C", "a\x8C", "[1]", "[10]", "[2]"};
    for (int round = 0; round < 300; ++round) {
        Rows rows;
        const std::size_t n = std::uniform_int_distribution<std::size_t>(0, 30)(rng);
        for (std::size_t i = 0; i < n; ++i)
            rows.emplace_back(forms[rng() % forms.size()], forms[rng() % forms.size()]);
        const int col = static_cast<int>(rng() % 2);
        GridModel g = gridWith(rows);
        g.setRow(1);
        g.setCol(col);
        g.setColSel(0);
        g.sort();
        Rows expected = rows;
        std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
            if (lowered(a.first) != lowered(b.first))
                return lowered(a.first) < lowered(b.first);
            return col == 1 && lowered(a.second) < lowered(b.second);
        });
        ASSERT_EQ(rowsOf(g), expected) << "round " << round;
    }
}

TEST(GridModel, ReadsAsNumber)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"12", true}, {" 12 ", true}, {"-3", true}, {"1.5", true}, {"1,5", true},
        {"1e3", true}, {"[12]", false}, {"", false}, {"12a", false}, {".", false},
        {"1e", false}, {"amor", false}};
    for (const auto& [text, expected] : cases) {
        double v = 0;
        EXPECT_EQ(GridModel::readsAsNumber(text, v), expected) << text;
    }
}

} // namespace
} // namespace quorvex
