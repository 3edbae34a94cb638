#include "cli/ExportCommand.h"

#include "cli/CommandCommon.h"
#include "output/ExportFormats.h"

namespace quorvex {

int runExportCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    LatinSearch search;
    if (const int code = loadLatinSearch(options, err, search))
        return code;
    // Both texts are read before anything is written.
    TextReadResult french;
    if (!options.frenchPath.empty()) {
        french = readText(options.frenchPath);
        if (french.error)
            return reportFileError(err, french.error);
    }
    ResultList results;
    if (const int code = searchSorted(search, options, err, results))
        return code;

    const ExportFormat format = options.format.value_or(ExportFormat::Tsv);
    const std::string* frenchText = options.frenchPath.empty() ? nullptr : &french.text;
    if (format == ExportFormat::Tmx)
        return writeTmx(options, out, err, search.table, results, frenchText);
    const ExportHeading heading{options.title, search.form};
    return writeOutput(
        options, out, err,
        [&] {
            return attestationExportSize(format, search.table, results, search.table.text(),
                                         frenchText, heading);
        },
        [&](std::ostream& to) {
            writeAttestationExport(to, format, search.table, results, search.table.text(),
                                   frenchText, heading);
        });
}

} // namespace quorvex
