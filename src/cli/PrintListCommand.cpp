#include "cli/PrintListCommand.h"

#include "concordance/TextFile.h"
#include "output/PrintLayout.h"
#include "viewer/ReferenceScan.h"

namespace quorvex {

namespace {

constexpr const char* kProgram = "quorvex-cli : ";

} // namespace

void writePrintList(const GridModel& grid, std::ostream& out)
{
    out << describePrintOperations(attestationListLayout(grid));
}

int runPrintContextCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    const TextReadResult latin = readText(options.latinPath);
    if (latin.error) {
        err << kProgram << describeFileError(latin.error) << '\n';
        return kExitFileError;
    }
    TextReadResult french;
    if (!options.frenchPath.empty()) {
        french = readText(options.frenchPath);
        if (french.error) {
            err << kProgram << describeFileError(french.error) << '\n';
            return kExitFileError;
        }
    }

    // A text without the reference leaves its pane empty, as in a freshly opened viewer.
    const auto pane = [&options](const std::string& text) {
        return paneLineBreaks(
            scanReference(text, options.printReference, Neighbours::Ignore).pane.value_or(""));
    };
    out << describePrintOperations(
        contextLayout(pane(latin.text), options.frenchPath.empty() ? "" : pane(french.text)));
    out.flush();
    if (!out) {
        err << kProgram << "l'écriture sur la sortie standard a échoué.\n";
        return kExitFileError;
    }
    return kExitOk;
}

} // namespace quorvex
