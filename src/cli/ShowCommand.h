#pragma once
// What the context viewer shows when it is freshly opened on a reference: both panes, the
// neighbouring references and the marked ranges, printed in a plain layout for tests and
// scripts (described in the --help text).

#include "cli/CliOptions.h"

#include <ostream>

namespace quorvex {

int runShowCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
