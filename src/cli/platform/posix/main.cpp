// quorvex-cli: the concordance from the command line, on the same core as the windows.

#include "cli/CliRunner.h"
#include "system/SystemFiles.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    // Interrupted during a save: the temporary file goes, the old file stays.
    quorvex::sys::removeTemporaryFilesOnTermination();
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    return quorvex::runCli(args, std::cout, std::cerr);
}
