#include "widgets/ResultTableModel.h"

#include "platform/TextCodec.h"
#include "session/Session.h"

#include <QBrush>
#include <QGuiApplication>
#include <QPalette>

#include <limits>

namespace quorvex {

namespace {

QVariant alignment(bool centred)
{
    return QVariant::fromValue(centred ? Qt::Alignment(Qt::AlignCenter)
                                       : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
}

} // namespace

ResultTableModel::ResultTableModel(const Session& session, QObject* parent)
    : QAbstractTableModel(parent), m_session(session)
{
}

int ResultTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    const std::size_t body = m_session.rowCount() - 1;
    return body > static_cast<std::size_t>(std::numeric_limits<int>::max())
        ? std::numeric_limits<int>::max()
        : static_cast<int>(body);
}

int ResultTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Session::kColumns;
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const std::size_t row = static_cast<std::size_t>(index.row()) + 1;
    const int col = index.column();
    if (row >= m_session.rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return col == 0 ? fromCp1252(m_session.form(row)) : fromCp1252(m_session.reference(row));
    case Qt::TextAlignmentRole:
        return alignment(false);
    case Qt::BackgroundRole:
        return col == 0 ? QBrush(fixedBackground())
                        : QBrush(QGuiApplication::palette().color(QPalette::Base));
    case Qt::ForegroundRole:
        return col == 0 ? QBrush(fixedText())
                        : QBrush(QGuiApplication::palette().color(QPalette::Text));
    default:
        return {};
    }
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= Session::kColumns)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return fromCp1252(Session::headerText(section));
    case Qt::TextAlignmentRole:
        return alignment(true);
    default:
        return {};
    }
}

void ResultTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

} // namespace quorvex
