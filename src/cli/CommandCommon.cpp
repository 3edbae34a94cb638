#include "cli/CommandCommon.h"

#include "concordance/FormSearch.h"

namespace quorvex {

namespace {
constexpr const char* kProgram = "quorvex-cli : ";
} // namespace

int loadLatinSearch(const CliOptions& options, std::ostream& err, LatinSearch& into)
{
    TextReadResult latin = readText(options.latinPath);
    if (latin.error)
        return reportFileError(err, latin.error);
    const ArgumentConversion form = argumentToCp1252(options.operands.front());
    if (!form.missingChar.empty())
        err << kProgram << "attention : la forme contient le caractère « " << form.missingChar
            << " », absent du codage Windows-1252 des textes ; elle ne peut rien trouver.\n";
    into.form = form.bytes;
    into.searchable = form.missingChar.empty();
    into.table = WordTable::segment(std::move(latin.text));
    return kExitOk;
}

void searchSorted(const LatinSearch& search, SortOrder sort, GridModel& grid)
{
    const WordTable nothing;
    searchIntoGrid(search.searchable ? search.table : nothing, search.form, grid);
    if (sort == SortOrder::Forms) {
        // The "Formes" button: keys from column 0 to the current column.
        grid.setColSel(0);
        grid.sort();
    }
}

int reportFileError(std::ostream& err, const FileError& error)
{
    err << kProgram << describeFileError(error) << '\n';
    return kExitFileError;
}

int finishOutput(std::ostream& out, std::ostream& err)
{
    out.flush();
    if (!out) {
        err << kProgram << "l'écriture sur la sortie standard a échoué.\n";
        return kExitFileError;
    }
    return kExitOk;
}

} // namespace quorvex
