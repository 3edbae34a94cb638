#include "look/Pictures.h"

#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library: referencing their initialiser keeps them linked.
static void initShellResources() { Q_INIT_RESOURCE(shell); }

namespace quorvex {

namespace {

void ensureResources()
{
    static const bool initialised = (initShellResources(), true);
    Q_UNUSED(initialised);
}

} // namespace

QPixmap renderPicture(const QString& resource, const QSize& box, qreal devicePixelRatio)
{
    QPixmap pixmap(box * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    // The whole drawing fills the box, whatever its proportions: the pictures are stretched.
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(box)));
    return pixmap;
}

QPixmap logoPicture(const QSize& box, qreal devicePixelRatio)
{
    ensureResources();
    return renderPicture(QStringLiteral(":/shell/logo.svg"), box, devicePixelRatio);
}

QPixmap columnPicture(const QSize& box, qreal devicePixelRatio)
{
    ensureResources();
    return renderPicture(QStringLiteral(":/shell/column.svg"), box, devicePixelRatio);
}

QIcon applicationIcon()
{
    ensureResources();
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(renderPicture(QStringLiteral(":/shell/quorvex.svg"), QSize(side, side), 1.0));
    return icon;
}

} // namespace quorvex
