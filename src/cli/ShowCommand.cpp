#include "cli/ShowCommand.h"

#include "concordance/Cp1252.h"
#include "concordance/TextFile.h"
#include "viewer/FormMarking.h"
#include "viewer/ReferenceScan.h"

namespace quorvex {

namespace {

constexpr const char* kProgram = "quorvex-cli : ";

// "label: N" then the N characters of the pane and a line end; or "label: absente" when the
// text lacks the reference (a fresh viewer's pane then stays empty).
void printPane(std::ostream& out, const char* label, const std::optional<std::string>& pane)
{
    if (!pane) {
        out << label << ": absente\n";
        return;
    }
    out << label << ": " << pane->size() << '\n' << cp1252ToUtf8(*pane) << '\n';
}

} // namespace

int runShowCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    // Both texts are read before anything is printed.
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

    const ReferenceScanResult latinScan =
        scanReference(latin.text, options.showReference, Neighbours::Record);
    printPane(out, "latin", latinScan.pane);
    if (options.frenchPath.empty()) {
        out << "français: sans fichier\n";
    } else {
        printPane(out, "français",
                  scanReference(french.text, options.showReference, Neighbours::Ignore).pane);
    }
    // A fresh viewer's stored neighbours are empty until a display records them.
    out << "précédente: " << cp1252ToUtf8(latinScan.previous.value_or(std::string())) << '\n'
        << "suivante: " << cp1252ToUtf8(latinScan.next.value_or(std::string())) << '\n';

    const std::vector<MarkRange> marks =
        formMarks(latinScan.pane.value_or(std::string()), options.markForm.value_or(std::string()));
    out << "marques: " << marks.size() << '\n';
    for (const MarkRange& mark : marks)
        out << mark.start << ' ' << mark.length << '\n';

    out.flush();
    if (!out) {
        err << kProgram << "l'écriture sur la sortie standard a échoué.\n";
        return kExitFileError;
    }
    return kExitOk;
}

} // namespace quorvex
