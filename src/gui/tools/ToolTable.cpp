#include "tools/ToolTable.h"

#include <QHeaderView>
#include <QTableView>

#include <algorithm>
#include <utility>

namespace quorvex {

TsvTable readTsv(std::string tsv)
{
    TsvTable table;
    table.tsv = std::move(tsv);
    const std::string& s = table.tsv;
    std::size_t line = s.find('\n');
    line = line == std::string::npos ? s.size() : line + 1;  // past the header
    while (line < s.size()) {
        std::size_t end = s.find('\n', line);
        if (end == std::string::npos)
            end = s.size();
        QStringList fields;
        std::string field;
        for (std::size_t i = line; i < end; ++i) {
            const char c = s[i];
            if (c == '\t') {
                fields << QString::fromStdString(field);
                field.clear();
            } else if (c == '\\' && i + 1 < end) {
                const char e = s[++i];
                field += e == 't' ? '\t' : e == 'n' ? '\n' : e == 'r' ? '\r' : e;
            } else {
                field += c;
            }
        }
        fields << QString::fromStdString(field);
        table.rows.push_back(std::move(fields));
        line = end + 1;
    }
    return table;
}

ToolTableModel::ToolTableModel(const QStringList& titles, QObject* parent)
    : QAbstractTableModel(parent), m_titles(titles)
{
}

void ToolTableModel::adopt(TsvTable& table)
{
    beginResetModel();
    std::swap(m_table, table);
    endResetModel();
}

int ToolTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_table.rows.size());
}

int ToolTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_titles.size());
}

QVariant ToolTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= m_table.rows.size())
        return {};
    const QStringList& row = m_table.rows[std::size_t(index.row())];
    if (index.column() >= row.size())
        return {};
    if (role == Qt::DisplayRole)
        return row[index.column()];
    if (role == Qt::TextAlignmentRole && index.column() > 0)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ToolTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_titles.size() ? m_titles[section] : QVariant();
    return section + 1;
}

bool ToolTableSorter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const QString a = left.data().toString();
    const QString b = right.data().toString();
    bool numberA = false, numberB = false;
    const double x = a.toDouble(&numberA);
    const double y = b.toDouble(&numberB);
    if (numberA && numberB)
        return x < y;
    return a.localeAwareCompare(b) < 0;
}

QTableView* newToolTableView(ToolTableModel* model, ToolTableSorter* sorter, QWidget* parent)
{
    sorter->setSourceModel(model);
    auto* table = new QTableView(parent);
    table->setObjectName(QStringLiteral("tableau"));
    table->setModel(sorter);
    table->setSortingEnabled(true);
    table->sortByColumn(-1, Qt::AscendingOrder);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView* header = table->horizontalHeader();
    header->setStretchLastSection(true);
    // Every title whole, with the room of the sort arrow: "Log-vraisemblance" is wider than
    // the default section.
    for (int column = 0; column < model->columnCount(); ++column)
        table->setColumnWidth(column, std::max(table->columnWidth(column), header->sectionSizeHint(column) + 16));
    return table;
}

} // namespace quorvex
