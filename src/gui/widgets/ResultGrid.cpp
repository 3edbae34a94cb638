#include "widgets/ResultGrid.h"

#include "widgets/ResultGridHeader.h"
#include "widgets/ResultTableModel.h"
#include "look/WindowLook.h"
#include "look/Twips.h"
#include "session/Session.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QScopedValueRollback>

#include <algorithm>

namespace quorvex {

namespace {

const QColor kGridLines(192, 192, 192);

// The table view takes its line colour from the style, which ignores the palette.
class GridLineStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == SH_Table_GridLineColor)
            return static_cast<int>(kGridLines.rgba());
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

ResultGrid::ResultGrid(Session& session, QWidget* parent) : QTableView(parent), m_session(session)
{
    m_model = new ResultTableModel(session, this);
    m_header = new ResultGridHeader(this);
    setHorizontalHeader(m_header);
    setModel(m_model);

    setFont(timesNewRoman(9.75));
    m_header->setFont(font());

    // Every row has one height, so the view never measures rows: 600 000 cost nothing.
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    m_header->setMinimumSectionSize(1);

    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);  // Tab goes on to the next control
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setShowGrid(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);

    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, QColor(128, 128, 128));  // where no cell is
    palette.setColor(QPalette::Mid, kGridLines);  // the header draws its lines with it
    setPalette(palette);
    m_header->setPalette(palette);
    auto* style = new GridLineStyle;
    style->setParent(this);
    setStyle(style);

    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current, const QModelIndex&) { onCurrentChanged(current); });
    connect(m_header, &ResultGridHeader::cellClicked, this, &ResultGrid::onHeaderClicked);
    connect(&m_session, &Session::resultsReset, this, &ResultGrid::onResultsReset);
    connect(&m_session, &Session::currentCellChanged, this, &ResultGrid::showCursor);

    applySizes();
    showCursor();
}

ResultGrid::~ResultGrid() = default;

void ResultGrid::applySizes()
{
    const int rowHeight = QFontMetrics(font()).height() + 4;
    verticalHeader()->setDefaultSectionSize(rowHeight);
    m_header->setFixedHeight(rowHeight);
    for (int c = 0; c < Session::kColumns; ++c)
        m_header->resizeSection(c, twipsToPixels(Session::columnWidthTwips(c)));
}

// A new search or a sort: the list is shown from its top again.
void ResultGrid::onResultsReset()
{
    m_model->reload();
    applySizes();
    scrollToTop();
    showCursor();
}

void ResultGrid::showCursor()
{
    const QScopedValueRollback<bool> syncing(m_syncing, true);
    QItemSelectionModel* selection = selectionModel();
    const std::size_t row = m_session.currentRow();
    const std::size_t rows = m_session.rowCount();
    if (row < 1 || row >= rows) {
        // The current cell is in the header row: nothing of the body is marked.
        selection->clear();
        return;
    }
    const auto viewRow = [](std::size_t gridRow) { return static_cast<int>(gridRow - 1); };
    const std::size_t rowSel = std::clamp<std::size_t>(m_session.selectionEndRow(), 1, rows - 1);
    const QModelIndex current = m_model->index(viewRow(row), m_session.currentColumn());
    const QModelIndex topLeft = m_model->index(viewRow(std::min(row, rowSel)),
                                               std::min(m_session.currentColumn(), m_session.selectionEndColumn()));
    const QModelIndex bottomRight = m_model->index(viewRow(std::max(row, rowSel)),
                                                   std::max(m_session.currentColumn(), m_session.selectionEndColumn()));
    const bool autoScrollWas = hasAutoScroll();
    setAutoScroll(false);
    selection->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    selection->select(QItemSelection(topLeft, bottomRight), QItemSelectionModel::ClearAndSelect);
    setAutoScroll(autoScrollWas);
}

void ResultGrid::onCurrentChanged(const QModelIndex& current)
{
    if (m_syncing || !current.isValid())
        return;
    // The user moved with the keyboard or the mouse.
    const QScopedValueRollback<bool> syncing(m_syncing, true);
    m_session.setCurrentCell(static_cast<std::size_t>(current.row()) + 1, current.column());
}

void ResultGrid::onHeaderClicked(int column)
{
    m_session.setCurrentCell(0, column);
    emit clicked();
}

void ResultGrid::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    const bool opens = (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)
        && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (!opens || !currentIndex().isValid()) {
        QTableView::keyPressEvent(event);
        return;
    }
    // As a click on the current cell: the selection ends there.
    m_session.setCurrentCell(static_cast<std::size_t>(currentIndex().row()) + 1, currentIndex().column());
    event->accept();
    emit clicked();
}

void ResultGrid::mousePressEvent(QMouseEvent* event)
{
    QTableView::mousePressEvent(event);
    m_pressed = event->button() == Qt::LeftButton;
}

void ResultGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid())
        m_session.setCurrentCell(static_cast<std::size_t>(index.row()) + 1, index.column());
    else
        showCursor();  // a click beside the cells still counts; the cursor stays where it was
    emit clicked();
}

} // namespace quorvex
