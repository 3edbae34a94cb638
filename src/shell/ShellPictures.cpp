#include "shell/ShellPictures.h"

#include <QPainter>
#include <QSvgRenderer>

// The resources live in a static library: referencing their initialiser keeps them linked.
static void initShellResources() { Q_INIT_RESOURCE(shell); }

namespace quorvex {

namespace {

QPixmap render(const QString& resource, const QSize& box, qreal devicePixelRatio)
{
    static const bool initialised = (initShellResources(), true);
    Q_UNUSED(initialised);
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

} // namespace

QPixmap logoPicture(const QSize& box, qreal devicePixelRatio)
{
    return render(QStringLiteral(":/shell/logo.svg"), box, devicePixelRatio);
}

QPixmap columnPicture(const QSize& box, qreal devicePixelRatio)
{
    return render(QStringLiteral(":/shell/column.svg"), box, devicePixelRatio);
}

QIcon applicationIcon()
{
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(render(QStringLiteral(":/shell/quorvex.svg"), QSize(side, side), 1.0));
    return icon;
}

} // namespace quorvex
