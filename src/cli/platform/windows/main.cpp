// quorvex-cli on Windows: the command line in UTF-16, the standard streams carrying the Linux
// bytes, on the same core and commands as everywhere.

#include "cli/CliOptions.h"
#include "cli/CliRunner.h"
#include "cli/platform/windows/WindowsConsole.h"
#include "system/SystemFiles.h"

#include <iostream>
#include <string>
#include <vector>

// The command line comes in UTF-16, never through the ANSI code page, which would lose any
// character outside it ("texte_é.txt" under a Greek or Japanese code page).
int wmain(int argc, wchar_t* argv[])
{
    using namespace quorvex::windows;
    // Before any output: results and exports on standard output are the Linux bytes.
    useBinaryStandardStreams();
    quorvex::sys::removeTemporaryFilesOnTermination();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args = utf8Arguments(argc, argv);

    StandardTextBuffer errorText(StandardHandle::Error);
    std::ostream err(&errorText);
    err.setf(std::ios::unitbuf);  // a message shows at once, like std::cerr's
    // Help and version are for reading, so a console gets them as text; every other output
    // is data and keeps its bytes, wherever it goes.
    StandardTextBuffer outputText(StandardHandle::Output);
    std::ostream readable(&outputText);
    // Parsed once: what the output is for decides the stream, then the run takes it.
    const quorvex::CliParseResult parsed = quorvex::parseCliOptions(args);
    const bool forReading = outputText.isConsole() && parsed.ok()
        && (parsed.options.action == quorvex::CliAction::Help
            || parsed.options.action == quorvex::CliAction::Version);
    return quorvex::runParsedCli(parsed, forReading ? readable : std::cout, err);
}
