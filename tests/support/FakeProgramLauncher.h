#pragma once
// Starts nothing: records each program asked for. A start fails when the test says so, and
// for an empty program name, as the real launcher's does.

#include "platform/ProgramLauncher.h"

#include <QStringList>

namespace quorvex {

class FakeProgramLauncher : public ProgramLauncher {
public:
    bool startDetached(const QString& program) override
    {
        requested << program;
        return !fails && !program.isEmpty();
    }

    QStringList requested;  // every start asked for, failed ones included
    bool fails = false;
};

} // namespace quorvex
