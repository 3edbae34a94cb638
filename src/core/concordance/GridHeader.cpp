#include "concordance/GridHeader.h"

namespace quorvex {

void prepareGrid(GridModel& grid)
{
    grid.setRow(0);
    grid.setCol(0);
    grid.setText(std::string(kFormsHeader));
    grid.setCellCentred(true);
    grid.setColWidth(0, 1500);
    grid.setColWidth(1, 1500);
    grid.setRow(0);
    grid.setCol(1);
    grid.setText(std::string(kReferencesHeader));
    grid.setCellCentred(true);
    grid.setRows(2);
}

} // namespace quorvex
