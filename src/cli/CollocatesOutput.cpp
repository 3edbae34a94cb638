#include "cli/CommandCommon.h"
#include "cli/SearchRun.h"
#include "concordance/Collocates.h"
#include "output/CollocatesTable.h"

namespace quorvex {

int writeCollocates(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    // By lemma, each form once under its likeliest lemma; else under its folded form.
    const CollocateKeys keys = run.lemmata() ? lemmaKeys(run.table(), *run.lemmata(), *run.lexicon)
                                           : foldedFormKeys(run.table(), run.folding());
    const std::vector<Collocate> found =
        findCollocates(run.table(), run.results(), run.options.collocateWindow, keys);
    const std::string table =
        collocatesTable(run.options.format.value_or(ExportFormat::Tsv), found, keys.utf8);
    out.write(table.data(), static_cast<std::streamsize>(table.size()));
    return finishOutput(out, err);
}

} // namespace quorvex
