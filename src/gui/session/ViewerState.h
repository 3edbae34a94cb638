#pragma once
// What the context viewer remembers for the whole run, even while its window is closed:
// the list row shown, its reference and the neighbouring passages last met.

#include <cstddef>
#include <string>

namespace quorvex {

struct ViewerState {
    std::size_t row = 0;                 // list row; row 1 is the first attestation
    std::string attestationReference;    // Windows-1252, brackets included
    std::string previousReference;       // empty until a display meets one
    std::string nextReference;
};

} // namespace quorvex
