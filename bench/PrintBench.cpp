// The print layouts on a whole-Bible-sized text (about 5 MB): the attestation list of a
// frequent form and of every word, and the French line rule over a very long passage.

#include "CorpusGenerator.h"

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "output/PrintLayout.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quorvex;

constexpr std::size_t kTextBytes = 5'000'000;

const bench::CorpusPair& corpus()
{
    static const bench::CorpusPair pair = bench::generateCorpus(kTextBytes);
    return pair;
}

void BM_AttestationListLayout(benchmark::State& state, const char* query)
{
    const WordTable table = WordTable::segment(corpus().latin);
    const ResultList results = findForms(table, query);
    std::size_t operations = 0;
    for (auto _ : state) {
        const PrintOperations ops = attestationListLayout(table, results);
        operations = ops.size();
        benchmark::DoNotOptimize(ops.data());
    }
    state.counters["rows"] = static_cast<double>(results.size());
    state.counters["operations"] = static_cast<double>(operations);
}
BENCHMARK_CAPTURE(BM_AttestationListLayout, frequent_form, "et")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AttestationListLayout, every_word, "*")->Unit(benchmark::kMillisecond);

// The whole French text as one passage: the worst case of the line rule.
void BM_ContextLayoutWholeText(benchmark::State& state)
{
    const std::string& french = corpus().french;
    for (auto _ : state) {
        const PrintOperations ops = contextLayout("", french);
        benchmark::DoNotOptimize(ops.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * french.size()));
}
BENCHMARK(BM_ContextLayoutWholeText)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
