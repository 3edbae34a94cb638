#include "app/WindowManager.h"

#include "windows/AboutBox.h"
#include "windows/ContextViewer.h"
#include "windows/SearchWindow.h"
#include "windows/SplashScreen.h"
#include "windows/TextWindow.h"

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

bool WindowManager::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Close || !watched->isWidgetType())
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
