// The core on a whole-Bible-sized pair of texts (about 5 MB each): loading and cutting into
// words, searches, the sort by form, and the result file of a frequent form.

#include "CorpusGenerator.h"

#include "concordance/ResultList.h"
#include "text/TextFile.h"
#include "concordance/WordTable.h"
#include "output/ResultFile.h"
#include "text/Letters.h"
#include "translation/WordAlignment.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace quorvex;

constexpr std::size_t kTextBytes = 5'000'000;

// Written once per run into a folder of its own.
struct Corpus : bench::CorpusFiles {
    WordTable table;

    Corpus() : CorpusFiles("quorvex-bench-corpus", kTextBytes), table(WordTable::segment(pair.latin)) {}
};

Corpus& corpus()
{
    static Corpus c;
    return c;
}

void BM_LoadAndSegment(benchmark::State& state)
{
    const Corpus& c = corpus();
    std::size_t words = 0;
    for (auto _ : state) {
        TextReadResult text = readText(c.latinPath);
        const WordTable table = WordTable::segment(std::move(text.text));
        words = table.size();
        benchmark::DoNotOptimize(words);
    }
    state.counters["words"] = static_cast<double>(words);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kTextBytes);
}
BENCHMARK(BM_LoadAndSegment)->Unit(benchmark::kMillisecond);

void BM_Search(benchmark::State& state, const char* query)
{
    const Corpus& c = corpus();
    std::size_t found = 0;
    for (auto _ : state) {
        const ResultList results = findForms(c.table, query);
        found = results.size();
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["rows"] = static_cast<double>(found);
}
BENCHMARK_CAPTURE(BM_Search, rare, "quorvexus")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, frequent, "et")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, prefix, "a*")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Search, everyWord, "*")->Unit(benchmark::kMillisecond);

// "Formes" right after listing every word: form, then reference.
void BM_SortByForm(benchmark::State& state)
{
    const Corpus& c = corpus();
    const ResultList all = findForms(c.table, "*");
    for (auto _ : state) {
        state.PauseTiming();
        ResultList results = all;
        state.ResumeTiming();
        sortResults(c.table, results, SortKeys::FormThenReference);
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["rows"] = static_cast<double>(all.size());
}
BENCHMARK(BM_SortByForm)->Unit(benchmark::kMillisecond);

// The save: both texts read from disk, the passages found, the file written.
void BM_ResultFile(benchmark::State& state)
{
    const Corpus& c = corpus();
    const ResultList results = findForms(c.table, "et");
    const std::string out = (c.dir / "result.txt").string();
    for (auto _ : state) {
        const FileError e = saveResultFile(out, c.table, results, "Banc d'essai", "04/12/2026",
                                           c.latinPath, c.frenchPath);
        if (e)
            state.SkipWithError(describeFileError(e).c_str());
    }
    state.counters["rows"] = static_cast<double>(results.size());
    state.counters["MB_written"] = static_cast<double>(fs::file_size(out)) / 1e6;
}
BENCHMARK(BM_ResultFile)->Unit(benchmark::kMillisecond);

// A real text, named in QUORVEX_REAL_LATIN (for example a copy of the New Testament scaled by
// bench/scale-corpus.sh): loading, then every word found and sorted as "Formes" sorts it. The
// grid's own cost is the window's and is measured with it.
void BM_RealLoad(benchmark::State& state)
{
    const char* path = std::getenv("QUORVEX_REAL_LATIN");
    if (!path) {
        state.SkipWithError("QUORVEX_REAL_LATIN n'est pas défini");
        return;
    }
    std::size_t words = 0;
    for (auto _ : state) {
        TextReadResult text = readText(path);
        const WordTable table = WordTable::segment(std::move(text.text));
        words = table.size();
    }
    state.counters["words"] = static_cast<double>(words);
}
BENCHMARK(BM_RealLoad)->Unit(benchmark::kMillisecond);

void BM_RealEveryWordSorted(benchmark::State& state)
{
    const char* path = std::getenv("QUORVEX_REAL_LATIN");
    if (!path) {
        state.SkipWithError("QUORVEX_REAL_LATIN n'est pas défini");
        return;
    }
    const WordTable table = WordTable::segment(readText(path).text);
    std::size_t rows = 0;
    for (auto _ : state) {
        ResultList results = findForms(table, "*");
        sortResults(table, results, SortKeys::FormThenReference);
        rows = results.size();
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_RealEveryWordSorted)->Unit(benchmark::kMillisecond);

// The training and linking of the word alignment alone, over the verses of a real pair named in
// QUORVEX_REAL_LATIN and QUORVEX_REAL_FRENCH, words as their written forms.
void BM_RealAlignment(benchmark::State& state)
{
    const char* latinPath = std::getenv("QUORVEX_REAL_LATIN");
    const char* frenchPath = std::getenv("QUORVEX_REAL_FRENCH");
    if (!latinPath || !frenchPath) {
        state.SkipWithError("QUORVEX_REAL_LATIN ou QUORVEX_REAL_FRENCH n'est pas défini");
        return;
    }
    const WordTable latin = WordTable::segment(readText(latinPath).text);
    const WordTable french = WordTable::segment(readText(frenchPath).text, kFrenchLetters);
    std::unordered_map<std::string, std::vector<std::uint32_t>> frenchOf;
    for (std::size_t w = 0; w < french.size(); ++w)
        frenchOf[french.referenceText(french.referenceId(w))].push_back(french.typeOf(w));
    SentencePairs pairs;
    std::vector<std::uint32_t> latinIds;
    for (std::size_t w = 0; w < latin.size();) {
        const WordTable::ReferenceId r = latin.referenceId(w);
        latinIds.clear();
        for (; w < latin.size() && latin.referenceId(w) == r; ++w)
            latinIds.push_back(latin.typeOf(w));
        pairs.add(latinIds, frenchOf[latin.referenceText(r)]);
    }
    AlignmentSettings settings;
    settings.twoThreads = state.range(0) == 2;
    std::size_t cells = 0;
    for (auto _ : state) {
        const WordAlignment alignment = alignSentencePairs(pairs, settings);
        cells = alignment.cells();
        benchmark::DoNotOptimize(alignment.latinTokens());
    }
    state.counters["pairs"] = static_cast<double>(pairs.size());
    state.counters["cells"] = static_cast<double>(cells);
}
BENCHMARK(BM_RealAlignment)->Arg(1)->Arg(2)->ArgName("threads")->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
