#pragma once
// What a window may ask of the application: the platform services, the session, and the
// other windows, loading them when needed. The windows know the application only through
// this, so the application (app/) stands above them and owns them.

#include "platform/Platform.h"

class QWidget;

namespace quorvex {

class AboutBox;
class ContextViewer;
class SearchWindow;
class Session;
class TextWindow;

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

    // Destroys a loaded window; its next use loads it anew.
    virtual void unload(QWidget* window) = 0;
    // Ends the program at once.
    virtual void quit() = 0;

    // Show modeless and bring forward (nothing when the window failed to load).
    static void present(QWidget* window);
};

} // namespace quorvex
