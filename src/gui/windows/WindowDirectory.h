#pragma once
// What a window may ask of the application: the platform services, the session, and the
// other windows, loading them when needed. The windows know the application only through
// this, so the application (app/) stands above them and owns them.

#include "platform/Platform.h"

#include <QString>

#include <cstddef>

class QWidget;

namespace quorvex {

class AboutBox;
class ContextViewer;
class SearchWindow;
class Session;
class TextWindow;

// The tool windows of the search window's "Outils" menu.
enum class ToolWindowKind { LemmaForms, Kwic, Collocates, Dispersion, Translations };
constexpr std::size_t kToolWindowKinds = 5;

// The texts named on the program's command line, absolute; empty when not given.
struct StartingTexts {
    QString latinPath;
    QString frenchPath;
};

class WindowDirectory {
public:
    virtual ~WindowDirectory() = default;

    virtual const Platform& platform() const = 0;
    virtual Session& session() = 0;

    // The loaded window, loading it first when needed; nullptr when its load failed (the
    // load has then told the user why).
    virtual TextWindow* textWindow() = 0;
    virtual SearchWindow* searchWindow() = 0;
    virtual ContextViewer* contextViewer() = 0;
    virtual AboutBox* aboutBox() = 0;
    // Without loading it.
    virtual TextWindow* textWindowIfLoaded() const = 0;
    virtual ContextViewer* contextViewerIfLoaded() const = 0;

    // Opens the tool window of that kind for the search window (made at its first use and
    // belonging to the search window, brought forward afterwards).
    virtual void openToolWindow(ToolWindowKind kind, QWidget* searchWindow) = 0;

    // The texts of the command line, handed over once: later calls get empty paths.
    virtual StartingTexts takeStartingTexts() = 0;

    // Destroys a loaded window; its next use loads it anew.
    virtual void unload(QWidget* window) = 0;
    // Ends the program at once.
    virtual void quit() = 0;

    // While a save or a print runs it owns input: no window of the program takes a key, a
    // click or a close until it ends, so nothing can change the list being written or
    // destroy the window that writes it. Calls nest.
    virtual void beginCommand() = 0;
    virtual void endCommand() = 0;
    virtual bool commandRunning() const = 0;

    // Show modeless and bring forward (nothing when the window failed to load).
    static void present(QWidget* window);
};

// Owns input for its lifetime, so no early return leaves the windows deaf.
class CommandScope {
public:
    explicit CommandScope(WindowDirectory& windows) : m_windows(windows) { m_windows.beginCommand(); }
    ~CommandScope() { m_windows.endCommand(); }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    WindowDirectory& m_windows;
};

} // namespace quorvex
