#pragma once
// Texts written into a fresh folder, and quorvex-cli run on them in-process or as a whole
// process. In arguments and expected texts "{name}" stands for the path of name in the folder
// ("{}" for the folder itself), so a row can name files that exist or do not.

#include "cli/CliRunner.h"

#include "support/TempDir.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <utility>
#include <vector>

namespace quorvex::testsupport {

struct CliOutcome {
    int code;
    std::string out, err;
};

class CliHarness {
public:
    explicit CliHarness(const std::vector<std::pair<std::string, std::string>>& texts)
    {
        for (const auto& [name, bytes] : texts)
            dir.write(name, bytes);
    }

    std::string expand(std::string s) const
    {
        for (std::size_t open; (open = s.find('{')) != std::string::npos;) {
            const std::size_t close = s.find('}', open);
            s.replace(open, close - open + 1, dir.file(s.substr(open + 1, close - open - 1)));
        }
        return s;
    }

    CliOutcome run(const std::vector<std::string>& args) const
    {
        std::vector<std::string> expanded;
        for (const std::string& a : args)
            expanded.push_back(expand(a));
        std::ostringstream out, err;
        const int code = runCli(expanded, out, err);
        return {code, out.str(), err.str()};
    }

#ifdef QUORVEX_CLI_PATH
    // The program itself; code -1 when it did not exit normally. Its standard output is read
    // back unless sent elsewhere (/dev/full, say). A memory limit (KB of address space, the
    // shell's ulimit -v) applies to the program alone.
    CliOutcome runProcess(const std::vector<std::string>& args, std::string stdoutPath = {},
                          std::size_t memoryLimitKb = 0) const
    {
        const auto quoted = [](std::string s) {
            for (std::size_t at = 0; (at = s.find('\'', at)) != std::string::npos; at += 4)
                s.replace(at, 1, "'\\''");
            return "'" + s + "'";
        };
        const bool ownOutput = stdoutPath.empty();
        if (ownOutput)
            stdoutPath = dir.file(".out");
        std::string command;
        if (memoryLimitKb > 0)
            command = "ulimit -v " + std::to_string(memoryLimitKb) + " && exec ";
        command += quoted(QUORVEX_CLI_PATH);
        for (const std::string& a : args)
            command += " " + quoted(expand(a));
        command += " >" + quoted(stdoutPath) + " 2>" + quoted(dir.file(".err"));
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ownOutput ? slurp(stdoutPath) : "",
                slurp(dir.file(".err"))};
    }
#endif

    TempDir dir;
};

} // namespace quorvex::testsupport
