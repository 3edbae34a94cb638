#include "cli/ExportCommand.h"

#include "cli/CommandCommon.h"
#include "output/ExportFormats.h"
#include "system/SystemFiles.h"

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
        // The size first: an export that cannot fit is refused before a byte is written.
        const std::uint64_t size =
            attestationExportSize(format, grid, search.table.text(), frenchText, heading);
        SaveProgress progress(err, *options.outputPath, sys::stderrIsTerminal());
        WriteControl control;
        control.expectedSize = static_cast<std::int64_t>(size);
        control.progress = [&](std::uint64_t written) { return progress.update(written, size); };
        const FileError e = writeFileReplacing(*options.outputPath, [&](std::ostream& file) {
            writeAttestationExport(file, format, grid, search.table.text(), frenchText, heading);
            return static_cast<bool>(file);
        }, control);
        return e ? reportFileError(err, e) : kExitOk;
    }
    writeAttestationExport(out, format, grid, search.table.text(), frenchText, heading);
    return finishOutput(out, err);
}

} // namespace quorvex
