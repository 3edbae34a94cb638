#pragma once
// Starts programs as separate processes that outlive this one.

#include "platform/ProgramLauncher.h"

namespace quorvex {

class QtProgramLauncher : public ProgramLauncher {
public:
    bool startDetached(const QString& program) override;
};

} // namespace quorvex
