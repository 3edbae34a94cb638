#include "look/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace quorvex {

namespace {

qreal logicalDpi()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() : 96.0;
}

} // namespace

int twipsToPixels(int twips)
{
    return int(std::lround(twips * logicalDpi() / 1440.0));
}

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

QSize twipsSize(int width, int height)
{
    return QSize(twipsToPixels(width), twipsToPixels(height));
}

} // namespace quorvex
