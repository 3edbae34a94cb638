#include "cli/ConcordanceCommand.h"

#include "cli/CommandCommon.h"
#include "text/Cp1252.h"
#include "concordance/GridModel.h"
#include "cli/PrintListCommand.h"
#include "output/ResultFile.h"

#include <ctime>

namespace quorvex {

int runConcordanceCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    // Only the result file takes passages from the French text.
    TextReadResult latin, french;
    if (const int read = readTexts(options, err, latin, french,
                                   options.action == CliAction::ResultFile);
        read != kExitOk)
        return read;

    // The table keeps the text: the result file on standard output takes its passages there.
    const LatinSearch search = prepareSearch(options, std::move(latin.text), err);
    GridModel grid;
    searchSorted(search, options.sort, grid);
    const std::size_t count = grid.rows() - 1;

    switch (options.action) {
    case CliAction::Count:
        out << count << '\n';
        return finishOutput(out, err);
    case CliAction::List: {
        std::string line;
        for (std::size_t r = 1; r < grid.rows(); ++r) {
            line = cp1252ToUtf8(grid.cell(r, 0));
            line += '\t';
            line += cp1252ToUtf8(grid.cell(r, 1));
            line += '\n';
            out << line;
        }
        return finishOutput(out, err);
    }
    case CliAction::ResultFile: {
        const std::string date = options.date ? *options.date : defaultDateText(std::time(nullptr));
        if (options.outputPath) {
            const FileError e = saveResultFile(*options.outputPath, grid, options.title, date,
                                               options.latinPath, options.frenchPath);
            return e ? reportFileError(err, e) : kExitOk;
        }
        writeResultFile(out, grid, options.title, date, search.table.text(),
                        options.frenchPath.empty() ? nullptr : &french.text);
        return finishOutput(out, err);
    }
    case CliAction::PrintList:
        writePrintList(grid, out);
        return finishOutput(out, err);
    case CliAction::Help:
    case CliAction::Show:
    case CliAction::PrintContext:
    case CliAction::Kwic:
    case CliAction::Export:
    case CliAction::Frequencies:
    case CliAction::Check:
    case CliAction::Collocates:
    case CliAction::Plot:
        break;
    }
    return kExitOk;
}

} // namespace quorvex
