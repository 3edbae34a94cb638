#pragma once
// The progress of a long command (a large save): shown over the window, modal for the whole
// application so that no other command runs meanwhile, with a button that stops it.

#include <QString>

#include <cstdint>

class QWidget;

namespace quorvex {

class ProgressIndicator {
public:
    virtual ~ProgressIndicator() = default;
    // Shown only once the command has taken `showAfterMs` (about a second for a save; the
    // tool windows, which the user waits on to read, say sooner).
    virtual void begin(QWidget* parent, const QString& label, std::uint64_t total,
                       int showAfterMs = 1000) = 0;
    // false: the user asked to stop.
    virtual bool advance(std::uint64_t done) = 0;
    virtual void end() = 0;
};

} // namespace quorvex
