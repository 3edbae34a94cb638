#pragma once
// "Formes du lemme" (frmFormes): each form of the searched lemma that the text attests, with
// its number of attestations and a check box; a form unchecked leaves the list (as
// quorvex-cli --exclude-form does) until it is checked again or another lemma is searched.

#include "windows/tools/ToolWindow.h"

#include <QAbstractTableModel>

#include <cstddef>
#include <vector>

class QLabel;
class QTableView;

namespace quorvex {

class FormsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Row {
        QString form;
        std::size_t count = 0;
        bool left = false;  // left out of the list
    };

    using QAbstractTableModel::QAbstractTableModel;
    // Takes the rows whole.
    void adopt(std::vector<Row>& rows);
    const std::vector<Row>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A box checked or unchecked is asked of the window (checkToggled); the rows change when
    // the list follows.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    void checkToggled(int row, bool checked);

private:
    std::vector<Row> m_rows;
};

class FormsWindow : public ToolWindow {
    Q_OBJECT
public:
    FormsWindow(WindowDirectory& windows, QWidget* searchWindow);

protected:
    bool rebuild(ToolProgress& progress) override;
    QString workName() const override { return QStringLiteral("des formes du lemme"); }

private:
    // The list searched again without the forms unchecked; on failure the list, the boxes
    // and the choices stay as they were.
    void onCheckToggled(int row, bool checked);

    QLabel* m_lemmaLabel = nullptr;
    FormsModel* m_model = nullptr;
    QTableView* m_table = nullptr;
};

} // namespace quorvex
