#pragma once
// "Traductions" (frmTraductions): the French equivalents of the list's attestations, as
// quorvex-cli --translations ranks them (every row, not only the first twenty). A double
// click on a row keeps, for this search and every later one, only the attestations whose
// French passage holds that equivalent (as --french-lemma); "Retirer le filtre" gives the
// whole lists back.

#include "tools/ToolWindow.h"

class QLabel;
class QModelIndex;
class QPushButton;
class QTableView;

namespace quorvex {

class ToolTableModel;
class ToolTableSorter;

class TranslationsWindow : public ToolWindow {
    Q_OBJECT
public:
    TranslationsWindow(WindowDirectory& windows, QWidget* searchWindow);

    void onRowDoubleClicked(const QModelIndex& index);
    void onRemoveFilterClicked();

protected:
    bool rebuild(ToolProgress& progress) override;
    QString workName() const override { return QStringLiteral("des traductions"); }

private:
    // The French lemma's filter set (empty: removed), the list searched again under it.
    void filterBy(const QString& lemma);
    void showFilter();

    QLabel* m_filterLabel = nullptr;
    QPushButton* m_removeFilterButton = nullptr;
    QTableView* m_table = nullptr;
    ToolTableModel* m_model = nullptr;
    ToolTableSorter* m_sorter = nullptr;
};

} // namespace quorvex
