#pragma once
// The five windows of the program, each existing at most once and reached by name.
// Loading a window constructs it and runs its load handler; opening loads it if needed,
// then shows it modeless and brings it forward; closing unloads (destroys) it.

#include "platform/Platform.h"
#include "session/ViewerState.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace quorvex {

class SplashScreen;
class TextWindow;
class SearchWindow;
class ContextViewer;
class AboutBox;

class WindowManager : public QObject {
    Q_OBJECT
public:
    explicit WindowManager(const Platform& platform, QObject* parent = nullptr);
    ~WindowManager() override;

    const Platform& platform() const { return m_platform; }

    // The context viewer's state outlives its window: it lasts for the run.
    ViewerState& viewerState() { return m_viewerState; }

    // Loaded window, loading it first when needed. nullptr when its load failed (the load
    // handler has then told the user why).
    SplashScreen* splash();
    TextWindow* texte();
    SearchWindow* contexte();
    ContextViewer* affContexte();
    AboutBox* about();

    // The window if loaded, without loading it.
    SplashScreen* splashIfLoaded() const;
    TextWindow* texteIfLoaded() const;
    SearchWindow* contexteIfLoaded() const;
    ContextViewer* affContexteIfLoaded() const;
    AboutBox* aboutIfLoaded() const;

    // Show modeless and bring forward (the window must be loaded).
    static void present(QWidget* window);

    // Destroys a loaded window; its next use loads it anew. Called by each window's close.
    void unload(QWidget* window);

    // Ends the program at once: every window goes, without any unload processing.
    void quit();

signals:
    void quitRequested();

private:
    Platform m_platform;
    QPointer<SplashScreen> m_splash;
    QPointer<TextWindow> m_texte;
    QPointer<SearchWindow> m_contexte;
    QPointer<ContextViewer> m_affContexte;
    QPointer<AboutBox> m_about;
    ViewerState m_viewerState;
};

} // namespace quorvex
