#pragma once
// What the windows share in look beyond shell/FormLook.h (twips, BGR colours): the
// application title, plain fonts, the light yellow background, the title band and the frames.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QWidget;

namespace quorvex {

QString applicationTitle();

namespace look {
inline const QColor lightYellow{255, 255, 192};   // window backgrounds (&H00C0FFFF&)
inline const QColor titleBlue{128, 128, 255};     // title band (&H00FF8080&)
inline const QColor captionRed{255, 0, 0};        // frame captions (&H000000FF&)
// The viewer's second marking colour: in the French pane, the words that render the form
// (its best equivalents), set apart from the form's own pure blue in the Latin pane.
inline const QColor translationMark{0, 128, 0};
} // namespace look

// point sizes keep their fractions (9.75, 11.25 pt).
QFont fontOf(const QString& family, qreal points, bool bold = false, bool italic = false);
QFont timesNewRoman(qreal points, bool bold = false, bool italic = false);
// The default font of text boxes and buttons.
QFont dialogFont();

// Paints the window's background light yellow.
void paintWindowBackground(QWidget* window);

// The title band: Label1, opaque light blue with white text, behind Label2, transparent with
// the same text in the window-text colour; both centred, Times New Roman 24 pt bold.
void addTitleBand(QWidget* parent, const QRect& rect);

// A frame with its caption in Times New Roman bold italic of the given size, in red, on the
// light yellow background. Children placed in it keep fonts and colours of their own.
QGroupBox* addFrame(QWidget* parent, const QString& objectName, const QString& caption,
                    const QRect& rect, qreal captionPoints);

// A label placed in twips, its text top-aligned as the windows' labels are, in the given type
// and colour; its background is the parent's unless the caller fills it.
QLabel* addLabel(QWidget* parent, const char* name, const QString& caption, const QRect& rect,
                 const QFont& font, const QColor& colour, Qt::Alignment alignment = Qt::AlignLeft);
// The same for a label made by the caller (a QLabel of another class), already parented.
QLabel* placeLabel(QLabel* label, const char* name, const QRect& rect, const QFont& font, const QColor& colour,
                   Qt::Alignment alignment = Qt::AlignLeft);

// A menu of the menu bar and one of its items, each named so tests find it by objectName.
QMenu* addMenu(QMenuBar* bar, const QString& caption, const char* name);
QAction* addMenuItem(QMenu* menu, const QString& caption, const char* name);

} // namespace quorvex
