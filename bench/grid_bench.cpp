// The search window's heavy commands on a whole-Bible-sized text: the query "*" written into
// the grid control and drawn, the sort by form of all those rows, and the save of every
// attestation of a frequent form. The text is the one named by QUORVEX_BENCH_LATIN (the real
// corpus scaled up, see bench/run.sh), or a generated one of 5 MB.

#include "CorpusGenerator.h"

#include "concordance/ResultList.h"
#include "concordance/WordTable.h"
#include "output/ResultFile.h"
#include "session/SearchChoices.h"
#include "session/Session.h"
#include "widgets/ResultGrid.h"
#include "look/FontSubstitutions.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace quorvex;

const bench::CorpusPair& corpus()
{
    static const bench::CorpusPair pair = [] {
        bench::CorpusPair made;
        const QByteArray latin = qgetenv("QUORVEX_BENCH_LATIN");
        const QByteArray french = qgetenv("QUORVEX_BENCH_FRENCH");
        QFile latinFile(QString::fromLocal8Bit(latin));
        QFile frenchFile(QString::fromLocal8Bit(french));
        if (!latin.isEmpty() && !french.isEmpty() && latinFile.open(QIODevice::ReadOnly)
            && frenchFile.open(QIODevice::ReadOnly)) {
            made.latin = latinFile.readAll().toStdString();
            made.french = frenchFile.readAll().toStdString();
            return made;
        }
        return bench::generateCorpus(5'000'000);
    }();
    return pair;
}

// One session holding the whole generated Latin text.
Session& session()
{
    static Session* shared = [] {
        auto* s = new Session;
        s->adoptLatinText(corpus().latin);
        return s;
    }();
    return *shared;
}

const WordTable& table() { return session().words(); }

// Draws what the grid shows now, as the window would on its next paint.
void draw(ResultGrid& grid)
{
    grid.viewport()->repaint();
    grid.horizontalHeader()->repaint();
}

std::unique_ptr<ResultGrid> shownGrid()
{
    auto grid = std::make_unique<ResultGrid>(session());
    grid->resize(457, 265);
    grid->show();
    QApplication::processEvents();
    return grid;
}

// "*" into the grid, then the top of the list and its end drawn.
void BM_SearchStarIntoGrid(benchmark::State& state)
{
    auto grid = shownGrid();
    std::size_t rows = 0;
    for (auto _ : state) {
        if (session().search(QStringLiteral("*"), rows) != SessionFailure::None)
            state.SkipWithError("out of memory");
        draw(*grid);
        grid->scrollToBottom();
        draw(*grid);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_SearchStarIntoGrid)->Unit(benchmark::kMillisecond)->Iterations(5);

// "Formes" on every word of the text, as the button does it, then drawn.
void BM_SortAllRowsByForm(benchmark::State& state)
{
    auto grid = shownGrid();
    for (auto _ : state) {
        state.PauseTiming();
        std::size_t rows = 0;
        if (session().search(QStringLiteral("*"), rows) != SessionFailure::None)
            state.SkipWithError("out of memory");
        state.ResumeTiming();
        session().sortByForm();
        draw(*grid);
    }
    state.counters["rows"] = static_cast<double>(session().rowCount() - 1);
}
BENCHMARK(BM_SortAllRowsByForm)->Unit(benchmark::kMillisecond)->Iterations(5);

// "&Enregistrer" after a search of "et": both texts read, one block per attestation.
void BM_SaveFrequentForm(benchmark::State& state)
{
    QTemporaryDir dir;
    const std::string latin = dir.filePath(QStringLiteral("latin.txt")).toStdString();
    const std::string french = dir.filePath(QStringLiteral("francais.txt")).toStdString();
    const std::string out = dir.filePath(QStringLiteral("resultat.txt")).toStdString();
    for (const auto& [path, text] : {std::pair{latin, &corpus().latin}, {french, &corpus().french}}) {
        QFile file(QString::fromStdString(path));
        if (!file.open(QIODevice::WriteOnly)
            || file.write(text->data(), static_cast<qint64>(text->size())) != qint64(text->size()))
            state.SkipWithError("cannot write the texts");
    }
    const ResultList results = findForms(table(), "et");
    const std::size_t rows = results.size();
    for (auto _ : state) {
        if (saveResultFile(out, table(), results, "Essai", "04/12/2026 11:25:50", latin, french))
            state.SkipWithError("the result file could not be written");
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["MB"] = static_cast<double>(QFile(QString::fromStdString(out)).size()) / 1e6;
}
BENCHMARK(BM_SaveFrequentForm)->Unit(benchmark::kMillisecond)->Iterations(5);

// A lemma search of "sum" (every form of the verb) in a window that has just loaded the text,
// until the grid holds its rows and draws them: the lexicon's read and the text's lemmata
// are in the time, as the reader's first lemma search pays them.
void BM_FirstLemmaSearchOfSumIntoGrid(benchmark::State& state)
{
    std::size_t rows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Session fresh;
        fresh.adoptLatinText(corpus().latin);
        if (!fresh.lexiconFound()) {
            state.SkipWithError("no Latin lexicon");
            break;
        }
        SearchChoices lemma;
        lemma.asked.lemma = true;
        fresh.applyChoices(lemma);
        ResultGrid grid(fresh);
        grid.resize(457, 265);
        grid.show();
        QApplication::processEvents();
        state.ResumeTiming();
        if (fresh.search(QStringLiteral("sum"), rows) != SessionFailure::None)
            state.SkipWithError("the lemma search failed");
        draw(grid);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_FirstLemmaSearchOfSumIntoGrid)->Unit(benchmark::kMillisecond)->Iterations(3);

bool writeText(const QString& path, const std::string& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
           && file.write(text.data(), static_cast<qint64>(text.size())) == qint64(text.size());
}

// "Traductions" of the lemma "dico" once its list is shown, until the equivalents are
// ranked: with the cache folder empty (the French lemmas and the alignment computed), and
// with it filled by an earlier run on the same texts.
void translationsOfDico(benchmark::State& state, bool warm)
{
    QTemporaryDir dir;
    const QString latin = dir.filePath(QStringLiteral("latin.txt"));
    const QString french = dir.filePath(QStringLiteral("francais.txt"));
    if (!writeText(latin, corpus().latin) || !writeText(french, corpus().french))
        state.SkipWithError("cannot write the texts");
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    int run = 0;
    std::size_t ranked = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // A folder of its own each time when cold; one folder filled by the first run when warm.
        qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache-%1").arg(warm ? 0 : ++run)).toUtf8());
        Session fresh;
        fresh.setFrenchPath(french);
        fresh.adoptLatinText(corpus().latin);
        SearchChoices lemma;
        lemma.asked.lemma = true;
        fresh.applyChoices(lemma);
        std::size_t rows = 0;
        if (!fresh.lexiconFound() || fresh.search(QStringLiteral("dico"), rows) != SessionFailure::None) {
            state.SkipWithError("the lemma search failed");
            break;
        }
        if (warm && run++ == 0)
            fresh.equivalents();  // fills the cache folder
        state.ResumeTiming();
        const Equivalents* equivalents = fresh.equivalents();
        if (!equivalents)
            state.SkipWithError("no equivalents");
        else
            ranked = equivalents->rows().size();
    }
    savedCache.isNull() ? qunsetenv("XDG_CACHE_HOME") : qputenv("XDG_CACHE_HOME", savedCache);
    state.counters["lemmas"] = static_cast<double>(ranked);
}
// "Traductions" of "dico" in a window that ranked another lemma's renderings already: the
// alignment of the pair is kept by the session, so only the ranking is left.
void BM_TranslationsOfDicoOnceTrained(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString french = dir.filePath(QStringLiteral("francais.txt"));
    if (!writeText(french, corpus().french))
        state.SkipWithError("cannot write the French text");
    const QByteArray savedCache = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache")).toUtf8());
    Session session;
    session.setFrenchPath(french);
    session.adoptLatinText(corpus().latin);
    SearchChoices lemma;
    lemma.asked.lemma = true;
    session.applyChoices(lemma);
    std::size_t rows = 0, ranked = 0;
    if (!session.lexiconFound() || session.search(QStringLiteral("sum"), rows) != SessionFailure::None
        || !session.equivalents())
        state.SkipWithError("the first ranking failed");
    for (auto _ : state) {
        state.PauseTiming();
        if (session.search(QStringLiteral("dico"), rows) != SessionFailure::None)
            state.SkipWithError("the lemma search failed");
        state.ResumeTiming();
        const Equivalents* equivalents = session.equivalents();
        if (!equivalents)
            state.SkipWithError("no equivalents");
        else
            ranked = equivalents->rows().size();
    }
    savedCache.isNull() ? qunsetenv("XDG_CACHE_HOME") : qputenv("XDG_CACHE_HOME", savedCache);
    state.counters["lemmas"] = static_cast<double>(ranked);
}
BENCHMARK(BM_TranslationsOfDicoOnceTrained)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TranslationsOfDicoCacheCold(benchmark::State& state) { translationsOfDico(state, false); }
void BM_TranslationsOfDicoCacheWarm(benchmark::State& state) { translationsOfDico(state, true); }
BENCHMARK(BM_TranslationsOfDicoCacheCold)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_TranslationsOfDicoCacheWarm)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
