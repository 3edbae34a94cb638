#pragma once
// The result grid's cells as a Qt table model. Row 0 of the grid, the fixed header row, is
// the view's horizontal header, so it stays in place while the attestations scroll; view
// row r is grid row r + 1. Cells are converted from Windows-1252 only when drawn.

#include "concordance/GridModel.h"

#include <QAbstractTableModel>
#include <QColor>

namespace quorvex {

class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultTableModel(const GridModel& cells, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // After the rows were replaced, added or removed, or reordered.
    void reload();
    // After the text or alignment of one grid cell changed.
    void cellChanged(std::size_t gridRow, int col);
    // After every cell's text changed but the counts did not.
    void allCellsChanged();

    // The fixed cells' colours: row 0 and column 0.
    static QColor fixedBackground() { return QColor(255, 255, 128); }
    static QColor fixedText() { return QColor(0, 0, 160); }

private:
    const GridModel& m_cells;
};

} // namespace quorvex
