#pragma once
// The result grid grille01: a table view of the session's attestation list. It shows the
// session's current cell and selection end, and passes the user's clicks and arrow keys
// back to the session; Return, Enter or Space on a row is a click on its current cell. Row 0 stays on top as the fixed header; column 0 is drawn in the
// fixed cells' colours. No widget or item per row: 600 000 rows cost a few megabytes.

#include <QTableView>

namespace quorvex {

class ResultGridHeader;
class ResultTableModel;
class Session;

class ResultGrid : public QTableView {
    Q_OBJECT
public:
    explicit ResultGrid(Session& session, QWidget* parent = nullptr);
    ~ResultGrid() override;

signals:
    // The user clicked a cell (or beside the cells), or pressed Return or Space on one; the
    // session's selection end names the row.
    void clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // The list was replaced or reordered: shown again from its top.
    void onResultsReset();
    void onCurrentChanged(const QModelIndex& current);
    void onHeaderClicked(int column);
    // Shows the session's current cell and selection.
    void showCursor();
    void applySizes();

    Session& m_session;
    ResultTableModel* m_model = nullptr;
    ResultGridHeader* m_header = nullptr;
    bool m_syncing = false;
    bool m_pressed = false;
};

} // namespace quorvex
