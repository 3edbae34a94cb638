#pragma once
// Made-up parallel texts of any size for the benchmarks: a Latin-looking text and a
// French-looking one with the same references, one "[n]" at the start of every line,
// Windows-1252, CR LF. Word lengths and frequencies follow a Zipf-like law; "et" makes about
// 7 % of the Latin words (some 50 000 in 5 MB), and the form "quorvexus" stands exactly three times.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace quorvex::bench {

struct CorpusPair {
    std::string latin;
    std::string french;
};

// Stops at the end of the line on which the Latin text reaches `latinBytes`.
CorpusPair generateCorpus(std::size_t latinBytes, std::uint64_t seed = 1);

// A generated pair written as latin.txt and francais.txt into a folder of the temporary
// folder, removed with it; the texts stay in memory for the benchmarks that need them.
struct CorpusFiles {
    CorpusFiles(const std::string& folder, std::size_t latinBytes);
    ~CorpusFiles();
    CorpusFiles(const CorpusFiles&) = delete;
    CorpusFiles& operator=(const CorpusFiles&) = delete;

    std::filesystem::path dir;
    std::string latinPath, frenchPath;
    CorpusPair pair;
};

} // namespace quorvex::bench
