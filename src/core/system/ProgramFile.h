#pragma once
// Where the running program's own file is, and names handed back in UTF-8: what the program
// needs to find the data installed beside it. posix/ and windows/ each implement it.

#include <filesystem>
#include <string>

namespace quorvex::sys {

// The running program's own file, absolute; empty when the system does not say.
std::filesystem::path runningProgram();

// A path as UTF-8 (pathFromUtf8 the other way), for messages and names handed on.
std::string utf8FromPath(const std::filesystem::path& path);

} // namespace quorvex::sys
