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

class WindowManager;

class SplashScreen : public QWidget {
    Q_OBJECT
public:
    explicit SplashScreen(WindowManager& forms);
    bool Form_Load();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using ClickHandler = void (SplashScreen::*)();

    void Form_KeyPress();
    void Timer1_Timer();
    void Frame1_Click();
    void Image1_Click();
    void imgLogo_Click();
    void Label2_Click();
    void Label3_Click();
    void Label4_Click();
    void Label5_Click();
    void Label8_Click();

    void ceder_la_place();
    // Every control gets its own clicks, so that a front label's click never reaches the
    // label behind it or the frame; handler is null for controls that ignore clicks.
    void watchClicks(QWidget* control, ClickHandler handler);

    WindowManager& m_forms;
    QFrame* Frame1 = nullptr;
    QTimer* Timer1 = nullptr;
    QHash<QObject*, ClickHandler> m_clickHandlers;
    QPointer<QObject> m_pressed;
    bool m_gone = false;
};

} // namespace quorvex
