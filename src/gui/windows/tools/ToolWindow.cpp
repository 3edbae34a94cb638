#include "windows/tools/ToolWindow.h"

#include "concordance/ResultList.h"
#include "look/WindowLook.h"
#include "platform/BusyPointer.h"
#include "platform/MessageBoxes.h"
#include "platform/ProgressIndicator.h"
#include "session/Session.h"
#include "windows/WindowDirectory.h"

#include <new>
#include <stdexcept>

namespace quorvex {

ToolProgress::~ToolProgress()
{
    if (m_begun)
        m_indicator.end();
}

bool ToolProgress::advance(std::uint64_t done, std::uint64_t total)
{
    if (!m_begun) {
        m_indicator.begin(m_window, m_label, total, kShowAfterMs);
        m_begun = true;
    }
    return m_indicator.advance(done);
}

const Equivalents* equivalentsFollowed(Session& session, ProgressIndicator& indicator, QWidget* window,
                                       FileError* error)
{
    ToolProgress progress(indicator, window, QStringLiteral("Calcul des traductions"));
    return session.equivalents(error, [&progress](std::uint64_t done, std::uint64_t total) {
        return progress.advance(done, total);
    });
}

ToolWindow::ToolWindow(WindowDirectory& windows, QWidget* searchWindow, const char* objectName,
                       const QString& tool)
    : QWidget(searchWindow, Qt::Window), m_windows(windows), m_session(windows.session())
{
    setObjectName(QLatin1String(objectName));
    setWindowTitle(applicationTitle() + QStringLiteral(" - ") + tool);
    setAttribute(Qt::WA_DeleteOnClose);
    paintWindowBackground(this);
    connect(&m_session, &Session::resultsReset, this, [this] { refresh(); });
}

bool ToolWindow::listHoldsAttestations() const { return holdsAttestations(m_session.result().list()); }

const SearchResult& ToolWindow::searchResult() const { return m_session.result(); }

QWidget* ToolWindow::messageParent() { return isVisible() ? this : parentWidget(); }

bool ToolWindow::searchAgainWith(const SearchChoices& choices, const QString& memoryShort)
{
    SessionFailure failure = SessionFailure::None;
    {
        BusyGuard busy(m_windows.platform().busy, this);
        failure = m_session.applyChoices(choices);
    }
    if (failure == SessionFailure::None)
        return true;
    Message message;
    message.icon = MessageIcon::Warning;
    message.text = failure == SessionFailure::Unreadable ? m_session.failureMessage() : memoryShort;
    m_windows.platform().messages.show(messageParent(), message);
    return false;
}

bool ToolWindow::refresh()
{
    const Platform& platform = m_windows.platform();
    bool done = false;
    {
        BusyGuard busy(platform.busy, this);
        // Over the search window while this one is being opened: a dialog over a window not
        // shown yet lands wherever the window manager puts it.
        ToolProgress progress(platform.progress, messageParent(), QStringLiteral("Calcul %1").arg(workName()));
        try {
            done = rebuild(progress);
            if (!done)
                return false;
        } catch (const std::bad_alloc&) {
        } catch (const std::length_error&) {
        }
    }
    if (done)
        return true;
    Message message;
    // A window being opened had no content to keep, and stays closed.
    message.text = isVisible()
        ? QStringLiteral("Mémoire insuffisante pour le calcul %1 : la fenêtre garde son contenu précédent.")
              .arg(workName())
        : QStringLiteral("Mémoire insuffisante pour le calcul %1.").arg(workName());
    message.icon = MessageIcon::Warning;
    platform.messages.show(messageParent(), message);
    return false;
}

} // namespace quorvex
