#pragma once
// How often each form that a query matches stands in the word table: the forms as written,
// gathered under their lowered spelling ("amor 12 / Amor 3" under "amor 15").

#include "concordance/FormQuery.h"
#include "concordance/WordTable.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvex {

struct FormCount {
    std::string_view form;  // as written, kept by the table
    std::size_t count = 0;
};

struct FrequencyGroup {
    std::string folded;              // the lowered form shared by the variants
    std::size_t total = 0;           // sum of the variants' counts
    std::vector<FormCount> variants; // most frequent first, then by byte order
};

// Groups most frequent first, then by their lowered form in byte order (the order the grid's
// sort gives). The views point into `table`, which must outlive the result.
std::vector<FrequencyGroup> formFrequencies(const WordTable& table, const FormQuery& query);

} // namespace quorvex
