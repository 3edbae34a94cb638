#include "look/WindowLook.h"

#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace quorvex {

QString applicationTitle() { return QStringLiteral("Veltrano - Quorvex"); }

QFont fontOf(const QString& family, qreal points, bool bold, bool italic)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

QFont timesNewRoman(qreal points, bool bold, bool italic)
{
    return fontOf(QStringLiteral("Times New Roman"), points, bold, italic);
}

QFont dialogFont() { return fontOf(QStringLiteral("MS Sans Serif"), 8.25); }

void paintWindowBackground(QWidget* window)
{
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, look::lightYellow);
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

void addTitleBand(QWidget* parent, const QRect& rect)
{
    const QFont font = timesNewRoman(24, true);

    auto* back = new QLabel(applicationTitle(), parent);
    back->setObjectName(QStringLiteral("Label1"));
    back->setGeometry(rect);
    back->setFont(font);
    back->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette backPalette = back->palette();
    backPalette.setColor(QPalette::Window, look::titleBlue);
    backPalette.setColor(QPalette::WindowText, Qt::white);
    back->setPalette(backPalette);
    back->setAutoFillBackground(true);

    auto* front = new QLabel(applicationTitle(), parent);
    front->setObjectName(QStringLiteral("Label2"));
    front->setGeometry(rect);
    front->setFont(font);
    front->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    front->setAutoFillBackground(false);
    front->setAttribute(Qt::WA_TranslucentBackground);
    QPalette frontPalette = front->palette();
    frontPalette.setColor(QPalette::WindowText,
                          QGuiApplication::palette().color(QPalette::WindowText));
    front->setPalette(frontPalette);
    front->raise();
}

QGroupBox* addFrame(QWidget* parent, const QString& objectName, const QString& caption,
                    const QRect& rect, qreal captionPoints)
{
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(objectName);
    frame->setGeometry(rect);
    frame->setFont(timesNewRoman(captionPoints, true, true));
    QPalette palette = frame->palette();
    palette.setColor(QPalette::WindowText, look::captionRed);
    palette.setColor(QPalette::Window, look::lightYellow);
    frame->setPalette(palette);
    frame->setAutoFillBackground(true);
    return frame;
}

QLabel* addLabel(QWidget* parent, const char* name, const QString& caption, const QRect& rect,
                 const QFont& font, const QColor& colour, Qt::Alignment alignment)
{
    return placeLabel(new QLabel(caption, parent), name, rect, font, colour, alignment);
}

QLabel* placeLabel(QLabel* label, const char* name, const QRect& rect, const QFont& font, const QColor& colour,
                   Qt::Alignment alignment)
{
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(rect);
    label->setFont(font);
    label->setAlignment(alignment | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QMenu* addMenu(QMenuBar* bar, const QString& caption, const char* name)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

QAction* addMenuItem(QMenu* menu, const QString& caption, const char* name)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

} // namespace quorvex
