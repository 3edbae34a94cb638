// Every output of a search: the result file, the three exports, key words in context and the
// print list, for forms and phrases. Sizes known in advance are the sizes written; exports are
// valid UTF-8.

#include "FuzzInput.h"

#include "concordance/PhraseQuery.h"
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
    const bool phrase = (in.byte() & 1) != 0;
    const std::string* frenchText = french.empty() ? nullptr : &french;
    ResultList results = PhraseQuery(query, phrase, Folding::Case).find(table);
    if (in.byte() & 1)
        sortResults(table, results, SortKeys::FormThenReference);
    if (results.empty() && (in.byte() & 1))
        results = emptyRowList();

    std::ostringstream result;
    writeResultFile(result, table, results, title, "06/12/2026", latin, frenchText);
    fuzz::check(resultFileSize(table, results, title, "06/12/2026", latin, frenchText)
                    == result.str().size(),
                "result file size");
    for (const ExportFormat format : {ExportFormat::Tsv, ExportFormat::Csv, ExportFormat::Html}) {
        const ExportHeading heading{title, query};
        std::ostringstream out;
        writeAttestationExport(out, format, table, results, latin, frenchText, heading);
        fuzz::check(attestationExportSize(format, table, results, latin, frenchText, heading)
                        == out.str().size(),
                    "export size");
        fuzz::check(isValidUtf8(out.str()), "exports are UTF-8");
    }

    std::ostringstream kwic;
    writeKwicLines(kwic, table, results, width);
    fuzz::check(isValidUtf8(kwic.str()), "KWIC lines are UTF-8");

    describePrintOperations(attestationListLayout(table, results));
    const PrintOperations context = contextLayout(latin, french);
    countPages(context);
    describePrintOperations(context);
    return 0;
}
