#include "support/TestPlatform.h"

#include "shell/FontSubstitutions.h"

namespace quorvex {

TestPlatform::TestPlatform()
{
    installFontSubstitutions();
    messages.busyProbe = [this] { return busy.anyBusy(); };
    dialogs.busyProbe = [this] { return busy.anyBusy(); };
    m_platform.fileDialogs = &dialogs;
    m_platform.messages = &messages;
    m_platform.busy = &busy;
    m_platform.files = &files;
    m_platform.printSetup = &printSetup;
    m_platform.printing = &printing;
    m_platform.registry = &registry;
    m_platform.launcher = &launcher;
}

} // namespace quorvex
