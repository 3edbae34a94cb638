// The Qt printing surface writing a long attestation list into a PDF file: the list of a
// frequent form in a whole-Bible-sized text runs to several hundred pages.

#include "CorpusGenerator.h"

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "output/PrintLayout.h"
#include "platform/QtPrintingSurface.h"

#include <QApplication>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace quorvex;

void BM_PlayListToPdf(benchmark::State& state)
{
    const WordTable table = WordTable::segment(bench::generateCorpus(5'000'000).latin);
    const PrintOperations ops = attestationListLayout(table, findForms(table, "et"));
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("liste.pdf")));
    QtPrintingSurface surface(printer);
    for (auto _ : state) {
        if (!surface.play(ops))
            state.SkipWithError("the PDF could not be written");
    }
    state.counters["pages"] = static_cast<double>(countPages(ops));
}
BENCHMARK(BM_PlayListToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
