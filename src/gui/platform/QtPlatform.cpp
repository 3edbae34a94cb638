#include "platform/QtPlatform.h"

#include "platform/QtBusyPointer.h"
#include "platform/QtFileDialogs.h"
#include "platform/QtFileTest.h"
#include "platform/QtMessageBoxes.h"
#include "platform/QtPrintSetupDialog.h"
#include "platform/QtPrintingSurface.h"
#include "platform/QtProgramLauncher.h"
#include "platform/QtProgressIndicator.h"
#include "platform/QtTextInput.h"

#ifdef Q_OS_WIN
#include "platform/QtRegistry.h"
#include "platform/RegistrySystemInformation.h"
#else
#include "platform/PathSystemInformation.h"
#endif

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
#ifdef Q_OS_WIN
    QtRegistry registry;
    RegistrySystemInformation systemInformation{registry, files};
#else
    PathSystemInformation systemInformation;
#endif
    QtProgramLauncher launcher;
    QtProgressIndicator progress;
    QtTextInput textInput;
};

QtPlatform::QtPlatform() : m_impl(std::make_unique<Impl>())
{
    m_impl->printer.setDocName(QStringLiteral("Veltrano - Quorvex"));
    m_platform.reset(new Platform{m_impl->fileDialogs, m_impl->messages, m_impl->busy,
                                  m_impl->files, m_impl->printSetup, m_impl->printing,
                                  m_impl->systemInformation, m_impl->launcher,
                                  m_impl->progress, m_impl->textInput});
}

QtPlatform::~QtPlatform() = default;

} // namespace quorvex
