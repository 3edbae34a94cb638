#pragma once
// The services of the system that the windows use, injected so tests can replace each one
// with a double that scripts answers and records what was shown. Every service is there:
// the windows never check for a missing one.

namespace quorvex {

class BusyPointer;
class FileDialogs;
class FileTest;
class MessageBoxes;
class PrintSetupDialog;
class PrintingSurface;
class ProgramLauncher;
class ProgressIndicator;
class SystemInformation;
class TextInput;

struct Platform {
    FileDialogs& fileDialogs;
    MessageBoxes& messages;
    BusyPointer& busy;
    FileTest& files;
    PrintSetupDialog& printSetup;
    PrintingSurface& printing;
    SystemInformation& systemInformation;
    ProgramLauncher& launcher;
    ProgressIndicator& progress;
    TextInput& textInput;
};

} // namespace quorvex
