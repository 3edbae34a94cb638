// Renders the application icon at the fixed sizes of the hicolor theme, at build time:
//   quorvex_render_icon <icon.svg> <output folder> <size>...
// writes <output folder>/<size>x<size>/quorvex.png for each size.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: %s icon.svg folder size...\n", argv[0]);
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(args.at(1)));
        return 1;
    }
    for (int i = 3; i < args.size(); ++i) {
        const int side = args.at(i).toInt();
        const QString folder = QStringLiteral("%1/%2x%2").arg(args.at(2)).arg(side);
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        if (side <= 0 || !QDir().mkpath(folder) || !image.save(folder + "/quorvex.png")) {
            std::fprintf(stderr, "cannot write %s/quorvex.png\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
