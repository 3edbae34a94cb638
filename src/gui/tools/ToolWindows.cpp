#include "tools/ToolWindows.h"

#include "tools/CollocatesWindow.h"
#include "tools/DispersionWindow.h"
#include "tools/FormsWindow.h"
#include "tools/KwicWindow.h"
#include "tools/TranslationsWindow.h"
#include "windows/WindowDirectory.h"

#include <QAction>
#include <QMainWindow>
#include <QPointer>

namespace quorvex {

namespace {

// Opens a tool window, making it and filling it at its first use; a first fill that the
// user stopped, or that memory could not hold, opens nothing.
template <typename W>
void openTool(QPointer<W>& slot, WindowDirectory& windows, QMainWindow* searchWindow)
{
    if (!slot) {
        auto* window = new W(windows, searchWindow);
        if (!window->refresh()) {
            delete window;
            return;
        }
        slot = window;
    }
    WindowDirectory::present(slot);
}

template <typename W>
void connectTool(QMainWindow* searchWindow, WindowDirectory& windows, const char* actionName)
{
    QAction* action = searchWindow->findChild<QAction*>(QLatin1String(actionName));
    if (!action)
        return;
    // One window of each kind for the search window's life; the slot lives in the lambda.
    QObject::connect(action, &QAction::triggered, searchWindow,
                     [slot = QPointer<W>(), &windows, searchWindow]() mutable {
                         openTool(slot, windows, searchWindow);
                     });
}

} // namespace

void installToolWindows(QMainWindow* searchWindow, WindowDirectory& windows)
{
    connectTool<FormsWindow>(searchWindow, windows, "formes_lemme");
    connectTool<KwicWindow>(searchWindow, windows, "kwic");
    connectTool<CollocatesWindow>(searchWindow, windows, "cooccurrents");
    connectTool<DispersionWindow>(searchWindow, windows, "dispersion");
    connectTool<TranslationsWindow>(searchWindow, windows, "traductions");
}

} // namespace quorvex
