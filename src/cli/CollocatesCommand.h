#pragma once
// --collocates N: the words near the attestations, counted and scored, as TSV or CSV.

#include "cli/CliOptions.h"

#include <ostream>

namespace quorvex {

int runCollocatesCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
