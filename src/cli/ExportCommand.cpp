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
    const ExportHeading heading{options.title, search.form};
    const auto write = [&](std::ostream& to) {
        writeAttestationExport(to, format, search.table, results, search.table.text(),
                               frenchText, heading);
    };
    if (options.outputPath) {
        bool memoryShort = false;
        const FileError e = writeFileReplacing(*options.outputPath, [&](std::ostream& file) {
            try {
                write(file);
                return static_cast<bool>(file);
            } catch (const std::bad_alloc&) {
            } catch (const std::length_error&) {
            }
            memoryShort = true;
            return false;
        });
        if (memoryShort)
            return reportMemoryShort(err, writingWhat(options));
        return e ? reportFileError(err, e) : kExitOk;
    }
    if (const int code = unlessMemoryRunsShort(err, writingWhat(options), [&] {
            write(out);
            return kExitOk;
        }))
        return code;
    return finishOutput(out, err);
}

} // namespace quorvex
