#pragma once
// The search of a typed form in the word table, written into the result grid.

#include "concordance/GridModel.h"
#include "concordance/WordTable.h"

#include <cstddef>
#include <string_view>

namespace quorvex {

// Empties the grid, writes its header, then appends one row (form as written, reference) per
// matching entry in text order. Afterwards the grid holds the header and those rows only,
// and its current cell is column 1 of the last row, or the header cell of column 0 when
// nothing matched. Returns the number of attestations. `typedQuery` is Windows-1252.
std::size_t searchIntoGrid(const WordTable& table, std::string_view typedQuery, GridModel& grid);

} // namespace quorvex
