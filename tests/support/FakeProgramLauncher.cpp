#include "support/FakeProgramLauncher.h"

namespace quorvex {

bool FakeProgramLauncher::startDetached(const QString& program)
{
    requested << program;
    if (fails || program.isEmpty())
        return false;
    started << program;
    return true;
}

} // namespace quorvex
