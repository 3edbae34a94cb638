#include "app/WindowManager.h"

#include "windows/AboutBox.h"
#include "windows/ContextViewer.h"
#include "windows/SearchWindow.h"
#include "windows/SplashScreen.h"
#include "windows/TextWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QWidget>

namespace quorvex {

WindowManager::WindowManager(const Platform& platform, QObject* parent)
    : QObject(parent), m_platform(platform)
{
}

WindowManager::~WindowManager()
{
    delete m_contextViewer;
    delete m_searchWindow;
    delete m_aboutBox;
    delete m_splashScreen;
    delete m_textWindow;
}

// Constructs the window and runs its load; a failed load leaves nothing behind.
template <typename W>
W* WindowManager::load(QPointer<W>& slot)
{
    if (slot)
        return slot;
    auto* window = new W(*this);
    slot = window;
    if (!window->load()) {
        slot = nullptr;
        delete window;
        return nullptr;
    }
    window->installEventFilter(this);
    return window;
}

SplashScreen* WindowManager::splashScreen() { return load(m_splashScreen); }
TextWindow* WindowManager::textWindow() { return load(m_textWindow); }
SearchWindow* WindowManager::searchWindow() { return load(m_searchWindow); }
ContextViewer* WindowManager::contextViewer() { return load(m_contextViewer); }
AboutBox* WindowManager::aboutBox() { return load(m_aboutBox); }

SplashScreen* WindowManager::splashScreenIfLoaded() const { return m_splashScreen; }
TextWindow* WindowManager::textWindowIfLoaded() const { return m_textWindow; }
SearchWindow* WindowManager::searchWindowIfLoaded() const { return m_searchWindow; }
ContextViewer* WindowManager::contextViewerIfLoaded() const { return m_contextViewer; }
AboutBox* WindowManager::aboutBoxIfLoaded() const { return m_aboutBox; }

namespace {

// What a user does to a window: keys, clicks, the wheel, menus and shortcuts, closing.
bool isUserRequest(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::DragEnter:
    case QEvent::Drop:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

} // namespace

void WindowManager::beginCommand()
{
    if (m_commandDepth++ == 0)
        qApp->installEventFilter(this);
}

void WindowManager::endCommand()
{
    if (m_commandDepth > 0 && --m_commandDepth == 0)
        qApp->removeEventFilter(this);
}

bool WindowManager::isOneOfTheWindows(const QObject* object) const
{
    return object && (object == m_splashScreen || object == m_textWindow || object == m_searchWindow
                      || object == m_contextViewer || object == m_aboutBox);
}

bool WindowManager::isProgramWindow(const QObject* object) const
{
    if (!object || !object->isWidgetType())
        return false;
    const QWidget* window = static_cast<const QWidget*>(object)->window();
    return window == m_splashScreen || window == m_textWindow || window == m_searchWindow
        || window == m_contextViewer || window == m_aboutBox;
}

bool WindowManager::eventFilter(QObject* watched, QEvent* event)
{
    if (m_commandDepth > 0 && isUserRequest(event->type()) && isProgramWindow(watched)) {
        event->ignore();
        return true;
    }
    // While a command runs this filter sees every object's events: a close of any other
    // window (the command's progress, a message box) is that window's own business.
    if (event->type() != QEvent::Close || !isOneOfTheWindows(watched))
        return QObject::eventFilter(watched, event);
    event->ignore();
    if (watched == m_textWindow)
        quit();
    else
        unload(static_cast<QWidget*>(watched));
    return true;
}

void WindowManager::unload(QWidget* window)
{
    if (!window)
        return;
    // The viewer steps through the search window's list: it goes with it.
    if (window == m_searchWindow && m_contextViewer)
        unload(m_contextViewer);
    if (window == m_splashScreen) m_splashScreen = nullptr;
    else if (window == m_textWindow) m_textWindow = nullptr;
    else if (window == m_searchWindow) m_searchWindow = nullptr;
    else if (window == m_contextViewer) m_contextViewer = nullptr;
    else if (window == m_aboutBox) m_aboutBox = nullptr;
    window->removeEventFilter(this);
    window->hide();
    window->deleteLater();
}

void WindowManager::quit()
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_contextViewer, m_searchWindow, m_aboutBox,
                                                      m_splashScreen, m_textWindow})
        if (w) {
            w->removeEventFilter(this);
            w->hide();
            w->deleteLater();
        }
    m_contextViewer = nullptr;
    m_searchWindow = nullptr;
    m_aboutBox = nullptr;
    m_splashScreen = nullptr;
    m_textWindow = nullptr;
    emit quitRequested();
}

} // namespace quorvex
