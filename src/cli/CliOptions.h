#pragma once
// The command line of quorvex-cli, parsed into one request. Every option is one row of a
// table (CliOptions.cpp): a new option adds its row and its field in CliRequest.h, a new action also a
// value of CliAction and its checks (CliChecks.cpp); the help text is built from the table.
// An action that reads the attestation list is one output file and one row in SearchRun.cpp.
// A new search option is a field of the core's SearchRequest, with its refusals beside the
// others' and its step where the core builds the list (concordance/SearchResult.cpp), and
// its row here.

#include "cli/CliRequest.h"
#include "text/Cp1252.h"

#include <string>
#include <vector>

namespace quorvex {

struct CliParseResult {
    CliOptions options;
    std::string error;  // French, UTF-8; empty when the line is valid
    bool ok() const noexcept { return error.empty(); }
};

// `args` without the program name. "--opt VALUE" and "--opt=VALUE" are both accepted;
// "--" ends the options, so a form may begin with "-".
CliParseResult parseCliOptions(const std::vector<std::string>& args);

// UTF-8, French.
std::string cliHelpText();
// The first line names the program and its version; then the copyright and the licence.
std::string cliVersionText();


} // namespace quorvex
