#pragma once
// The result grid control: a table view over the core's GridModel, with the members the
// windows call (Rows, Row, Col, RowSel, ColSel, Text, Clear, Sort) keeping the view in
// step. The model holds every cell, so a grid of 600 000 rows costs no widget per row.
// Row 0 stays on top as the fixed header; column 0 is drawn in the fixed cells' colours.

#include "concordance/GridModel.h"

#include <QTableView>

#include <cstddef>
#include <string>

namespace quorvex {

class ResultGridHeader;
class ResultTableModel;

class ResultGrid : public QTableView {
    Q_OBJECT
public:
    explicit ResultGrid(QWidget* parent = nullptr);
    ~ResultGrid() override;

    // The cells. After changing them directly, call refresh() once: the view shows the
    // new rows from the top.
    GridModel& cells() { return m_cells; }
    const GridModel& cells() const { return m_cells; }
    void refresh();

    std::size_t Rows() const { return m_cells.rows(); }
    void setRows(std::size_t rows);
    std::size_t Row() const { return m_cells.row(); }
    void setRow(std::size_t row);
    int Col() const { return m_cells.col(); }
    void setCol(int col);
    std::size_t RowSel() const { return m_cells.rowSel(); }
    int ColSel() const { return m_cells.colSel(); }
    void setColSel(int col);
    const std::string& Text() const { return m_cells.text(); }  // Windows-1252
    void setText(std::string text);
    void setCellAlignmentCentred();
    void setColWidth(int col, int twips);
    void Clear();
    void Sort();

    // Height of every row, header included, in pixels.
    int uniformRowHeight() const { return m_rowHeight; }

signals:
    // The user clicked a cell; RowSel() names the row clicked.
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void onCurrentChanged(const QModelIndex& current);
    void onHeaderClicked(int column);
    // Shows the grid's current cell and selection.
    void showCursor();
    void applySizes();

    GridModel m_cells;
    ResultTableModel* m_model = nullptr;
    ResultGridHeader* m_header = nullptr;
    int m_rowHeight = 16;
    bool m_syncing = false;
    bool m_pressed = false;
};

} // namespace quorvex
