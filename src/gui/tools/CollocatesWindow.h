#pragma once
// "Cooccurrents" (frmCooccurrents): the collocates of the list's attestations within N words
// (a spin box, 5 at first), as quorvex-cli --collocates N gives them, sortable by any column
// and copied as the CLI's TSV.

#include "tools/ToolWindow.h"

class QPushButton;
class QSpinBox;
class QTableView;

namespace quorvex {

class ToolTableModel;
class ToolTableSorter;

class CollocatesWindow : public ToolWindow {
    Q_OBJECT
public:
    static constexpr int kDefaultWindow = 5;

    CollocatesWindow(WindowDirectory& windows, QWidget* searchWindow);

    // The table as quorvex-cli writes it, header included, to the clipboard.
    void onCopyClicked();

protected:
    bool rebuild(ToolProgress& progress) override;
    QString workName() const override { return QStringLiteral("des cooccurrents"); }

private:
    QSpinBox* m_windowSize = nullptr;
    QTableView* m_table = nullptr;
    QPushButton* m_copyButton = nullptr;
    ToolTableModel* m_model = nullptr;
    ToolTableSorter* m_sorter = nullptr;
    int m_shownWindow = kDefaultWindow;
};

} // namespace quorvex
