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
    GridModel grid;
    searchSorted(search, options.sort, grid);

    const ExportFormat format = options.format.value_or(ExportFormat::Tsv);
    const std::string* frenchText = options.frenchPath.empty() ? nullptr : &french.text;
    const ExportHeading heading{options.title, search.form};
    if (options.outputPath) {
        const FileError e = writeFileReplacing(*options.outputPath, [&](std::ostream& file) {
            writeAttestationExport(file, format, grid, search.table.text(), frenchText, heading);
            return static_cast<bool>(file);
        });
        return e ? reportFileError(err, e) : kExitOk;
    }
    writeAttestationExport(out, format, grid, search.table.text(), frenchText, heading);
    return finishOutput(out, err);
}

} // namespace quorvex
