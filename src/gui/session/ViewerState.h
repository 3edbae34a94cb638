#pragma once
// What the context viewer remembers for the whole run, even while its window is closed:
// the grid row shown, its reference and the neighbouring passages last met.

#include <cstddef>
#include <string>

namespace quorvex {

struct ViewerState {
    std::size_t ligne_courante = 0;    // grid row; row 1 is the first attestation
    std::string reference_attestation;  // Windows-1252, brackets included
    std::string reference_precedente;   // empty until a display meets one
    std::string reference_suivante;
};

} // namespace quorvex
