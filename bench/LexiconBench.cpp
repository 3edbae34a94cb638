// Reading the Latin lexicon, with and without its extension, and the analysis of every
// distinct form of the New Testament. `lexicon_bench --load-once DIR [ext]` reads it once and
// exits, so that a script can take the peak memory of the whole process (bench/lemma.sh).

#include "concordance/TextLemmata.h"
#include "lexicon/Lexicon.h"
#include "text/TextFile.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <iostream>

using namespace quorvex;

namespace {

const char* lexiconDir()
{
    const char* dir = std::getenv("QUORVEX_LEXICON");
    return dir != nullptr ? dir : QUORVEX_LEXICON_DIR;
}

lexicon::Lexicon loadOnce(const char* dir, bool extension)
{
    lexicon::LexiconProblem failure;
    std::vector<lexicon::LexiconProblem> malformed;
    lexicon::Lexicon lexicon = lexicon::Lexicon::load(dir, extension, failure, malformed);
    if (failure) {
        std::cerr << lexicon::describeProblem(failure) << '\n';
        std::exit(1);
    }
    return lexicon;
}

void readLexicon(benchmark::State& state)
{
    const bool extension = state.range(0) != 0;
    std::size_t lemmata = 0;
    for (auto _ : state) {
        const lexicon::Lexicon lexicon = loadOnce(lexiconDir(), extension);
        lemmata = lexicon.lemmaCount();
        benchmark::DoNotOptimize(lemmata);
    }
    state.counters["lemmata"] = static_cast<double>(lemmata);
}
BENCHMARK(readLexicon)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Every distinct folded form of the New Testament analysed once.
void analyseNewTestament(benchmark::State& state)
{
    const char* corpus = std::getenv("QUORVEX_CORPUS");
    const std::string latin = std::string(corpus != nullptr ? corpus : QUORVEX_CORPUS_DIR) + "/latin-nt.txt";
    TextReadResult text = readText(latin);
    if (text.error) {
        state.SkipWithError("no ../shared/corpus (QUORVEX_CORPUS=DIR)");
        return;
    }
    const WordTable words = WordTable::segment(std::move(text.text), LetterSet::Extended);
    const lexicon::Lexicon lexicon = loadOnce(lexiconDir(), false);
    for (auto _ : state) {
        const TextLemmata lemmata = TextLemmata::build(words, lexicon);
        benchmark::DoNotOptimize(lemmata.typeCount());
    }
    state.counters["words"] = static_cast<double>(words.size());
}
BENCHMARK(analyseNewTestament)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--load-once") == 0) {
        const lexicon::Lexicon lexicon = loadOnce(argv[2], argc >= 4 && std::strcmp(argv[3], "ext") == 0);
        std::cout << lexicon.lemmaCount() << '\n';
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
