#pragma once
// The session's attestation list as a Qt table model. Row 0 of the list, the fixed header
// row, is the view's horizontal header, so it stays in place while the attestations scroll;
// view row r is list row r + 1. Cells are converted from Windows-1252 only when drawn, so a
// list of 600 000 rows costs nothing until its rows come on screen.

#include <QAbstractTableModel>
#include <QColor>

namespace quorvex {

class Session;

class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ResultTableModel(const Session& session, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // After the rows were replaced or reordered.
    void reload();

    // The fixed cells' colours: row 0 and column 0.
    static QColor fixedBackground() { return QColor(255, 255, 128); }
    static QColor fixedText() { return QColor(0, 0, 160); }

private:
    const Session& m_session;
};

} // namespace quorvex
