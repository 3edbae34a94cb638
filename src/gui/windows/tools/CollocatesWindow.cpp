#include "windows/tools/CollocatesWindow.h"

#include "output/CollocatesTable.h"
#include "platform/TextCodec.h"
#include "session/Session.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

namespace quorvex {

CollocatesModel::CollocatesModel(QObject* parent)
    : ToolTableModel({QStringLiteral("Cooccurrent"), QStringLiteral("Cooccurrences"), QStringLiteral("Fréquence"),
                      QStringLiteral("IM"), QStringLiteral("Log-vraisemblance")},
                     {false, true, true, true, true}, parent)
{
}

void CollocatesModel::adopt(std::vector<Collocate>& rows, bool utf8Keys)
{
    resetWith([&] {
        m_rows.swap(rows);
        m_utf8 = utf8Keys;
    });
}

QString CollocatesModel::text(std::size_t row, int column) const
{
    const Collocate& c = m_rows[row];
    switch (column) {
    case 0:
        return m_utf8 ? QString::fromStdString(c.form) : fromCp1252(c.form);
    case 1:
        return QString::number(c.cooccurrences);
    case 2:
        return QString::number(c.frequency);
    case 3:
        return QString::fromStdString(collocateScore(c.mi));
    default:
        return QString::fromStdString(collocateScore(c.logLikelihood));
    }
}

QVariant CollocatesModel::sortKey(std::size_t row, int column) const
{
    const Collocate& c = m_rows[row];
    switch (column) {
    case 1:
        return qulonglong(c.cooccurrences);
    case 2:
        return qulonglong(c.frequency);
    case 3:
        return c.mi;
    case 4:
        return c.logLikelihood;
    default:
        return text(row, column);
    }
}

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

    m_model = new CollocatesModel(this);
    m_table = newToolTableView(m_model, this);

    auto* top = new QHBoxLayout;
    top->addWidget(sizeLabel);
    top->addWidget(m_windowSize);
    top->addStretch();
    top->addWidget(m_copyButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_table);
    resize(widthShowingEveryColumn(m_table, layout->contentsMargins(), 620), 480);
    m_table->setFocus();  // the keyboard starts on the rows, not on the controls above them

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
    std::vector<Collocate> found;
    bool utf8 = false;
    if (listHoldsAttestations()) {
        if (!progress.advance(0, 1))
            return false;
        // Counted under the keys the command line uses for the same search: lemmata after a
        // lemma search, else the forms as the search folded them.
        const WordTable& table = searchResult().words();
        const CollocateKeys keys = m_session.choices().asked.lemma && m_session.textLemmata() && m_session.lexicon()
            ? lemmaKeys(table, *m_session.textLemmata(), *m_session.lexicon())
            : foldedFormKeys(table, m_session.folding());
        found = findCollocates(table, searchResult().list(), std::size_t(n), keys);
        utf8 = keys.utf8;
        if (!progress.advance(1, 1))
            return false;
    }
    // Without attestations, no rows: a copy still gives the header.
    m_model->adopt(found, utf8);
    m_shownWindow = n;
    return true;
}

void CollocatesWindow::onCopyClicked()
{
    const std::string table = collocatesTable(ExportFormat::Tsv, m_model->collocates(), m_model->utf8Keys());
    QApplication::clipboard()->setText(QString::fromStdString(table));
}

} // namespace quorvex
