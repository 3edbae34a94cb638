// One display step of the context viewer on a whole-Bible-sized pair of texts (about 5 MB
// each): both files read afresh, both scanned for the reference, the form marked. Then the
// same step through the real window (offscreen), panes and marks included.

#include "CorpusGenerator.h"

#include "text/TextFile.h"
#include "passages/FormMarking.h"
#include "passages/ReferenceScan.h"

#ifdef QUORVEX_BENCH_WINDOWS
#include "windows/SearchWindow.h"
#include "widgets/ResultGrid.h"
#include "app/WindowManager.h"
#include "platform/QtPlatform.h"
#include "windows/TextWindow.h"
#include "windows/ContextViewer.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#endif

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace quorvex;

constexpr std::size_t kTextBytes = 5'000'000;

// Written once per run into a folder of its own.
struct Corpus : bench::CorpusFiles {
    std::string latin;
    std::string middleReference;  // a passage in the middle of the text
    std::string lastReference;    // the last passage: every scan runs to the end anyway

    Corpus() : CorpusFiles("quorvex-viewer-bench", kTextBytes), latin(std::move(pair.latin))
    {
        middleReference = markerAt(latin.find('[', latin.size() / 2));
        lastReference = markerAt(latin.rfind('['));
    }
    std::string markerAt(std::size_t open) const
    {
        return latin.substr(open, latin.find(']', open) - open + 1);
    }
};

Corpus& corpus()
{
    static Corpus c;
    return c;
}

void displayStep(benchmark::State& state, const std::string& reference)
{
    const Corpus& c = corpus();
    std::size_t marks = 0;
    for (auto _ : state) {
        const TextReadResult latin = readText(c.latinPath);
        const TextReadResult french = readText(c.frenchPath);
        const ReferenceScanResult latinScan = scanReference(latin.text, reference, Neighbours::Record);
        const ReferenceScanResult frenchScan = scanReference(french.text, reference, Neighbours::Ignore);
        marks = formMarks(latinScan.pane.value_or(std::string()), "et").size();
        benchmark::DoNotOptimize(frenchScan.pane);
    }
    state.counters["marks"] = double(marks);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(2 * c.latin.size()));
}

void BM_DisplayStepMiddlePassage(benchmark::State& state) { displayStep(state, corpus().middleReference); }
BENCHMARK(BM_DisplayStepMiddlePassage)->Unit(benchmark::kMillisecond);

void BM_DisplayStepLastPassage(benchmark::State& state) { displayStep(state, corpus().lastReference); }
BENCHMARK(BM_DisplayStepLastPassage)->Unit(benchmark::kMillisecond);

// The scan alone, in memory: the part that is ours rather than the disk's.
void BM_ReferenceScanOnly(benchmark::State& state)
{
    const Corpus& c = corpus();
    for (auto _ : state)
        benchmark::DoNotOptimize(scanReference(c.latin, c.middleReference, Neighbours::Record));
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(c.latin.size()));
}
BENCHMARK(BM_ReferenceScanOnly)->Unit(benchmark::kMillisecond);

#ifdef QUORVEX_BENCH_WINDOWS
// "Attestation suivant" and "Attestation précédent" in turn on the frequent form "et": each
// click reads and scans both files, fills both panes and marks the form.
void BM_WindowAttestationStep(benchmark::State& state)
{
    const Corpus& c = corpus();
    QtPlatform platform;
    WindowManager windows(platform.platform());
    TextWindow* text = windows.textWindow();
    text->findChild<QLineEdit*>(QStringLiteral("Text_latin"))->setText(QString::fromStdString(c.latinPath));
    text->findChild<QLineEdit*>(QStringLiteral("Text_francais"))->setText(QString::fromStdString(c.frenchPath));
    SearchWindow* search = windows.searchWindow();
    search->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("et"));
    search->onSearchClicked();
    windows.session().setCurrentCell(windows.session().rowCount() / 2, 0);
    ContextViewer* viewer = windows.contextViewer();
    if (!viewer) {
        state.SkipWithError("the viewer did not open");
        return;
    }
    bool forward = true;
    for (auto _ : state) {
        if (forward)
            viewer->onNextAttestationClicked();
        else
            viewer->onPreviousAttestationClicked();
        forward = !forward;
    }
}
BENCHMARK(BM_WindowAttestationStep)->Unit(benchmark::kMillisecond);
#endif

} // namespace

int main(int argc, char** argv)
{
#ifdef QUORVEX_BENCH_WINDOWS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
