#include "cli/PrintContextCommand.h"

#include "cli/CommandCommon.h"
#include "concordance/SearchResult.h"
#include "output/PrintLayout.h"
#include "passages/ReferenceScan.h"

namespace quorvex {

int runPrintContextCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    SearchTexts texts;
    if (const int read = readTexts(options, err, texts); read != kExitOk)
        return read;

    // A text without the reference leaves its pane empty, as in a freshly opened viewer.
    const auto pane = [&options](const std::string& text) {
        return paneLineBreaks(
            scanReference(text, options.printReference, Neighbours::Ignore).pane.value_or(""));
    };
    out << describePrintOperations(
        contextLayout(pane(texts.text(false)), options.frenchPath.empty() ? "" : pane(texts.text(true))));
    return finishOutput(out, err);
}

} // namespace quorvex
