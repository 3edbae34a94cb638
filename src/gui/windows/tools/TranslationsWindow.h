#pragma once
// "Traductions" (frmTraductions): the French equivalents of the list's attestations, as
// quorvex-cli --translations ranks them by the hits aligned to them (every row, not only the
// first twenty, and the last row of the hits aligned to nothing). A double
// click or Return on a row keeps, for this search and every later one, only the attestations
// whose French passage holds that equivalent (as --french-lemma); "Retirer le filtre" gives
// the whole lists back. A list the command line would not rank (one of the French text) is
// refused in its words.

#include "translation/Equivalents.h"
#include "windows/tools/ToolTable.h"
#include "windows/tools/ToolWindow.h"

#include <vector>

class QLabel;
class QModelIndex;
class QPushButton;
class QTableView;

namespace quorvex {

class EquivalentsModel : public ToolTableModel {
    Q_OBJECT
public:
    explicit EquivalentsModel(QObject* parent = nullptr);
    // Takes the ranking's rows whole (none: `equivalents` null); their lemmas are named by
    // `lemmas`, which outlives the model's use of them.
    void adopt(const Equivalents* equivalents, const FrenchLemmas* lemmas);
    // The French lemma of a row (UTF-8); empty for the row of the hits rendered by nothing.
    QString lemma(std::size_t row) const;

protected:
    std::size_t rows() const override { return m_rows.size() + (m_ranked && m_pairedHits > 0 ? 1 : 0); }
    QString text(std::size_t row, int column) const override;
    QVariant sortKey(std::size_t row, int column) const override;

private:
    std::vector<EquivalentRow> m_rows;
    bool m_ranked = false;  // a ranking was adopted: it ends with the row of the hits rendered by nothing
    std::size_t m_pairedHits = 0, m_unrendered = 0;
    const FrenchLemmas* m_lemmas = nullptr;
    double share(std::size_t hits) const { return m_pairedHits ? 100.0 * double(hits) / double(m_pairedHits) : 0.0; }
};

class TranslationsWindow : public ToolWindow {
    Q_OBJECT
public:
    TranslationsWindow(WindowDirectory& windows, QWidget* searchWindow);

    // The row's French lemma becomes the filter.
    void onRowChosen(const QModelIndex& index);
    void onRemoveFilterClicked();

protected:
    bool rebuild(ToolProgress& progress) override;
    QString workName() const override { return QStringLiteral("des traductions"); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The French lemma's filter set (empty: removed), the list searched again under it.
    void filterBy(const QString& lemma);
    void showFilter();
    QString filterLemma() const;  // the French lemma filtering the list, "" for none

    QLabel* m_filterLabel = nullptr;
    QLabel* m_refusalLabel = nullptr;
    QPushButton* m_removeFilterButton = nullptr;
    QTableView* m_table = nullptr;
    EquivalentsModel* m_model = nullptr;
};

} // namespace quorvex
