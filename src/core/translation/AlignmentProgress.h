#pragma once
// How a caller follows, and may stop, the training of a word alignment: a Bible takes seconds.

#include <cstdint>
#include <exception>
#include <functional>

namespace quorvex {

// Told how far a training has come, on the thread that asked for it, in steps out of a total
// that stays the same from call to call; answering false stops the training, which then
// throws AlignmentStopped.
using AlignmentProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

struct AlignmentStopped : std::exception {
    const char* what() const noexcept override { return "alignment stopped"; }
};

} // namespace quorvex
