#pragma once
// A table of a tool window read from the TSV the core writes for quorvex-cli (header line,
// then one record a line, UTF-8): the window shows exactly the CLI's figures, copies exactly
// its bytes, and sorts any column, numbers as numbers.

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QString>
#include <QStringList>

class QTableView;
class QWidget;

#include <string>
#include <vector>

namespace quorvex {

struct TsvTable {
    std::string tsv;                  // as the core wrote it
    std::vector<QStringList> rows;    // its records after the header, fields unescaped
};

// Splits the core's TSV: fields by tab, records by LF, \\ \t \n \r unescaped. The header line
// is dropped (the window has French titles of its own). Throws std::bad_alloc.
TsvTable readTsv(std::string tsv);

class ToolTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    ToolTableModel(const QStringList& titles, QObject* parent = nullptr);

    // Takes the table whole; nothing that can fail happens after the swap.
    void adopt(TsvTable& table);
    const TsvTable& table() const { return m_table; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_titles;
    TsvTable m_table;
};

// Sorts a column of figures by value and any other by its text.
class ToolTableSorter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

// The table of a tool window (objectName "tableau"): `sorter` over `model`, whole rows
// selected, read only, in the core's order until a column title is clicked.
QTableView* newToolTableView(ToolTableModel* model, ToolTableSorter* sorter, QWidget* parent);

} // namespace quorvex
