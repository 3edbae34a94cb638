#include "cli/ConcordanceCommand.h"

#include "concordance/Cp1252.h"
#include "concordance/FormSearch.h"
#include "concordance/GridModel.h"
#include "concordance/TextFile.h"
#include "concordance/WordTable.h"
#include "cli/PrintListCommand.h"
#include "output/ResultFile.h"

#include <ctime>

namespace quorvex {

namespace {

constexpr const char* kProgram = "quorvex-cli : ";

int fileError(std::ostream& err, const FileError& e)
{
    err << kProgram << describeFileError(e) << '\n';
    return kExitFileError;
}

int streamCheck(std::ostream& out, std::ostream& err)
{
    out.flush();
    if (!out) {
        err << kProgram << "l'écriture sur la sortie standard a échoué.\n";
        return kExitFileError;
    }
    return kExitOk;
}

} // namespace

int runConcordanceCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    TextReadResult latin = readText(options.latinPath);
    if (latin.error)
        return fileError(err, latin.error);
    // Read the French text before any output, so a bad path gives no half-written result.
    TextReadResult french;
    if (options.action == CliAction::ResultFile && !options.frenchPath.empty()) {
        french = readText(options.frenchPath);
        if (french.error)
            return fileError(err, french.error);
    }

    const ArgumentConversion form = argumentToCp1252(options.operands.front());
    if (!form.missingChar.empty())
        err << kProgram << "attention : la forme contient le caractère « " << form.missingChar
            << " », absent du codage Windows-1252 des textes ; elle ne peut rien trouver.\n";

    // The table keeps the text: the result file on standard output takes its passages there.
    const WordTable table = WordTable::segment(std::move(latin.text));
    GridModel grid;
    // A character the code page lacks can never match: search nothing.
    const WordTable nothing;
    searchIntoGrid(form.missingChar.empty() ? table : nothing, form.bytes, grid);
    const std::size_t count = grid.rows() - 1;
    if (options.sort == SortOrder::Forms) {
        // The "Formes" button: keys from column 0 to the current column.
        grid.setColSel(0);
        grid.sort();
    }

    switch (options.action) {
    case CliAction::Count:
        out << count << '\n';
        return streamCheck(out, err);
    case CliAction::List: {
        std::string line;
        for (std::size_t r = 1; r < grid.rows(); ++r) {
            line = cp1252ToUtf8(grid.cell(r, 0));
            line += '\t';
            line += cp1252ToUtf8(grid.cell(r, 1));
            line += '\n';
            out << line;
        }
        return streamCheck(out, err);
    }
    case CliAction::ResultFile: {
        const std::string date = options.date ? *options.date : defaultDateText(std::time(nullptr));
        if (options.outputPath) {
            const FileError e = saveResultFile(*options.outputPath, grid, options.title, date,
                                               options.latinPath, options.frenchPath);
            return e ? fileError(err, e) : kExitOk;
        }
        writeResultFile(out, grid, options.title, date, table.text(),
                        options.frenchPath.empty() ? nullptr : &french.text);
        return streamCheck(out, err);
    }
    case CliAction::PrintList:
        writePrintList(grid, out);
        return streamCheck(out, err);
    case CliAction::Help:
    case CliAction::Show:
    case CliAction::PrintContext:
    case CliAction::Kwic:
    case CliAction::Export:
    case CliAction::Frequencies:
    case CliAction::Check:
        break;
    }
    return kExitOk;
}

} // namespace quorvex
