#pragma once
// --frequencies: the distinct forms the query matches with their counts, each spelling as
// written and, after it, the count that ignores letter case.

#include "cli/CliOptions.h"

#include <ostream>

namespace quorvex {

int runFrequencyCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
