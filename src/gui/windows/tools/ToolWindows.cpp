#include "windows/tools/ToolWindows.h"

#include "windows/tools/CollocatesWindow.h"
#include "windows/tools/DispersionWindow.h"
#include "windows/tools/FormsWindow.h"
#include "windows/tools/KwicWindow.h"
#include "windows/tools/TranslationsWindow.h"

#include <memory>

namespace quorvex {

namespace {

std::unique_ptr<ToolWindow> newToolWindow(ToolWindowKind kind, WindowDirectory& windows, QWidget* searchWindow)
{
    switch (kind) {
    case ToolWindowKind::LemmaForms:
        return std::make_unique<FormsWindow>(windows, searchWindow);
    case ToolWindowKind::Kwic:
        return std::make_unique<KwicWindow>(windows, searchWindow);
    case ToolWindowKind::Collocates:
        return std::make_unique<CollocatesWindow>(windows, searchWindow);
    case ToolWindowKind::Dispersion:
        return std::make_unique<DispersionWindow>(windows, searchWindow);
    case ToolWindowKind::Translations:
        break;
    }
    return std::make_unique<TranslationsWindow>(windows, searchWindow);
}

} // namespace

void ToolWindows::open(ToolWindowKind kind, QWidget* searchWindow)
{
    QPointer<ToolWindow>& slot = m_open[std::size_t(kind)];
    // One window of each kind for a search window's life; another search window gets its own.
    if (!slot || slot->parentWidget() != searchWindow) {
        std::unique_ptr<ToolWindow> window = newToolWindow(kind, m_windows, searchWindow);
        if (!window->refresh())
            return;
        slot = window.release();
    }
    WindowDirectory::present(slot);
}

} // namespace quorvex
