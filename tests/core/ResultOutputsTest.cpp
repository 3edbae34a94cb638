// Every output read from (table, results) writes the bytes it writes from the grid holding the
// same rows: the result file, the exports and the attestation printout.

#include "concordance/FormSearch.h"
#include "concordance/GridModel.h"
#include "concordance/ResultList.h"
#include "output/ExportFormats.h"
#include "output/PrintLayout.h"
#include "output/ResultFile.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

namespace quorvex {
namespace {

std::string generatedText(std::mt19937& rng)
{
    static const std::string pieces[] = {
        "amor ", "Amor ", "am\xE9", "or", " ", "\r\n", "[", "]", "] ", "[1] ", "[2] ", "[1.2] ",
        "[Prol. 3] ", "[ IV ]", "3", ", ", "<&\"> ", "\xE9t\xE9 ", "est ", "\t", "\x81"};
    std::string text;
    for (std::size_t n = rng() % 50; n > 0; --n)
        text += pieces[rng() % std::size(pieces)];
    return text;
}

TEST(ResultOutputs, SameBytesAsFromTheGrid)
{
    std::mt19937 rng(31);
    const char* const queries[] = {"*", "a*", "amor", "*r", "est", "zz"};
    for (int round = 0; round < 400; ++round) {
        const std::string latin = generatedText(rng);
        const std::string french = round % 3 == 0 ? std::string() : generatedText(rng);
        const WordTable table = WordTable::segment(latin);
        for (const char* query : queries) {
            for (const bool sorted : {false, true}) {
                const std::string where = "latin \"" + latin + "\" french \"" + french
                    + "\" query " + query + (sorted ? " sorted" : "");
                GridModel grid;
                searchIntoGrid(table, query, grid);
                ResultList results = findForms(table, query);
                if (sorted) {
                    grid.setColSel(0);
                    grid.sort();
                    sortResults(table, results, SortKeys::FormThenReference);
                }
                const std::string* frenchText = round % 5 == 1 ? nullptr : &french;

                std::ostringstream fromGrid, fromResults;
                writeResultFile(fromGrid, grid, "Titre", "01/02/2026", latin, frenchText);
                writeResultFile(fromResults, table, results, "Titre", "01/02/2026", latin, frenchText);
                ASSERT_EQ(fromResults.str(), fromGrid.str()) << where;

                for (const ExportFormat format : {ExportFormat::Tsv, ExportFormat::Csv, ExportFormat::Html}) {
                    const ExportHeading heading{"T", query};
                    std::ostringstream gridExport, resultsExport;
                    writeAttestationExport(gridExport, format, grid, latin, frenchText, heading);
                    writeAttestationExport(resultsExport, format, table, results, latin, frenchText, heading);
                    ASSERT_EQ(resultsExport.str(), gridExport.str()) << where;
                }

                ASSERT_EQ(describePrintOperations(attestationListLayout(table, results)),
                          describePrintOperations(attestationListLayout(grid)))
                    << where;
            }
        }
    }
}

TEST(ResultOutputs, PrintoutBreaksPagesLikeTheGrids)
{
    std::string latin = "[1] ";
    for (int i = 0; i < 300; ++i)
        latin += "amor ";
    const WordTable table = WordTable::segment(latin);
    const ResultList all = findForms(table, "amor");
    for (const std::size_t rows : {66u, 67u, 68u, 135u, 136u, 300u}) {
        const ResultList results(all.begin(), all.begin() + static_cast<long>(rows));
        GridModel grid;
        searchIntoGrid(table, "amor", grid);
        grid.setRows(rows + 1);
        EXPECT_EQ(attestationListLayout(table, results), attestationListLayout(grid)) << rows;
    }
}

} // namespace
} // namespace quorvex
