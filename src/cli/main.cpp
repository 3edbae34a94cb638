// quorvex-cli: the concordance from the command line, on the same core as the windows.

#include "cli/CliRunner.h"
#include "system/SystemFiles.h"

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

namespace {

// Interrupted during a save: the temporary file goes, the old file stays, and the program
// then dies of the signal as it would have.
extern "C" void removeTemporariesAndDie(int sig)
{
    quorvex::sys::removeLiveTemporaryFiles();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

} // namespace

int main(int argc, char* argv[])
{
    std::signal(SIGINT, removeTemporariesAndDie);
    std::signal(SIGTERM, removeTemporariesAndDie);
#ifdef SIGHUP
    std::signal(SIGHUP, removeTemporariesAndDie);
#endif
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    return quorvex::runCli(args, std::cout, std::cerr);
}
