#pragma once
// Large buffers (a text, a table of millions of words) are filled once, page by page: each
// first touch of a small page is a fault, and faults cost more than the filling on some
// machines. Where the system offers large pages on request, a buffer not yet written is
// offered them.

#include <cstddef>

namespace quorvex::sys {

// A hint only: does nothing where the system has no such pages, for a buffer too small to
// hold one, or when the system declines.
void adviseLargePages(void* data, std::size_t bytes) noexcept;

} // namespace quorvex::sys
