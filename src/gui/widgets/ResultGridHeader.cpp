#include "widgets/ResultGridHeader.h"

#include "widgets/ResultTableModel.h"

#include <QMouseEvent>
#include <QPainter>

namespace quorvex {

ResultGridHeader::ResultGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionResizeMode(QHeaderView::Fixed);
    setSectionsClickable(false);
    setHighlightSections(false);
    setStretchLastSection(false);
}

void ResultGridHeader::paintEvent(QPaintEvent* event)
{
    QHeaderView::paintEvent(event);
    // Beyond the last column no cell covers the control: grey, as below the last row.
    const int end = length() - offset();
    if (end < viewport()->width()) {
        QPainter painter(viewport());
        painter.fillRect(QRect(end, 0, viewport()->width() - end, viewport()->height()),
                         palette().color(QPalette::Base));
    }
}

void ResultGridHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    painter->save();
    painter->fillRect(rect, ResultTableModel::fixedBackground());
    // The table draws its lines right and below each cell; the header does the same.
    painter->setPen(palette().color(QPalette::Mid));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    if (model()) {
        const QString text = model()->headerData(logicalIndex, orientation()).toString();
        const auto align = model()->headerData(logicalIndex, orientation(),
                                               Qt::TextAlignmentRole).value<Qt::Alignment>();
        painter->setPen(ResultTableModel::fixedText());
        painter->setFont(font());
        painter->drawText(rect.adjusted(3, 0, -3, -1), int(align) | Qt::TextSingleLine, text);
    }
    painter->restore();
}

void ResultGridHeader::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton
        ? logicalIndexAt(event->position().toPoint())
        : -1;
    QHeaderView::mousePressEvent(event);
}

void ResultGridHeader::mouseReleaseEvent(QMouseEvent* event)
{
    QHeaderView::mouseReleaseEvent(event);
    const int pressed = m_pressed;
    m_pressed = -1;
    if (event->button() == Qt::LeftButton && pressed >= 0
        && logicalIndexAt(event->position().toPoint()) == pressed)
        emit cellClicked(pressed);
}

} // namespace quorvex
