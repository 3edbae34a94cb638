#pragma once
// Made-up parallel texts of any size for the benchmarks: a Latin-looking text and a
// French-looking one with the same references, one "[n]" at the start of every line,
// Windows-1252, CR LF. Word lengths and frequencies follow a Zipf-like law; "et" makes about
// 7 % of the Latin words (some 50 000 in 5 MB), and the form "quorvexus" stands exactly three times.

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorvex::bench {

struct CorpusPair {
    std::string latin;
    std::string french;
};

// Stops at the end of the line on which the Latin text reaches `latinBytes`.
CorpusPair generateCorpus(std::size_t latinBytes, std::uint64_t seed = 1);

} // namespace quorvex::bench
