#pragma once
// --kwic [N]: the attestations one line each, the form between the N characters of text
// before and after it, in text order or sorted as the "Formes" button sorts them.

#include "cli/CliOptions.h"

#include <ostream>

namespace quorvex {

int runKwicCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
