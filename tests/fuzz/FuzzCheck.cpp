#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>

namespace quorvex::fuzz {

void check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

} // namespace quorvex::fuzz
