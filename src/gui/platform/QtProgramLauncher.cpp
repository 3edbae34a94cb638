#include "platform/QtProgramLauncher.h"

#include <QProcess>

namespace quorvex {

bool QtProgramLauncher::startDetached(const QString& program)
{
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(program);
    return process.startDetached();
}

} // namespace quorvex
