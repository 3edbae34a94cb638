#pragma once
// Every platform service as a double, owned together, with the Platform the windows get.
// Constructing it also maps the Windows font names to the installed free fonts, as the
// program does at start.

#include "platform/Platform.h"
#include "look/FontSubstitutions.h"
#include "support/FakeBusyPointer.h"
#include "support/FakeFileDialogs.h"
#include "support/FakeFileTest.h"
#include "support/FakeMessageBoxes.h"
#include "support/FakePrintSetupDialog.h"
#include "support/FakeProgramLauncher.h"
#include "support/FakeProgressIndicator.h"
#include "support/FakeSystemInformation.h"
#include "support/FakeTextInput.h"
#include "support/RecordingPrintingSurface.h"

namespace quorvex {

class TestPlatform {
public:
    TestPlatform()
    {
        installFontSubstitutions();
        messages.busyProbe = [this] { return busy.anyBusy(); };
        dialogs.busyProbe = [this] { return busy.anyBusy(); };
        textInput.busyProbe = [this] { return busy.anyBusy(); };
    }
    TestPlatform(const TestPlatform&) = delete;
    TestPlatform& operator=(const TestPlatform&) = delete;

    const Platform& platform() const { return m_platform; }

    FakeFileDialogs dialogs;
    FakeMessageBoxes messages;
    FakeBusyPointer busy;
    FakeFileTest files;
    FakePrintSetupDialog printSetup;
    RecordingPrintingSurface printing;
    FakeSystemInformation systemInformation;
    FakeProgramLauncher launcher;
    FakeProgressIndicator progress;
    FakeTextInput textInput;

private:
    Platform m_platform{dialogs, messages, busy, files, printSetup, printing, systemInformation, launcher, progress, textInput};
};

} // namespace quorvex
