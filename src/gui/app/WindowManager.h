#pragma once
// The application: it owns the session and the five windows, each existing at most once.
// Loading a window constructs it and runs its load; opening loads it if needed, then shows
// it modeless and brings it forward; closing a window (its close box or its "&Fermer")
// unloads (destroys) it, and its next opening loads it anew. The session outlives them all.

#include "platform/Platform.h"
#include "session/Session.h"
#include "windows/WindowDirectory.h"
#include "windows/tools/ToolWindows.h"

#include <QObject>
#include <QPointer>

#include <utility>

class QWidget;

namespace quorvex {

class AboutBox;
class ContextViewer;
class SearchWindow;
class SplashScreen;
class TextWindow;

class WindowManager : public QObject, public WindowDirectory {
    Q_OBJECT
public:
    explicit WindowManager(const Platform& platform, QObject* parent = nullptr);
    ~WindowManager() override;

    const Platform& platform() const override { return m_platform; }
    Session& session() override { return m_session; }

    // The loaded window, loading it first when needed. nullptr when its load failed (the
    // load has then told the user why).
    SplashScreen* splashScreen();
    TextWindow* textWindow() override;
    SearchWindow* searchWindow() override;
    ContextViewer* contextViewer() override;
    AboutBox* aboutBox() override;

    // The window if loaded, without loading it.
    SplashScreen* splashScreenIfLoaded() const;
    TextWindow* textWindowIfLoaded() const override;
    SearchWindow* searchWindowIfLoaded() const;
    ContextViewer* contextViewerIfLoaded() const override;
    AboutBox* aboutBoxIfLoaded() const;

    using WindowDirectory::present;

    void openToolWindow(ToolWindowKind kind, QWidget* searchWindow) override { m_toolWindows.open(kind, searchWindow); }

    // The texts the text window takes when the splash gives way to it.
    void setStartingTexts(const StartingTexts& texts) { m_startingTexts = texts; }
    StartingTexts takeStartingTexts() override { return std::exchange(m_startingTexts, {}); }

    // Destroys a loaded window; its next use loads it anew.
    void unload(QWidget* window) override;

    // Ends the program at once: every window goes, without any unload processing.
    void quit() override;

    void beginCommand() override;
    void endCommand() override;
    bool commandRunning() const override { return m_commandDepth > 0; }

signals:
    void quitRequested();

protected:
    // Every window's close box: the text window's ends the program, any other unloads it.
    // While a command runs, watches the whole application: input and close requests for
    // the program's windows are dropped (dialogs of the command still take theirs).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename W>
    W* load(QPointer<W>& slot);
    // The window itself, or any widget inside it.
    bool isProgramWindow(const QObject* object) const;
    // One of the five windows themselves.
    bool isOneOfTheWindows(const QObject* object) const;

    Platform m_platform;
    Session m_session;
    StartingTexts m_startingTexts;
    QPointer<SplashScreen> m_splashScreen;
    QPointer<TextWindow> m_textWindow;
    QPointer<SearchWindow> m_searchWindow;
    QPointer<ContextViewer> m_contextViewer;
    QPointer<AboutBox> m_aboutBox;
    ToolWindows m_toolWindows{*this};
    int m_commandDepth = 0;
};

} // namespace quorvex
