#pragma once
// The command line of quorvex-cli, parsed into one request. Every option is one row of a
// table (CliOptions.cpp): a new option adds its row and its field in CliRequest.h, a new action also a
// value of CliAction and its checks (CliChecks.cpp); the help text is built from the table.
// An action that reads the attestation list is one output file and one row in SearchRun.cpp;
// a new search option shapes the list where SearchRun.cpp builds it.

#include "cli/CliRequest.h"

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

// A UTF-8 argument as Windows-1252 bytes; an argument that is not UTF-8 is taken byte for
// byte. Fails (returning the offending character, UTF-8) when the code page lacks one.
struct ArgumentConversion {
    std::string bytes;
    std::string missingChar;  // empty when the conversion succeeded
};
ArgumentConversion argumentToCp1252(const std::string& argument);

} // namespace quorvex
