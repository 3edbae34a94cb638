#pragma once
// Starts an outside program without waiting for it.

#include <QString>

namespace quorvex {

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // The program starts in a normal window that takes the focus. False: it did not start.
    virtual bool startDetached(const QString& program) = 0;
};

} // namespace quorvex
