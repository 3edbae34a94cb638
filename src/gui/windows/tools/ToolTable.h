#pragma once
// The tables of the tool windows: rows the core computed, shown through a model that formats
// a cell only when it is drawn and sorts by the value itself (a number as a number), never by
// the text shown.

#include <QAbstractTableModel>
#include <QMargins>
#include <QStringList>

#include <cstddef>
#include <vector>

class QTableView;
class QWidget;

namespace quorvex {

class ToolTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // What a column sorts by: a number or text.
    static constexpr int SortRole = Qt::UserRole + 1;

    // `numeric[c]`: column c holds figures (aligned right).
    ToolTableModel(const QStringList& titles, const std::vector<bool>& numeric, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool numeric(int column) const
    {
        return column >= 0 && std::size_t(column) < m_numeric.size() && m_numeric[std::size_t(column)];
    }

protected:
    virtual std::size_t rows() const = 0;
    virtual QString text(std::size_t row, int column) const = 0;
    // By default the text; a figure gives its value.
    virtual QVariant sortKey(std::size_t row, int column) const { return text(row, column); }
    // Wraps a change of the rows so that the views follow.
    template <typename Change>
    void resetWith(Change&& change)
    {
        beginResetModel();
        change();
        endResetModel();
    }

private:
    QStringList m_titles;
    std::vector<bool> m_numeric;
};

// The table of a tool window (objectName "tableau"): a sorter over `model`, whole rows
// selected, read only, in the core's order until a column title is clicked; its first row is
// current whenever it is filled, so the keyboard starts there.
QTableView* newToolTableView(ToolTableModel* model, QWidget* parent);

// Makes the first row's cell of `column` current, if there is a row.
void startOnFirstRow(QTableView* table, int column = 0);
// The width of a window around `table` (in a layout of `margins`) that shows every column of
// the table without scrolling sideways, at least `least`, at most the screen's width.
int widthShowingEveryColumn(const QTableView* table, const QMargins& margins, int least);

} // namespace quorvex
