#include "cli/CommandCommon.h"
#include "cli/SearchRun.h"

namespace quorvex {

int writeCount(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    out << run.result.count() << '\n';
    return finishOutput(out, err);
}

} // namespace quorvex
