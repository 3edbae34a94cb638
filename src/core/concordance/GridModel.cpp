#include "concordance/GridModel.h"

#include "text/Letters.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <numeric>
#include <string_view>
#include <unordered_map>

namespace quorvex {

GridModel::GridModel() : m_cells(2) {}

void GridModel::setRows(std::size_t rows)
{
    // The header row is fixed: a grid never has fewer rows than that.
    rows = std::max<std::size_t>(rows, 1);
    m_cells.resize(rows);
    clampCursor();
}

void GridModel::clampCursor()
{
    const std::size_t last = m_cells.empty() ? 0 : m_cells.size() - 1;
    m_row = std::min(m_row, last);
    m_rowSel = std::min(m_rowSel, last);
}

void GridModel::setRow(std::size_t row)
{
    m_row = std::min(row, m_cells.empty() ? 0 : m_cells.size() - 1);
    m_rowSel = m_row;
    m_colSel = m_col;
}

void GridModel::setCol(int col)
{
    m_col = std::clamp(col, 0, kColumns - 1);
    m_rowSel = m_row;
    m_colSel = m_col;
}

void GridModel::setRowSel(std::size_t row)
{
    m_rowSel = std::min(row, m_cells.empty() ? 0 : m_cells.size() - 1);
}

void GridModel::setColSel(int col)
{
    m_colSel = std::clamp(col, 0, kColumns - 1);
}

void GridModel::setText(std::string text)
{
    if (!m_cells.empty())
        m_cells[m_row][static_cast<std::size_t>(m_col)] = std::move(text);
}

void GridModel::setCell(std::size_t row, int col, std::string text)
{
    m_cells[row][static_cast<std::size_t>(col)] = std::move(text);
}

void GridModel::appendRow(std::string col0, std::string col1)
{
    m_cells.push_back({std::move(col0), std::move(col1)});
}

void GridModel::clear()
{
    for (auto& r : m_cells)
        for (auto& c : r)
            c.clear();
}

bool GridModel::readsAsNumber(const std::string& text, double& value)
{
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    std::string normalised(text, start, i - start);
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        normalised += text[i++];
        ++digits;
    }
    if (i < n && (text[i] == '.' || text[i] == ',')) {
        normalised += '.';
        ++i;
        while (i < n && text[i] >= '0' && text[i] <= '9') {
            normalised += text[i++];
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exp = "e";
        if (j < n && (text[j] == '+' || text[j] == '-'))
            exp += text[j++];
        std::size_t expDigits = 0;
        while (j < n && text[j] >= '0' && text[j] <= '9') {
            exp += text[j++];
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
        normalised += exp;
        i = j;
    }
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (i != n)
        return false;
    value = std::strtod(normalised.c_str(), nullptr);
    return true;
}

void GridModel::sort()
{
    if (m_cells.size() < 3)
        return;
    std::size_t first = 1;
    std::size_t last = m_cells.size() - 1;
    if (m_row != m_rowSel) {
        first = std::max<std::size_t>(1, std::min(m_row, m_rowSel));
        last = std::max(m_row, m_rowSel);
    }
    if (last <= first)
        return;
    const int keyFirst = std::min(m_col, m_colSel);
    const int keyLast = std::max(m_col, m_colSel);

    // Every key cell is read once: whether it reads as a number, and its lowered text copied
    // into one arena, so comparisons touch this compact copy rather than the rows.
    struct CellKey {
        std::size_t offset = 0;
        std::size_t length = 0;
        bool isNumber = false;
        double value = 0;
    };
    const std::size_t count = last - first + 1;
    const auto keyCount = static_cast<std::size_t>(keyLast - keyFirst + 1);
    std::vector<CellKey> keys(count * keyCount);
    std::string arena;
    bool anyNumber = false;
    for (std::size_t r = 0; r < count; ++r) {
        for (std::size_t k = 0; k < keyCount; ++k) {
            const std::string& text = m_cells[first + r][static_cast<std::size_t>(keyFirst) + k];
            CellKey& key = keys[r * keyCount + k];
            key.isNumber = !text.empty() && readsAsNumber(text, key.value);
            anyNumber = anyNumber || key.isNumber;
            key.offset = arena.size();
            key.length = text.size();
            for (char c : text)
                arena += lowerChar(c);
        }
    }
    auto textOf = [&](const CellKey& key) {
        return std::string_view(arena).substr(key.offset, key.length);
    };

    struct Entry {
        std::uint64_t rank;  // text-only keys: the ranks of the row's key texts
        std::size_t index;   // from `first`
    };
    std::vector<Entry> entries(count);
    for (std::size_t r = 0; r < count; ++r)
        entries[r] = Entry{0, r};

    if (!anyNumber) {
        // Text only (forms and references never read as numbers): rank the distinct texts of
        // each key column once, then sort rows on whole numbers. Hundreds of thousands of rows
        // hold only tens of thousands of distinct forms.
        static_assert(kColumns <= 2, "two 32-bit ranks per row");
        for (std::size_t k = 0; k < keyCount; ++k) {
            std::unordered_map<std::string_view, std::uint32_t> ids;
            std::vector<std::string_view> distinct;
            std::vector<std::uint32_t> cellId(count);
            for (std::size_t r = 0; r < count; ++r) {
                const std::string_view text = textOf(keys[r * keyCount + k]);
                const auto [it, added] =
                    ids.try_emplace(text, static_cast<std::uint32_t>(distinct.size()));
                if (added)
                    distinct.push_back(text);
                cellId[r] = it->second;
            }
            std::vector<std::uint32_t> byText(distinct.size());
            std::iota(byText.begin(), byText.end(), 0u);
            // char_traits<char> compares bytes as unsigned, like the lowering's Latin-1 order.
            std::sort(byText.begin(), byText.end(),
                      [&](std::uint32_t a, std::uint32_t b) { return distinct[a] < distinct[b]; });
            std::vector<std::uint32_t> rank(distinct.size());
            for (std::size_t i = 0; i < byText.size(); ++i)
                rank[byText[i]] = static_cast<std::uint32_t>(i);
            for (std::size_t r = 0; r < count; ++r)
                entries[r].rank = (entries[r].rank << 32) | rank[cellId[r]];
        }
        std::stable_sort(entries.begin(), entries.end(),
                         [](const Entry& a, const Entry& b) { return a.rank < b.rank; });
    } else {
        std::stable_sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
            for (std::size_t k = 0; k < keyCount; ++k) {
                const CellKey& x = keys[a.index * keyCount + k];
                const CellKey& y = keys[b.index * keyCount + k];
                if (x.isNumber && y.isNumber) {
                    if (x.value != y.value)
                        return x.value < y.value;
                    continue;
                }
                const int c = textOf(x).compare(textOf(y));
                if (c != 0)
                    return c < 0;
            }
            return false;
        });
    }
    std::vector<std::array<std::string, kColumns>> sorted;
    sorted.reserve(entries.size());
    for (const Entry& e : entries)
        sorted.push_back(std::move(m_cells[first + e.index]));
    std::move(sorted.begin(), sorted.end(), m_cells.begin() + static_cast<std::ptrdiff_t>(first));
}

} // namespace quorvex
