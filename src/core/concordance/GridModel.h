#pragma once
// The result grid as data: two text columns, a fixed header row 0, a current cell and a
// selection end, and the generic ascending sort. The command line's reader options sort and
// write their rows through it; the windows save and print their empty placeholder grid.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

namespace quorvex {

class GridModel {
public:
    static constexpr int kColumns = 2;

    GridModel();

    // Number of rows, header included. Growing appends empty rows; shrinking drops rows
    // from the end, never below the header row. The current cell and selection end are kept
    // inside the grid.
    std::size_t rows() const noexcept { return m_cells.size(); }
    void setRows(std::size_t rows);

    // Setting the current row or column also moves the selection end onto it.
    std::size_t row() const noexcept { return m_row; }
    int col() const noexcept { return m_col; }
    void setRow(std::size_t row);
    void setCol(int col);
    std::size_t rowSel() const noexcept { return m_rowSel; }
    int colSel() const noexcept { return m_colSel; }
    void setRowSel(std::size_t row);
    void setColSel(int col);

    // Text of the current cell (Windows-1252 bytes).
    const std::string& text() const { return m_cells[m_row][static_cast<std::size_t>(m_col)]; }
    void setText(std::string text);

    // Direct cell access for readers that do not move the current cell.
    const std::string& cell(std::size_t row, int col) const
    {
        return m_cells[row][static_cast<std::size_t>(col)];
    }
    void setCell(std::size_t row, int col, std::string text);
    // Appends a row holding these two cells (the search fills the grid this way).
    void appendRow(std::string col0, std::string col1);
    void reserveRows(std::size_t rows) { m_cells.reserve(rows); }

    // Empties every cell's text, header included; counts stay.
    void clear();

    // Ascending sort of the rows below the header (of rows Row..RowSel only when the
    // selection spans several rows), keyed on the columns from Col to ColSel. Two cells
    // that both read as numbers compare by value; others compare as text, ignoring case
    // (Latin-1 lowering). Rows with equal keys keep their order.
    void sort();

    // Number-reading used by the sort: optional blanks and sign, digits with an optional
    // decimal point or comma, an optional exponent.
    static bool readsAsNumber(const std::string& text, double& value);

private:
    void clampCursor();

    std::vector<std::array<std::string, kColumns>> m_cells;
    std::size_t m_row = 0;
    int m_col = 0;
    std::size_t m_rowSel = 0;
    int m_colSel = 0;
};

} // namespace quorvex
