#pragma once
// What the reader's tool windows share. Each is a modeless window owned by the search window,
// so it closes with it; it is a view of the session's list, computed again through the core
// whenever the list is replaced or reordered. Work that lasts shows its progress with a
// cancel; a cancel or a lack of memory leaves the window as it was (the latter told in
// French).

#include "concordance/SearchResult.h"

#include <QString>
#include <QWidget>

#include <cstdint>

namespace quorvex {

class Equivalents;
struct FileError;
class ProgressIndicator;
class Session;
struct SearchChoices;
class WindowDirectory;

// The progress of one refill, begun at its first step; the indicator appears only after
// half a second, so quick work shows nothing.
class ToolProgress {
public:
    static constexpr int kShowAfterMs = 500;

    ToolProgress(ProgressIndicator& indicator, QWidget* window, const QString& label)
        : m_indicator(indicator), m_window(window), m_label(label)
    {
    }
    ~ToolProgress();
    ToolProgress(const ToolProgress&) = delete;
    ToolProgress& operator=(const ToolProgress&) = delete;

    // false: the user asked to stop.
    bool advance(std::uint64_t done, std::uint64_t total);

private:
    ProgressIndicator& m_indicator;
    QWidget* m_window;
    QString m_label;
    bool m_begun = false;
};

// The session's equivalents of its list for a window that is not their own (the viewer's
// marking, an export): the alignment's first training shows "Calcul des traductions" over
// `window` and stops on its cancel. As Session::equivalents gives them, a cancel Cancelled.
const Equivalents* equivalentsFollowed(Session& session, ProgressIndicator& indicator, QWidget* window,
                                       FileError* error);

class ToolWindow : public QWidget {
    Q_OBJECT
public:
    // `tool` ends the caption: "Veltrano - Quorvex - <tool>".
    ToolWindow(WindowDirectory& windows, QWidget* searchWindow, const char* objectName,
               const QString& tool);

    // Computes and shows the content for the session's current list. false when the user
    // stopped it or memory ran short (then told): the window shows what it showed before.
    bool refresh();

protected:
    // Builds the content for the current list and shows it. It must change nothing shown
    // before it is sure to end: it throws std::bad_alloc, or returns false when `progress`
    // says the user stopped, with the window as it was.
    virtual bool rebuild(ToolProgress& progress) = 0;
    // What is computed, after "Calcul" in the progress label and the memory message
    // ("des cooccurrents").
    virtual QString workName() const = 0;

    // The list searched again with `choices` under the busy pointer. A failure keeps the
    // list and the choices and is told, `memoryShort` when memory ran short; false then.
    bool searchAgainWith(const SearchChoices& choices, const QString& memoryShort);

    // Where a message about the window goes: the window once open, else (while it is being
    // opened, and may never be) the search window it was asked from.
    QWidget* messageParent();

    // Whether the list holds attestations (a search found some).
    bool listHoldsAttestations() const;
    // The list and the one word table its indices point into.
    // The list with the word table it indexes: never one without the other.
    const SearchResult& searchResult() const;

    WindowDirectory& m_windows;
    Session& m_session;
};

} // namespace quorvex
