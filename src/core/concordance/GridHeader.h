#pragma once
// The header of the result grid, written when the search window loads and at the start of
// every search.

#include "concordance/GridModel.h"

#include <string_view>

namespace quorvex {

// The texts of the header row, Windows-1252.
inline constexpr std::string_view kFormsHeader = "Forme(s)";
inline constexpr std::string_view kReferencesHeader = "R\xE9" "f\xE9" "rences";

// "Forme(s)" and "Références" in row 0, then two rows: the header and one empty row. Leaves
// the current cell on the header of column 1.
void prepareGrid(GridModel& grid);

} // namespace quorvex
