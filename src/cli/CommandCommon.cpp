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
    into = prepareSearch(options, std::move(latin.text), err);
    return kExitOk;
}

LatinSearch prepareSearch(const CliOptions& options, std::string latinText, std::ostream& err)
{
    const ArgumentConversion form = argumentToCp1252(options.operands.front());
    if (!form.missingChar.empty())
        err << kProgram << "attention : la forme contient le caractère « " << form.missingChar
            << " », absent du codage Windows-1252 des textes ; elle ne peut rien trouver.\n";
    LatinSearch search;
    search.form = form.bytes;
    search.searchable = form.missingChar.empty();
    search.table = WordTable::segment(std::move(latinText));
    return search;
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

int readTexts(const CliOptions& options, std::ostream& err, TextReadResult& latin,
              TextReadResult& french, bool withFrench)
{
    latin = readText(options.latinPath);
    if (latin.error)
        return reportFileError(err, latin.error);
    if (withFrench && !options.frenchPath.empty()) {
        french = readText(options.frenchPath);
        if (french.error)
            return reportFileError(err, french.error);
    }
    return kExitOk;
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
