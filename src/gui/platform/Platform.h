#pragma once
// The services of the system that the windows use, injected so tests can replace each one
// with a double that scripts answers and records what was shown.

namespace quorvex {

class BusyPointer;
class FileDialogs;
class FileTest;
class MessageBoxes;
class PrintSetupDialog;
class PrintingSurface;
class ProgramLauncher;
class Registry;

struct Platform {
    FileDialogs* fileDialogs = nullptr;
    MessageBoxes* messages = nullptr;
    BusyPointer* busy = nullptr;
    FileTest* files = nullptr;
    PrintSetupDialog* printSetup = nullptr;
    PrintingSurface* printing = nullptr;
    Registry* registry = nullptr;
    ProgramLauncher* launcher = nullptr;
};

} // namespace quorvex
