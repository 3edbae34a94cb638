#pragma once
// The concordance: loads the Latin text, searches the form as the search window does, sorts
// like the "Formes" button when asked, and writes the result file, the count or the list.

#include "cli/CliOptions.h"

#include <ostream>

namespace quorvex {

int runConcordanceCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
