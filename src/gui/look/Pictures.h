#pragma once
// The pictures of the splash window and the About box, and the application icon, drawn as
// SVG in the shell's resources and rendered at the size of the box that shows them.

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace quorvex {

// Any SVG resource rendered into a pixmap of that box, stretched to it.
QPixmap renderPicture(const QString& resource, const QSize& box, qreal devicePixelRatio);

// The logo (drawn 125 x 138), stretched to box.
QPixmap logoPicture(const QSize& box, qreal devicePixelRatio);
// The splash window's decorative picture (drawn 100 x 220), stretched to box.
QPixmap columnPicture(const QSize& box, qreal devicePixelRatio);
QIcon applicationIcon();

} // namespace quorvex
