#include "cli/CommandCommon.h"
#include "cli/SearchRun.h"
#include "output/PrintLayout.h"

namespace quorvex {

int writePrintList(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    if (const int code = unlessMemoryRunsShort(err, writingWhat(run.options), [&] {
            out << describePrintOperations(attestationListLayout(run.table(), run.results()));
            return kExitOk;
        }))
        return code;
    return finishOutput(out, err);
}

} // namespace quorvex
