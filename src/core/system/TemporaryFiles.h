#pragma once
// Inside the system room: the registry of temporary files being written, which a signal
// handler walks to remove them, and the names such files get.

#include <filesystem>
#include <string>

namespace quorvex::sys::detail {

using NativeChar = std::filesystem::path::value_type;

// Registers `name`; the slot's number, or -1 when the name cannot be kept (too long, too
// many at once: the file is still removed on failure, only not by a signal handler).
int claimTemporarySlot(const std::filesystem::path& name);
// Forgets the slot (-1 is ignored) and sets it to -1.
void releaseTemporarySlot(int& slot) noexcept;

// Removes the file of that native name, for the signal handler: async-signal-safe. Each
// platform gives its own.
void removeNativeFile(const NativeChar* name) noexcept;

// A short random name for a temporary file, of letters and digits after ".quorvex-": legal
// on every system, and short enough beside any name the target itself may have.
std::string temporaryName();

} // namespace quorvex::sys::detail
