// The command-line power tools on generated texts: the frequencies of every word and the
// reference check of a whole-Bible-sized pair, and the HTML export at growing sizes, whose
// time per attestation must stay flat.

#include "CorpusGenerator.h"

#include "concordance/FormFrequencies.h"
#include "concordance/ResultList.h"
#include "passages/ReferenceCheck.h"
#include "concordance/WordTable.h"
#include "output/ExportFormats.h"

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <streambuf>
#include <string>

namespace {

using namespace quorvex;

constexpr std::size_t kTextBytes = 5'000'000;

const bench::CorpusPair& corpus(std::size_t bytes)
{
    static std::map<std::size_t, bench::CorpusPair> made;
    auto it = made.find(bytes);
    if (it == made.end())
        it = made.emplace(bytes, bench::generateCorpus(bytes)).first;
    return it->second;
}

void BM_FrequenciesOfEveryWord(benchmark::State& state)
{
    const WordTable table = WordTable::segment(corpus(kTextBytes).latin);
    const FormQuery all = FormQuery::parse("*");
    for (auto _ : state)
        benchmark::DoNotOptimize(formFrequencies(table, all));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * table.text().size()));
}
BENCHMARK(BM_FrequenciesOfEveryWord)->Unit(benchmark::kMillisecond);

void BM_CheckReferences(benchmark::State& state)
{
    const bench::CorpusPair& pair = corpus(kTextBytes);
    const std::string_view french = pair.french;
    for (auto _ : state)
        benchmark::DoNotOptimize(checkReferences(pair.latin, &french));
    state.SetBytesProcessed(
        static_cast<std::int64_t>(state.iterations() * (pair.latin.size() + pair.french.size())));
}
BENCHMARK(BM_CheckReferences)->Unit(benchmark::kMillisecond);

// "et" makes some 7 % of the words: about 50 000 attestations at 5 MB, proportionally fewer
// below. The counter "ns_par_attestation" must not grow with the size.
void BM_HtmlExport(benchmark::State& state)
{
    const bench::CorpusPair& pair = corpus(static_cast<std::size_t>(state.range(0)) * 1000);
    const WordTable table = WordTable::segment(pair.latin);
    const ResultList results = findForms(table, "et");
    const std::size_t rows = results.size();
    std::size_t bytes = 0;
    // A stream that counts and drops the bytes: the export's own cost, not a growing buffer's.
    struct Counter : std::streambuf {
        std::size_t n = 0;
        std::streamsize xsputn(const char*, std::streamsize k) override
        {
            n += static_cast<std::size_t>(k);
            return k;
        }
        int overflow(int c) override
        {
            ++n;
            return c;
        }
    };
    for (auto _ : state) {
        Counter sink;
        std::ostream out(&sink);
        writeAttestationExport(out, ExportFormat::Html, table, results, pair.latin, &pair.french, {});
        bytes = sink.n;
    }
    state.counters["attestations"] = static_cast<double>(rows);
    state.counters["octets"] = static_cast<double>(bytes);
    state.counters["ns_par_attestation"] = benchmark::Counter(
        static_cast<double>(rows), benchmark::Counter::kIsIterationInvariantRate
            | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HtmlExport)->Arg(625)->Arg(1250)->Arg(2500)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
