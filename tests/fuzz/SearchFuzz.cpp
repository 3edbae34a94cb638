// Segmentation and search: any text and any query give a grid whose rows are attestations of
// forms that stand in the text.

#include "FuzzInput.h"

#include "concordance/FormSearch.h"
#include "concordance/GridHeader.h"
#include "concordance/GridModel.h"
#include "concordance/WordTable.h"

using namespace quorvex;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::FuzzInput in(data, size);
    const std::string query = in.field();
    const std::string text = in.rest();
    const WordTable table = WordTable::segment(text);
    fuzz::check(table.text() == text, "the table keeps the text");
    GridModel grid;
    prepareGrid(grid);
    const std::size_t found = searchIntoGrid(table, query, grid);
    fuzz::check(found + 1 == grid.rows(), "one row per attestation");
    fuzz::check(found <= table.size(), "no more attestations than words");
    for (std::size_t r = 1; r < grid.rows(); ++r) {
        const std::string& form = grid.cell(r, 0);
        fuzz::check(!form.empty() && text.find(form) != std::string::npos, "a form stands in the text");
    }
    grid.setColSel(0);
    grid.sort();
    fuzz::check(grid.rows() == found + 1, "sorting keeps every row");
    return 0;
}
