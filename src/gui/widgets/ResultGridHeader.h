#pragma once
// The fixed header row of the result grid, drawn like the fixed cells (flat, their
// colours, the grid lines) rather than as the style's header buttons.

#include <QHeaderView>

namespace quorvex {

class ResultGridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit ResultGridHeader(QWidget* parent = nullptr);

signals:
    // The user clicked the header cell of this column.
    void cellClicked(int column);

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int m_pressed = -1;
};

} // namespace quorvex
