#include "app/WindowManager.h"

#include "windows/SearchWindow.h"
#include "windows/AboutBox.h"
#include "windows/SplashScreen.h"
#include "windows/TextWindow.h"
#include "windows/ContextViewer.h"

#include <QCoreApplication>
#include <QWidget>

namespace quorvex {

namespace {

// Constructs the window and runs its load handler; a failed load leaves nothing behind.
template <typename W>
W* load(QPointer<W>& slot, WindowManager& forms)
{
    if (slot)
        return slot;
    auto* window = new W(forms);
    slot = window;
    if (!window->Form_Load()) {
        slot = nullptr;
        delete window;
        return nullptr;
    }
    return window;
}

} // namespace

WindowManager::WindowManager(const Platform& platform, QObject* parent) : QObject(parent), m_platform(platform) {}

WindowManager::~WindowManager()
{
    delete m_affContexte;
    delete m_contexte;
    delete m_about;
    delete m_splash;
    delete m_texte;
}

SplashScreen* WindowManager::splash() { return load(m_splash, *this); }
TextWindow* WindowManager::texte() { return load(m_texte, *this); }
SearchWindow* WindowManager::contexte() { return load(m_contexte, *this); }
ContextViewer* WindowManager::affContexte() { return load(m_affContexte, *this); }
AboutBox* WindowManager::about() { return load(m_about, *this); }

SplashScreen* WindowManager::splashIfLoaded() const { return m_splash; }
TextWindow* WindowManager::texteIfLoaded() const { return m_texte; }
SearchWindow* WindowManager::contexteIfLoaded() const { return m_contexte; }
ContextViewer* WindowManager::affContexteIfLoaded() const { return m_affContexte; }
AboutBox* WindowManager::aboutIfLoaded() const { return m_about; }

void WindowManager::present(QWidget* window)
{
    if (!window)
        return;
    window->show();
    window->raise();
    window->activateWindow();
}

void WindowManager::unload(QWidget* window)
{
    if (!window)
        return;
    // The viewer works on the search window's grid: it goes with it.
    if (window == m_contexte && m_affContexte)
        unload(m_affContexte);
    if (window == m_splash) m_splash = nullptr;
    else if (window == m_texte) m_texte = nullptr;
    else if (window == m_contexte) m_contexte = nullptr;
    else if (window == m_affContexte) m_affContexte = nullptr;
    else if (window == m_about) m_about = nullptr;
    window->hide();
    window->deleteLater();
}

void WindowManager::quit()
{
    for (QWidget* w : std::initializer_list<QWidget*>{m_affContexte, m_contexte, m_about, m_splash, m_texte})
        if (w) {
            w->hide();
            w->deleteLater();
        }
    m_affContexte = nullptr;
    m_contexte = nullptr;
    m_about = nullptr;
    m_splash = nullptr;
    m_texte = nullptr;
    emit quitRequested();
}

} // namespace quorvex
