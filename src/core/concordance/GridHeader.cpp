#include "concordance/GridHeader.h"

namespace quorvex {

void prepareGrid(GridModel& grid)
{
    grid.setRow(0);
    grid.setCol(0);
    grid.setText("Forme(s)");
    grid.setCellCentred(true);
    grid.setColWidth(0, 1500);
    grid.setColWidth(1, 1500);
    grid.setRow(0);
    grid.setCol(1);
    grid.setText("R\xE9" "f\xE9" "rences");  // Windows-1252, like every cell
    grid.setCellCentred(true);
    grid.setRows(2);
}

} // namespace quorvex
