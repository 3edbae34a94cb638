#include "windows/tools/ToolTable.h"

#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <QTableView>

#include <algorithm>

namespace quorvex {

ToolTableModel::ToolTableModel(const QStringList& titles, const std::vector<bool>& numeric, QObject* parent)
    : QAbstractTableModel(parent), m_titles(titles), m_numeric(numeric)
{
    m_numeric.resize(std::size_t(m_titles.size()), false);
}

int ToolTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(rows()); }

int ToolTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(m_titles.size()); }

QVariant ToolTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= rows() || index.column() >= m_titles.size())
        return {};
    const std::size_t row = std::size_t(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return text(row, index.column());
    case SortRole:
        return sortKey(row, index.column());
    case Qt::TextAlignmentRole:
        if (m_numeric[std::size_t(index.column())])
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant ToolTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_titles.size() ? m_titles[section] : QVariant();
    return section + 1;
}

QTableView* newToolTableView(ToolTableModel* model, QWidget* parent)
{
    auto* sorter = new QSortFilterProxyModel(parent);
    sorter->setSourceModel(model);
    sorter->setSortRole(ToolTableModel::SortRole);
    sorter->setSortLocaleAware(true);
    auto* table = new QTableView(parent);
    table->setObjectName(QStringLiteral("tableau"));
    table->setModel(sorter);
    table->setSortingEnabled(true);
    table->sortByColumn(-1, Qt::AscendingOrder);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = table->horizontalHeader();
    header->setStretchLastSection(true);
    // Every title whole, with the room of the sort arrow ("Log-vraisemblance" is wider than the
    // default section); a column of figures no wider than its title, so that every column
    // stands in sight.
    for (int column = 0; column < model->columnCount(); ++column) {
        const int title = header->sectionSizeHint(column) + 16;
        table->setColumnWidth(column, model->numeric(column) ? std::max(title, 64) : std::max(table->columnWidth(column), title));
    }
    // The sorter's own reset: by then it maps the new rows.
    QObject::connect(sorter, &QAbstractItemModel::modelReset, table, [table] { startOnFirstRow(table); });
    return table;
}

void startOnFirstRow(QTableView* table, int column)
{
    const QAbstractItemModel* model = table->model();
    if (model->rowCount() > 0)
        table->setCurrentIndex(model->index(0, column));
}

int widthShowingEveryColumn(const QTableView* table, const QMargins& margins, int least)
{
    int columns = 0;
    for (int column = 0; column < table->model()->columnCount(); ++column)
        columns += table->columnWidth(column);
    // The row numbers reach four or five digits once the rows are in.
    const int rowNumbers = table->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12;
    const int scrollBar = table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table);
    const int wanted = margins.left() + margins.right() + 2 * table->frameWidth() + rowNumbers + columns + scrollBar;
    const int screen = table->screen() ? table->screen()->availableGeometry().width() : wanted;
    return std::min(std::max(least, wanted), std::max(least, screen));
}

} // namespace quorvex
