#include "cli/KwicCommand.h"

#include "cli/CommandCommon.h"
#include "output/KwicLines.h"

namespace quorvex {

int runKwicCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
{
    LatinSearch search;
    if (const int code = loadLatinSearch(options, err, search))
        return code;
    ResultList results;
    if (const int code = searchSorted(search, options, err, results))
        return code;
    if (const int code = unlessMemoryRunsShort(err, writingWhat(options), [&] {
            writeKwicLines(out, search.table, results, options.kwicWidth);
            return kExitOk;
        }))
        return code;
    return finishOutput(out, err);
}

} // namespace quorvex
