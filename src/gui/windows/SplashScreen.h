#pragma once
// The splash window shown at start: product, version, date and platforms. It reads nothing
// from the other windows; when it gives way (Timer1 after 3000 ms, a key that produces a
// character, or a click on one of its listed controls) it unloads itself, then loads and
// shows the text window. It gives way once: the first event destroys it.

#include <QHash>
#include <QPointer>
#include <QWidget>

class QFrame;
class QLabel;
class QTimer;

namespace quorvex {

class WindowDirectory;

class SplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit SplashScreen(WindowDirectory& windows);
    bool load();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class GivesWay { No, Yes };

    // Unloads the splash and opens the text window, once.
    void giveWay();
    // Every control gets its own clicks, so that a front label's click never reaches the
    // label behind it or the frame.
    void watchClicks(QWidget* control, GivesWay givesWay);

    WindowDirectory& m_windows;
    QFrame* m_frame = nullptr;
    QTimer* m_timer = nullptr;
    QHash<QObject*, GivesWay> m_clickHandlers;
    QPointer<QObject> m_pressed;
    bool m_gone = false;
};

} // namespace quorvex
