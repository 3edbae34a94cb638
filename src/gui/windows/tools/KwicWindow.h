#pragma once
// "Lignes KWIC" (frmKwic): one line per attestation of the list, in the grid's order, as
// quorvex-cli --kwic writes them; a double click, Return or Space on a line opens the context
// viewer on that attestation.

#include "windows/tools/ToolWindow.h"

#include <QAbstractListModel>

#include <cstddef>
#include <string>
#include <vector>

class QListView;
class QModelIndex;

namespace quorvex {

// The lines as one UTF-8 buffer and where each starts: no string kept per row.
class KwicLinesModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    // Takes the buffer whole.
    void adopt(std::string& lines, std::vector<std::size_t>& starts);
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    std::string m_lines;
    std::vector<std::size_t> m_starts;  // one per line, then the buffer's end
};

class KwicWindow : public ToolWindow {
    Q_OBJECT
public:
    KwicWindow(WindowDirectory& windows, QWidget* searchWindow);

    void onLineChosen(const QModelIndex& index);

protected:
    bool rebuild(ToolProgress& progress) override;
    QString workName() const override { return QStringLiteral("des lignes KWIC"); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    KwicLinesModel* m_model = nullptr;
    QListView* m_lineList = nullptr;
};

} // namespace quorvex
