#include "concordance/GridModel.h"

#include "text/Letters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace quorvex {
namespace {

using Rows = std::vector<std::pair<std::string, std::string>>;

// Sorts these rows under a header with the current cell and selection end given, and
// returns them in their new order.
Rows sorted(const Rows& rows, int col, int colSel, std::size_t row, std::size_t rowSel)
{
    GridModel g;
    g.setRows(1);
    g.setCell(0, 0, "Forme(s)");
    for (const auto& r : rows)
        g.appendRow(r.first, r.second);
    g.setRow(row);
    g.setCol(col);
    g.setRowSel(rowSel);
    g.setColSel(colSel);
    g.sort();
    EXPECT_EQ(g.cell(0, 0), "Forme(s)");
    Rows out;
    for (std::size_t r = 1; r < g.rows(); ++r)
        out.emplace_back(g.cell(r, 0), g.cell(r, 1));
    return out;
}

struct SortCase {
    const char* name;
    Rows rows;
    int col;
    std::size_t row, rowSel;
    Rows expected;
};

class GridSort : public ::testing::TestWithParam<SortCase> {};

TEST_P(GridSort, OrdersRowsBelowTheHeader)
{
    const SortCase& c = GetParam();
    EXPECT_EQ(sorted(c.rows, c.col, 0, c.row, c.rowSel), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    GridModel, GridSort,
    ::testing::Values(
        SortCase{"numbersByValue", {{"a", "10"}, {"a", "2"}, {"a", "1.5"}}, 1, 3, 3,
                 {{"a", "1.5"}, {"a", "2"}, {"a", "10"}}},
        SortCase{"numberAgainstTextComparesAsText", {{"a", "b"}, {"a", "10"}}, 1, 2, 2, {{"a", "10"}, {"a", "b"}}},
        SortCase{"selectedRowsOnly", {{"d", ""}, {"c", ""}, {"b", ""}, {"a", ""}}, 0, 2, 3,
                 {{"d", ""}, {"b", ""}, {"c", ""}, {"a", ""}}},
        SortCase{"selectionFromHeaderSortsFromRowOne", {{"c", ""}, {"b", ""}, {"a", ""}}, 0, 0, 2,
                 {{"b", ""}, {"c", ""}, {"a", ""}}},
        SortCase{"noRows", {}, 0, 0, 0, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridModel, SortEqualsAPlainStableSortOnGeneratedGrids)
{
    std::mt19937 rng(7);
    const std::vector<std::string> forms = {"amor", "Amor", "AMOR", "am", "\xC9t\xE9", "\xE9T\xC9",
                                            "zeta", "", "a\x9C", "a\x8C", "[1]", "[10]", "[2]"};
    for (int round = 0; round < 300; ++round) {
        Rows rows;
        for (std::size_t n = rng() % 31; n > 0; --n)
            rows.emplace_back(forms[rng() % forms.size()], forms[rng() % forms.size()]);
        // Column 1 current: by form, then by reference; column 0: by form alone.
        const int col = static_cast<int>(rng() % 2);
        Rows expected = rows;
        std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
            if (lowered(a.first) != lowered(b.first))
                return lowered(a.first) < lowered(b.first);
            return col == 1 && lowered(a.second) < lowered(b.second);
        });
        ASSERT_EQ(sorted(rows, col, 0, 1, 1), expected) << "round " << round;
    }
}

} // namespace
} // namespace quorvex
