#include "concordance/FormSearch.h"

#include "concordance/GridHeader.h"
#include "concordance/ResultList.h"

namespace quorvex {

std::size_t searchIntoGrid(const WordTable& table, std::string_view typedQuery, GridModel& grid)
{
    // Dropping the old rows before emptying them gives the same grid at a fraction of the
    // cost after a search of hundreds of thousands of rows.
    grid.setRows(2);
    grid.clear();
    prepareGrid(grid);
    grid.setRow(0);
    grid.setCol(0);

    const ResultList hits = findForms(table, typedQuery);

    // Row by row the search would grow the grid one row at a time, ending with an empty last
    // row that it then removes; appending to the header alone leaves the same rows.
    grid.setRows(1);
    grid.reserveRows(hits.size() + 1);
    for (const WordIndex i : hits)
        grid.appendRow(std::string(table.form(i)), table.referenceText(table.referenceId(i)));
    if (!hits.empty()) {
        grid.setRow(hits.size());
        grid.setCol(1);
    }
    return hits.size();
}

} // namespace quorvex
