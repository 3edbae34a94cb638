#include "cli/CommandCommon.h"
#include "cli/SearchRun.h"
#include "output/KwicLines.h"

namespace quorvex {

int writeKwic(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    if (const int code = unlessMemoryRunsShort(err, writingWhat(run.options), [&] {
            writeKwicLines(out, run.table(), run.results(), run.options.kwicWidth);
            return kExitOk;
        }))
        return code;
    return finishOutput(out, err);
}

} // namespace quorvex
