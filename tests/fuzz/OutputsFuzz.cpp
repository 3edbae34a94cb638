// Every output of a search: the result file, the three exports, key words in context and the
// print list. Sizes known in advance are the sizes written; exports are valid UTF-8.

#include "FuzzInput.h"

#include "cli/PrintListCommand.h"
#include "concordance/FormSearch.h"
#include "concordance/GridHeader.h"
#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "output/ExportFormats.h"
#include "output/KwicLines.h"
#include "output/PrintLayout.h"
#include "output/ResultFile.h"
#include "text/Cp1252.h"

#include <sstream>

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput in(data, size);
    const std::string query = in.field();
    const std::string title = in.field();
    const std::string french = in.field();
    const std::size_t width = in.byte() % 50;
    const std::string latin = in.rest();
    const WordTable table = WordTable::segment(latin);
    GridModel grid;
    prepareGrid(grid);
    searchIntoGrid(table, query, grid);
    const std::string* frenchText = french.empty() ? nullptr : &french;

    std::ostringstream result;
    writeResultFile(result, grid, title, "06/12/2026", latin, frenchText);
    fuzz::check(resultFileSize(grid, title, "06/12/2026", latin, frenchText) == result.str().size(),
                "result file size");

    for (const ExportFormat format : {ExportFormat::Tsv, ExportFormat::Csv, ExportFormat::Html}) {
        const ExportHeading heading{title, query};
        std::ostringstream out;
        writeAttestationExport(out, format, grid, latin, frenchText, heading);
        fuzz::check(attestationExportSize(format, grid, latin, frenchText, heading) == out.str().size(),
                    "export size");
        fuzz::check(isValidUtf8(out.str()), "exports are UTF-8");
    }

    // The same rows as a result list over the word table.
    const ResultList results = findForms(table, query);
    std::ostringstream fromList;
    writeResultFile(fromList, table, results, title, "06/12/2026", latin, frenchText);
    fuzz::check(resultFileSize(table, results, title, "06/12/2026", latin, frenchText)
                    == fromList.str().size(),
                "result file size from the list");
    for (const ExportFormat format : {ExportFormat::Tsv, ExportFormat::Csv, ExportFormat::Html}) {
        const ExportHeading heading{title, query};
        std::ostringstream out;
        writeAttestationExport(out, format, table, results, latin, frenchText, heading);
        fuzz::check(attestationExportSize(format, table, results, latin, frenchText, heading)
                        == out.str().size(),
                    "export size from the list");
    }

    std::vector<KwicHit> hits;
    for (std::size_t r = 1; r < grid.rows(); ++r) {
        const std::size_t at = latin.find(grid.cell(r, 0));
        if (at != std::string::npos)
            hits.push_back({grid.cell(r, 1), at, grid.cell(r, 0).size()});
    }
    std::ostringstream kwic;
    writeKwicLines(kwic, latin, hits, width);
    fuzz::check(isValidUtf8(kwic.str()), "KWIC lines are UTF-8");

    std::ostringstream print;
    writePrintList(table, results, print);
    const PrintOperations context = contextLayout(latin, french);
    countPages(context);
    describePrintOperations(context);
    return 0;
}
