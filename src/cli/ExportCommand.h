#pragma once
// --format tsv|csv|html: the attestations with their Latin and French passages, for a
// spreadsheet, a script or a browser, to --output or standard output.

#include "cli/CliOptions.h"

#include <ostream>

namespace quorvex {

int runExportCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
