#include "cli/CommandCommon.h"
#include "cli/SearchRun.h"

namespace quorvex {

int writeCount(const SearchRun& run, std::ostream& out, std::ostream& err)
{
    out << run.results.size() << '\n';
    return finishOutput(out, err);
}

} // namespace quorvex
