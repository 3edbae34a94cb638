#pragma once
// --check: the references of the Latin text and of its translation compared, without any
// query. One French line per finding, "file:line: finding", then a summary; exit 0 when the
// texts agree, kExitTextsDisagree when they do not.

#include "cli/CliOptions.h"

#include <ostream>

namespace quorvex {

int runCheckCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
