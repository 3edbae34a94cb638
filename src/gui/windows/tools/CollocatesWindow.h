#pragma once
// "Cooccurrents" (frmCooccurrents): the collocates of the list's attestations within N words
// (a spin box, 5 at first), as quorvex-cli --collocates N gives them for the same search (by
// lemma under a lemma search), sortable by any column and copied as the CLI's TSV.

#include "concordance/Collocates.h"
#include "windows/tools/ToolTable.h"
#include "windows/tools/ToolWindow.h"

#include <vector>

class QPushButton;
class QSpinBox;
class QTableView;

namespace quorvex {

class CollocatesModel : public ToolTableModel {
    Q_OBJECT
public:
    explicit CollocatesModel(QObject* parent = nullptr);
    // Takes the rows whole; `utf8Keys`: the collocates are lemmata (UTF-8), else forms
    // (Windows-1252).
    void adopt(std::vector<Collocate>& rows, bool utf8Keys);
    const std::vector<Collocate>& collocates() const { return m_rows; }
    bool utf8Keys() const { return m_utf8; }

protected:
    std::size_t rows() const override { return m_rows.size(); }
    QString text(std::size_t row, int column) const override;
    QVariant sortKey(std::size_t row, int column) const override;

private:
    std::vector<Collocate> m_rows;
    bool m_utf8 = false;
};

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
    CollocatesModel* m_model = nullptr;
    int m_shownWindow = kDefaultWindow;
};

} // namespace quorvex
