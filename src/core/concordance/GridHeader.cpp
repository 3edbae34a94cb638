#include "concordance/GridHeader.h"

namespace quorvex {

void prepareGrid(GridModel& grid)
{
    grid.setRow(0);
    grid.setCol(0);
    grid.setText(std::string(kFormsHeader));
    grid.setRow(0);
    grid.setCol(1);
    grid.setText(std::string(kReferencesHeader));
    grid.setRows(2);
}

} // namespace quorvex
