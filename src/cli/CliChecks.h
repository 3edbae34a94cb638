#pragma once
// What the options must agree on once the whole line is read.

#include "cli/CliRequest.h"

#include <string>

namespace quorvex {

// The first reader's option given (--normalize, --phrase, --side french, --french-form), for
// messages; null when none was.
const char* readerOptionUsed(const CliOptions& options);

// Checks what the action needs and what goes together, and turns --plot alone into its
// action. Returns a French message, or "".
std::string checkOptions(CliOptions& options);

} // namespace quorvex
