#pragma once
// --print-context REF: the context printout of the passage pair the viewer shows, one printer
// operation a line.

#include "cli/CliOptions.h"

#include <ostream>

namespace quorvex {

// The panes filled as a freshly opened viewer fills them.
int runPrintContextCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
