#include "concordance/FormSearch.h"

#include "concordance/FormQuery.h"
#include "concordance/GridHeader.h"

#include <cstdint>
#include <vector>

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

    const FormQuery query = FormQuery::parse(typedQuery);
    std::vector<std::uint32_t> hits;
    const std::size_t n = table.size();
    for (std::size_t i = 0; i < n; ++i)
        if (query.matches(table.form(i)))
            hits.push_back(static_cast<std::uint32_t>(i));

    // Row by row the search would grow the grid one row at a time, ending with an empty last
    // row that it then removes; appending to the header alone leaves the same rows.
    grid.setRows(1);
    grid.reserveRows(hits.size() + 1);
    for (std::uint32_t i : hits)
        grid.appendRow(std::string(table.form(i)), std::string(table.reference(i)));
    if (!hits.empty()) {
        grid.setRow(hits.size());
        grid.setCol(1);
    }
    return hits.size();
}

} // namespace quorvex
