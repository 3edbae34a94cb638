#include "windows/tools/KwicWindow.h"

#include "look/WindowLook.h"
#include "output/KwicLines.h"
#include "platform/BusyPointer.h"
#include "session/Session.h"
#include "windows/ContextViewer.h"
#include "windows/WindowDirectory.h"

#include <QKeyEvent>
#include <QListView>
#include <QVBoxLayout>

namespace quorvex {

namespace {

// Lines made between two looks at the cancel.
constexpr std::size_t kLinesPerStep = 4096;

} // namespace

void KwicLinesModel::adopt(std::string& lines, std::vector<std::size_t>& starts)
{
    beginResetModel();
    m_lines.swap(lines);
    m_starts.swap(starts);
    endResetModel();
}

int KwicLinesModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() || m_starts.empty() ? 0 : int(m_starts.size() - 1);
}

QVariant KwicLinesModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount())
        return {};
    const std::size_t start = m_starts[std::size_t(index.row())];
    const std::size_t end = m_starts[std::size_t(index.row()) + 1];
    return QString::fromUtf8(m_lines.data() + start, qsizetype(end - start));
}

KwicWindow::KwicWindow(WindowDirectory& windows, QWidget* searchWindow)
    : ToolWindow(windows, searchWindow, "frmKwic", QStringLiteral("KWIC"))
{
    m_model = new KwicLinesModel(this);
    m_lineList = new QListView(this);
    m_lineList->setObjectName(QStringLiteral("lignes"));
    m_lineList->setModel(m_model);
    m_lineList->setUniformItemSizes(true);  // a million lines stay quick to scroll
    m_lineList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lineList->setFont(fontOf(QStringLiteral("Courier New"), 9.75));
    m_lineList->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lineList);
    resize(900, 420);
    m_lineList->setFocus();
    connect(m_lineList, &QListView::doubleClicked, this, &KwicWindow::onLineChosen);
    connect(m_model, &QAbstractItemModel::modelReset, m_lineList, [this] {
        if (m_model->rowCount() > 0)
            m_lineList->setCurrentIndex(m_model->index(0));
    });
}

bool KwicWindow::rebuild(ToolProgress& progress)
{
    std::string lines;
    std::vector<std::size_t> starts;
    if (listHoldsAttestations()) {
        const KwicLines made(searchResult().words(), searchResult().list(), kDefaultKwicWidth);
        starts.reserve(made.size() + 1);
        for (std::size_t k = 0; k < made.size(); ++k) {
            if (k % kLinesPerStep == 0 && !progress.advance(k, made.size()))
                return false;
            starts.push_back(lines.size());
            made.appendLine(k, lines);
        }
        starts.push_back(lines.size());
    }
    m_model->adopt(lines, starts);
    return true;
}

bool KwicWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lineList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
            onLineChosen(m_lineList->currentIndex());
            return true;
        }
    }
    return ToolWindow::eventFilter(watched, event);
}

void KwicWindow::onLineChosen(const QModelIndex& index)
{
    // Line k is the list's row k + 1 (row 0 is the grid's header).
    const std::size_t row = std::size_t(index.row()) + 1;
    if (!index.isValid() || row >= m_session.rowCount())
        return;
    BusyGuard busy(m_windows.platform().busy, this);
    if (ContextViewer* viewer = m_windows.contextViewerIfLoaded()) {
        // An open viewer steps to the line's attestation.
        viewer->showAttestation(row);
        WindowDirectory::present(viewer);
        return;
    }
    // As a click in the grid: the viewer opens on the row at the selection end.
    m_session.setCurrentCell(row, 0);
    WindowDirectory::present(m_windows.contextViewer());
}

} // namespace quorvex
