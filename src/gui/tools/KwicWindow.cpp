#include "tools/KwicWindow.h"

#include "look/WindowLook.h"
#include "output/KwicLines.h"
#include "platform/BusyPointer.h"
#include "session/Session.h"
#include "windows/ContextViewer.h"
#include "windows/WindowDirectory.h"

#include <QListView>
#include <QVBoxLayout>

#include <ostream>
#include <streambuf>

namespace quorvex {

namespace {

// Collects the lines the core writes, counting them as they come so that the user can stop.
class CountingBuffer : public std::streambuf {
public:
    struct Stopped {};

    CountingBuffer(ToolProgress& progress, std::size_t total) : m_progress(progress), m_total(total) {}
    std::string lines;

protected:
    int_type overflow(int_type c) override
    {
        if (c != traits_type::eof()) {
            const char ch = traits_type::to_char_type(c);
            xsputn(&ch, 1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        lines.append(s, static_cast<std::size_t>(n));
        for (std::streamsize i = 0; i < n; ++i)
            m_done += s[i] == '\n';
        // The core writes in large blocks: one look at the cancel a block.
        if (!m_progress.advance(m_done, m_total))
            throw Stopped{};
        return n;
    }

private:
    ToolProgress& m_progress;
    std::size_t m_total;
    std::size_t m_done = 0;
};

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
    std::size_t length = end - start;
    if (length > 0 && m_lines[end - 1] == '\n')
        --length;
    return QString::fromUtf8(m_lines.data() + start, qsizetype(length));
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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_lineList);
    resize(900, 420);
    connect(m_lineList, &QListView::doubleClicked, this, &KwicWindow::onLineDoubleClicked);
}

bool KwicWindow::rebuild(ToolProgress& progress)
{
    const ResultList& results = m_session.results();
    std::string lines;
    std::vector<std::size_t> starts;
    if (listHoldsAttestations()) {
        CountingBuffer buffer(progress, results.size());
        std::ostream out(&buffer);
        out.exceptions(std::ios::badbit);  // what the buffer throws comes back here
        try {
            writeKwicLines(out, m_session.words(), results, kDefaultKwicWidth);
        } catch (const CountingBuffer::Stopped&) {
            return false;
        }
        lines.swap(buffer.lines);
        starts.reserve(results.size() + 1);
        starts.push_back(0);
        for (std::size_t i = 0; i < lines.size(); ++i)
            if (lines[i] == '\n')
                starts.push_back(i + 1);
        if (starts.back() != lines.size())
            starts.push_back(lines.size());
    }
    m_model->adopt(lines, starts);
    return true;
}

void KwicWindow::onLineDoubleClicked(const QModelIndex& index)
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
