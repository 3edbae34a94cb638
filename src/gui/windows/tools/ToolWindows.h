#pragma once
// The tool windows of the search window's "Outils" menu: each is made at its first opening,
// brought forward afterwards, and belongs to the search window, closing with it.

#include "windows/WindowDirectory.h"
#include "windows/tools/ToolWindow.h"

#include <QPointer>

#include <array>

namespace quorvex {

class ToolWindows {
public:
    explicit ToolWindows(WindowDirectory& windows) : m_windows(windows) {}

    // Opens the window of that kind for `searchWindow`, filled for the list shown; a first
    // fill that the user stopped, or that memory could not hold, opens nothing.
    void open(ToolWindowKind kind, QWidget* searchWindow);

private:
    WindowDirectory& m_windows;
    std::array<QPointer<ToolWindow>, kToolWindowKinds> m_open;
};

} // namespace quorvex
