#include "cli/ShowCommand.h"

#include "cli/CommandCommon.h"
#include "concordance/SearchResult.h"
#include "text/Cp1252.h"
#include "passages/FormMarking.h"
#include "passages/ReferenceScan.h"

namespace quorvex {

namespace {

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
    SearchTexts texts;
    if (const int read = readTexts(options, err, texts); read != kExitOk)
        return read;

    const ReferenceScanResult latinScan =
        scanReference(texts.text(false), options.showReference, Neighbours::Record);
    printPane(out, "latin", latinScan.pane);
    if (options.frenchPath.empty()) {
        out << "français: sans fichier\n";
    } else {
        printPane(out, "français",
                  scanReference(texts.text(true), options.showReference, Neighbours::Ignore).pane);
    }
    // A fresh viewer's stored neighbours are empty until a display records them.
    out << "précédente: " << cp1252ToUtf8(latinScan.previous.value_or(std::string())) << '\n'
        << "suivante: " << cp1252ToUtf8(latinScan.next.value_or(std::string())) << '\n';

    const std::vector<MarkRange> marks =
        formMarks(latinScan.pane.value_or(std::string()), options.markForm.value_or(std::string()));
    out << "marques: " << marks.size() << '\n';
    for (const MarkRange& mark : marks)
        out << mark.start << ' ' << mark.length << '\n';

    return finishOutput(out, err);
}

} // namespace quorvex
