#include "tools/CollocatesWindow.h"

#include "concordance/Collocates.h"
#include "output/CollocatesTable.h"
#include "session/Session.h"
#include "tools/ToolTable.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace quorvex {

CollocatesWindow::CollocatesWindow(WindowDirectory& windows, QWidget* searchWindow)
    : ToolWindow(windows, searchWindow, "frmCooccurrents", QStringLiteral("Cooccurrents"))
{
    auto* sizeLabel = new QLabel(QStringLiteral("Mots de part et d'autre :"), this);
    m_windowSize = new QSpinBox(this);
    m_windowSize->setObjectName(QStringLiteral("largeur"));
    m_windowSize->setRange(1, int(kMaxCollocateWindow));
    m_windowSize->setValue(kDefaultWindow);
    sizeLabel->setBuddy(m_windowSize);
    m_copyButton = new QPushButton(QStringLiteral("&Copier"), this);
    m_copyButton->setObjectName(QStringLiteral("copier"));
    m_copyButton->setAutoDefault(false);

    m_model = new ToolTableModel({QStringLiteral("Cooccurrent"), QStringLiteral("Cooccurrences"),
                                  QStringLiteral("Fréquence"), QStringLiteral("IM"),
                                  QStringLiteral("Log-vraisemblance")},
                                 this);
    m_sorter = new ToolTableSorter(this);
    m_table = newToolTableView(m_model, m_sorter, this);

    auto* top = new QHBoxLayout;
    top->addWidget(sizeLabel);
    top->addWidget(m_windowSize);
    top->addStretch();
    top->addWidget(m_copyButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table);
    resize(620, 480);

    connect(m_windowSize, &QSpinBox::valueChanged, this, [this](int n) {
        // A refused size (memory short, stopped) goes back to the one shown.
        if (!refresh() && m_windowSize->value() == n) {
            const QSignalBlocker block(m_windowSize);
            m_windowSize->setValue(m_shownWindow);
        }
    });
    connect(m_copyButton, &QPushButton::clicked, this, &CollocatesWindow::onCopyClicked);
    auto* copy = new QShortcut(QKeySequence::Copy, m_table);
    connect(copy, &QShortcut::activated, this, &CollocatesWindow::onCopyClicked);
}

bool CollocatesWindow::rebuild(ToolProgress& progress)
{
    const int n = m_windowSize->value();
    TsvTable table;
    std::vector<Collocate> found;
    if (listHoldsAttestations()) {
        if (!progress.advance(0, 1))
            return false;
        // Words are compared as the search compares them.
        const Folding folding = m_session.choices().folds() ? Folding::Spelling : Folding::Case;
        found = findCollocates(m_session.words(), m_session.results(), std::size_t(n), folding);
        if (!progress.advance(1, 1))
            return false;
    }
    // Without attestations, the header alone: a copy still says what the columns are.
    table = readTsv(collocatesTable(ExportFormat::Tsv, found));
    m_model->adopt(table);
    m_shownWindow = n;
    return true;
}

void CollocatesWindow::onCopyClicked()
{
    QApplication::clipboard()->setText(QString::fromStdString(m_model->table().tsv));
}

} // namespace quorvex
