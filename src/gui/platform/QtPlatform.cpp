#include "platform/QtPlatform.h"

#include "platform/QtBusyPointer.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtFileTest.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtPrintSetupDialog.h"
#include "platform/QtPrintingSurface.h"
#include "platform/QtProgramLauncher.h"
#include "platform/QtRegistry.h"

#include <QPrinter>

namespace quorvex {

struct QtPlatform::Impl {
    QtFileDialogs fileDialogs;
    QtMessageBoxes messages;
    QtBusyPointer busy;
    QtFileTest files;
    // One printer for the run: the setup dialog chooses it, the surface prints on it.
    QPrinter printer{QPrinter::HighResolution};
    QtPrintSetupDialog printSetup{printer};
    QtPrintingSurface printing{printer};
    QtRegistry registry;
    QtProgramLauncher launcher;
};

QtPlatform::QtPlatform() : m_impl(std::make_unique<Impl>())
{
    m_platform.fileDialogs = &m_impl->fileDialogs;
    m_platform.messages = &m_impl->messages;
    m_platform.busy = &m_impl->busy;
    m_platform.files = &m_impl->files;
    m_impl->printer.setDocName(QStringLiteral("Veltrano - Quorvex"));
    m_platform.printSetup = &m_impl->printSetup;
    m_platform.printing = &m_impl->printing;
    m_platform.registry = &m_impl->registry;
    m_platform.launcher = &m_impl->launcher;
}

QtPlatform::~QtPlatform() = default;

} // namespace quorvex
