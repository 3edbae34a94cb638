#pragma once
// The two printouts as operation lists (--print-list for the search's attestation list,
// --print-context REF for the passage pair the viewer shows), one operation a line.

#include "cli/CliOptions.h"
#include "concordance/ResultList.h"

#include <ostream>

namespace quorvex {

// The attestation printout of a search's results.
void writePrintList(const WordTable& table, const ResultList& results, std::ostream& out);

// The context printout of the reference options.printReference, the panes filled as a
// freshly opened viewer fills them.
int runPrintContextCommand(const CliOptions& options, std::ostream& out, std::ostream& err);

} // namespace quorvex
