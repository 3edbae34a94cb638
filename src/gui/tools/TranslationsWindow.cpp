#include "tools/TranslationsWindow.h"

#include "output/EquivalentsTable.h"
#include "platform/FileMessages.h"
#include "platform/MessageBoxes.h"
#include "session/Session.h"
#include "tools/ToolTable.h"
#include "platform/BusyPointer.h"
#include "windows/WindowDirectory.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <new>

namespace quorvex {

TranslationsWindow::TranslationsWindow(WindowDirectory& windows, QWidget* searchWindow)
    : ToolWindow(windows, searchWindow, "frmTraductions", QStringLiteral("Traductions"))
{
    m_filterLabel = new QLabel(this);
    m_filterLabel->setObjectName(QStringLiteral("filtre"));
    m_filterLabel->setTextFormat(Qt::PlainText);
    m_removeFilterButton = new QPushButton(QStringLiteral("&Retirer le filtre"), this);
    m_removeFilterButton->setObjectName(QStringLiteral("retirer_filtre"));
    m_removeFilterButton->setAutoDefault(false);

    m_model = new ToolTableModel({QStringLiteral("Équivalent"), QStringLiteral("Passages"),
                                  QStringLiteral("Part (%)"), QStringLiteral("Fréquence"),
                                  QStringLiteral("Log-vraisemblance"), QStringLiteral("Dice")},
                                 this);
    m_sorter = new ToolTableSorter(this);
    m_table = newToolTableView(m_model, m_sorter, this);
    m_table->setToolTip(QStringLiteral("Double clic : ne garder que les attestations dont le passage "
                                       "français contient cet équivalent"));

    auto* top = new QHBoxLayout;
    top->addWidget(m_filterLabel, 1);
    top->addWidget(m_removeFilterButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table);
    resize(680, 480);

    connect(m_table, &QTableView::doubleClicked, this, &TranslationsWindow::onRowDoubleClicked);
    connect(m_removeFilterButton, &QPushButton::clicked, this, &TranslationsWindow::onRemoveFilterClicked);
    showFilter();
}

bool TranslationsWindow::rebuild(ToolProgress& progress)
{
    TsvTable table;
    if (listHoldsAttestations() && !m_session.frenchPath().isEmpty()) {
        if (!progress.advance(0, 1))
            return false;
        FileError error;
        const Equivalents* equivalents = m_session.equivalents(&error);
        if (error.kind == FileErrorKind::OutOfMemory)
            throw std::bad_alloc();
        if (error) {
            m_windows.platform().messages.show(this, fileErrorMessage(error));
            return false;
        }
        if (!progress.advance(1, 1))
            return false;
        if (equivalents && m_session.frenchLemmas())
            table = readTsv(equivalentsTable(ExportFormat::Tsv, *equivalents, *m_session.frenchLemmas(),
                                             equivalents->rows().size()));
    }
    m_model->adopt(table);
    showFilter();
    return true;
}

void TranslationsWindow::showFilter()
{
    const QString lemma = m_session.choices().frenchLemma;
    m_filterLabel->setText(lemma.isEmpty()
                               ? QStringLiteral("Aucun filtre : double-cliquez un équivalent pour "
                                                "ne garder que ses passages.")
                               : QStringLiteral("Filtre : passages français avec « %1 »").arg(lemma));
    m_removeFilterButton->setEnabled(!lemma.isEmpty());
}

void TranslationsWindow::onRowDoubleClicked(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    const QModelIndex lemmaCell = m_model->index(m_sorter->mapToSource(index).row(), 0);
    const QString lemma = m_model->data(lemmaCell, Qt::DisplayRole).toString();
    if (lemma.isEmpty() || lemma == m_session.choices().frenchLemma)
        return;
    filterBy(lemma);
}

void TranslationsWindow::onRemoveFilterClicked()
{
    if (m_session.choices().frenchLemma.isEmpty())
        return;
    filterBy(QString());
}

void TranslationsWindow::filterBy(const QString& lemma)
{
    SearchChoices choices = m_session.choices();
    choices.frenchLemma = lemma;
    // The list is searched again under the new filter; on failure it stays as it was.
    SessionFailure failure = SessionFailure::None;
    {
        BusyGuard busy(m_windows.platform().busy, this);
        failure = m_session.applyChoices(choices);
    }
    showFilter();
    if (failure == SessionFailure::None)
        return;
    Message message;
    if (failure == SessionFailure::Unreadable) {
        message.text = m_session.failureMessage();
        message.icon = MessageIcon::Warning;
    } else {
        message.text = QStringLiteral("Mémoire insuffisante pour filtrer la liste : elle est conservée.");
        message.icon = MessageIcon::Warning;
    }
    m_windows.platform().messages.show(this, message);
}

} // namespace quorvex
