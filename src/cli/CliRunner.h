#pragma once
// quorvex-cli without its process: parses the arguments, runs the chosen command, and
// returns the exit code. The streams are the standard ones in the program, strings in tests.

#include <ostream>
#include <string>
#include <vector>

namespace quorvex {

// `args` without the program name. Messages go to `err` in French, prefixed by the program
// name; usage errors also point to --help.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

struct CliParseResult;
// The same with the arguments parsed already (the program's entry looks at them first).
int runParsedCli(const CliParseResult& parsed, std::ostream& out, std::ostream& err);

} // namespace quorvex
