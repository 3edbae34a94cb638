#include "windows/tools/TranslationsWindow.h"

#include "output/EquivalentsTable.h"
#include "platform/FileMessages.h"
#include "platform/MessageBoxes.h"
#include "session/Session.h"
#include "windows/WindowDirectory.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <new>

namespace quorvex {

EquivalentsModel::EquivalentsModel(QObject* parent)
    : ToolTableModel({QStringLiteral("Équivalent"), QStringLiteral("Alignées"), QStringLiteral("Part (%)"),
                      QStringLiteral("Passages"), QStringLiteral("Fréquence"), QStringLiteral("Log-vraisemblance"),
                      QStringLiteral("Dice")},
                     {false, true, true, true, true, true, true}, parent)
{
}

void EquivalentsModel::adopt(const Equivalents* equivalents, const FrenchLemmas* lemmas)
{
    resetWith([&] {
        m_rows = equivalents ? equivalents->rows() : std::vector<EquivalentRow>();
        m_pairedHits = equivalents ? equivalents->pairedHits() : 0;
        m_unrendered = equivalents ? equivalents->unrenderedHits() : 0;
        m_lemmas = lemmas;
        m_ranked = equivalents != nullptr;
    });
}

QString EquivalentsModel::lemma(std::size_t row) const
{
    return m_lemmas && row < m_rows.size() ? QString::fromStdString(m_lemmas->lemmaText(m_rows[row].lemma))
                                           : QString();
}

QString EquivalentsModel::text(std::size_t row, int column) const
{
    if (row == m_rows.size()) {
        // The hits aligned to nothing: a count and its share, as --translations writes them.
        switch (column) {
        case 0:
            return QString::fromLatin1(kUntranslatedRow);
        case 1:
            return QString::number(m_unrendered);
        case 2:
            return QString::fromStdString(fixedDecimals(share(m_unrendered), 1));
        default:
            return QString();
        }
    }
    const EquivalentRow& r = m_rows[row];
    switch (column) {
    case 0:
        return lemma(row);
    case 1:
        return QString::number(r.aligned);
    case 2:
        return QString::fromStdString(fixedDecimals(share(r.aligned), 1));
    case 3:
        return QString::number(r.a);
    case 4:
        return QString::number(r.frequency());
    case 5:
        return QString::fromStdString(fixedDecimals(r.logLikelihood, 3));
    default:
        return QString::fromStdString(fixedDecimals(r.dice, 3));
    }
}

QVariant EquivalentsModel::sortKey(std::size_t row, int column) const
{
    if (row == m_rows.size())
        return column == 1 || column == 2 ? QVariant(qulonglong(m_unrendered)) : QVariant(text(row, column));
    const EquivalentRow& r = m_rows[row];
    switch (column) {
    case 1:
    case 2:
        return qulonglong(r.aligned);
    case 3:
        return qulonglong(r.a);
    case 4:
        return qulonglong(r.frequency());
    case 5:
        return r.logLikelihood;
    case 6:
        return r.dice;
    default:
        return lemma(row);
    }
}

TranslationsWindow::TranslationsWindow(WindowDirectory& windows, QWidget* searchWindow)
    : ToolWindow(windows, searchWindow, "frmTraductions", QStringLiteral("Traductions"))
{
    m_filterLabel = new QLabel(this);
    m_filterLabel->setObjectName(QStringLiteral("filtre"));
    m_filterLabel->setTextFormat(Qt::PlainText);
    m_removeFilterButton = new QPushButton(QStringLiteral("&Retirer le filtre"), this);
    m_removeFilterButton->setObjectName(QStringLiteral("retirer_filtre"));
    m_removeFilterButton->setAutoDefault(false);
    m_refusalLabel = new QLabel(this);
    m_refusalLabel->setObjectName(QStringLiteral("refus"));
    m_refusalLabel->setTextFormat(Qt::PlainText);
    m_refusalLabel->setWordWrap(true);
    m_refusalLabel->hide();

    m_model = new EquivalentsModel(this);
    m_table = newToolTableView(m_model, this);
    m_table->setToolTip(QStringLiteral("Double clic ou Entrée : ne garder que les attestations dont le passage "
                                       "français contient cet équivalent"));
    m_table->installEventFilter(this);

    auto* top = new QHBoxLayout;
    top->addWidget(m_filterLabel, 1);
    top->addWidget(m_removeFilterButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_refusalLabel);
    layout->addWidget(m_table);
    resize(widthShowingEveryColumn(m_table, layout->contentsMargins(), 680), 480);
    m_table->setFocus();  // the keyboard starts on the rows, not on the controls above them

    connect(m_table, &QTableView::doubleClicked, this, &TranslationsWindow::onRowChosen);
    connect(m_removeFilterButton, &QPushButton::clicked, this, &TranslationsWindow::onRemoveFilterClicked);
    showFilter();
}

bool TranslationsWindow::rebuild(ToolProgress& progress)
{
    const Equivalents* ranked = nullptr;
    const FrenchLemmas* lemmas = nullptr;
    const QString refusal = QString::fromStdString(equivalentsRefusal(m_session.choices().asked.frenchSide));
    if (refusal.isEmpty() && listHoldsAttestations() && !m_session.frenchPath().isEmpty()) {
        // The alignment's training, the first time, is the whole of the work: its steps are
        // shown out of a fixed scale, the last one kept for the ranking.
        constexpr std::uint64_t kScale = 1000;
        if (!progress.advance(0, kScale))
            return false;
        FileError error;
        const Equivalents* equivalents =
            m_session.equivalents(&error, [&progress](std::uint64_t done, std::uint64_t total) {
                return progress.advance(total ? done * (kScale - 1) / total : 0, kScale);
            });
        if (error.kind == FileErrorKind::OutOfMemory)
            throw std::bad_alloc();
        if (error.kind == FileErrorKind::Cancelled)
            return false;
        if (error) {
            m_windows.platform().messages.show(messageParent(), fileErrorMessage(error));
            return false;
        }
        if (!progress.advance(kScale, kScale))
            return false;
        if (equivalents && m_session.frenchLemmas()) {
            ranked = equivalents;
            lemmas = m_session.frenchLemmas();
        }
    }
    m_model->adopt(ranked, lemmas);
    m_refusalLabel->setText(refusal);
    m_refusalLabel->setVisible(!refusal.isEmpty());
    showFilter();
    return true;
}

bool TranslationsWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onRowChosen(m_table->currentIndex());
            return true;
        }
    }
    return ToolWindow::eventFilter(watched, event);
}

QString TranslationsWindow::filterLemma() const
{
    return QString::fromStdString(m_session.choices().asked.frenchLemma.value_or(std::string()));
}

void TranslationsWindow::showFilter()
{
    const QString lemma = filterLemma();
    m_filterLabel->setText(lemma.isEmpty()
                               ? QStringLiteral("Aucun filtre : double-cliquez un équivalent pour "
                                                "ne garder que ses passages.")
                               : QStringLiteral("Filtre : passages français avec « %1 »").arg(lemma));
    m_removeFilterButton->setEnabled(!lemma.isEmpty());
}

void TranslationsWindow::onRowChosen(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const auto* sorter = static_cast<const QSortFilterProxyModel*>(index.model());
    const QString lemma = m_model->lemma(std::size_t(sorter->mapToSource(index).row()));
    if (lemma.isEmpty() || lemma == filterLemma())
        return;
    filterBy(lemma);
}

void TranslationsWindow::onRemoveFilterClicked()
{
    if (filterLemma().isEmpty())
        return;
    filterBy(QString());
}

void TranslationsWindow::filterBy(const QString& lemma)
{
    SearchChoices choices = m_session.choices();
    choices.asked.frenchLemma.reset();
    if (!lemma.isEmpty())
        choices.asked.frenchLemma = lemma.toStdString();
    searchAgainWith(choices, QStringLiteral("Mémoire insuffisante pour filtrer la liste : elle est conservée."));
    showFilter();
}

} // namespace quorvex
