#include "concordance/GridModel.h"

#include "concordance/Letters.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace quorvex {

namespace {

int compareText(const std::string& a, const std::string& b) noexcept
{
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = lowerByte(static_cast<unsigned char>(a[i]));
        const unsigned char y = lowerByte(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

int compareCells(const std::string& a, const std::string& b)
{
    // Forms and bracketed references never read as numbers; skip the parse for them.
    double x, y;
    if (!a.empty() && !b.empty() && GridModel::readsAsNumber(a, x) && GridModel::readsAsNumber(b, y))
        return x < y ? -1 : (y < x ? 1 : 0);
    return compareText(a, b);
}

} // namespace

GridModel::GridModel() : m_cells(2) {}

void GridModel::setRows(std::size_t rows)
{
    m_cells.resize(rows);
    if (m_centred.size() > rows)
        m_centred.resize(rows);
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

bool GridModel::isCentred(std::size_t row, int col) const
{
    return row < m_centred.size() && m_centred[row][static_cast<std::size_t>(col)];
}

void GridModel::setCellCentred(bool centred)
{
    if (m_row >= m_centred.size()) {
        if (!centred)
            return;
        m_centred.resize(m_row + 1);
    }
    m_centred[m_row][static_cast<std::size_t>(m_col)] = centred;
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

    std::vector<std::size_t> order(last - first + 1);
    std::iota(order.begin(), order.end(), first);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        for (int k = keyFirst; k <= keyLast; ++k) {
            const int c = compareCells(m_cells[a][static_cast<std::size_t>(k)],
                                       m_cells[b][static_cast<std::size_t>(k)]);
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    std::vector<std::array<std::string, kColumns>> sorted;
    sorted.reserve(order.size());
    for (std::size_t idx : order)
        sorted.push_back(std::move(m_cells[idx]));
    std::move(sorted.begin(), sorted.end(), m_cells.begin() + static_cast<std::ptrdiff_t>(first));
}

} // namespace quorvex
