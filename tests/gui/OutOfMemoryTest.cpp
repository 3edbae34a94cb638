// Every command of the windows that needs memory, run again and again with its k-th sizeable
// allocation failing, for k = 1, 2, ... until it runs through: each time the user reads a
// French message, the windows show what they showed before, nothing is left on disk, and the
// same command then works.

#include "support/WindowDriver.h"

#include <QDir>
#include <QLabel>
#include <QTextEdit>

#include <atomic>
#include <cstdlib>
#include <new>

using namespace quorvex;

namespace {

// Allocations from this size on are counted: the texts, tables, lists and passages of the
// program. Smaller ones (Qt's own objects, its painting, short strings) never fail, since Qt
// is not written to survive them.
constexpr std::size_t kSizeable = 64 * 1024;
std::atomic<long> g_failAt{0};  // the counted allocation that fails; 0: none
std::atomic<long> g_counted{0};
std::atomic<bool> g_failed{false};

} // namespace

void* operator new(std::size_t size)
{
    if (size >= kSizeable && g_failAt.load(std::memory_order_relaxed) > 0
        && ++g_counted == g_failAt.load(std::memory_order_relaxed)) {
        g_failed = true;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
// The nothrow form (std::stable_sort's buffer) must come from the same heap as the delete above.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace {

// The k-th sizeable allocation fails while it lives.
class FailingAllocation {
public:
    explicit FailingAllocation(long k)
    {
        g_counted = 0;
        g_failed = false;
        g_failAt = k;
    }
    ~FailingAllocation() { g_failAt = 0; }
    static bool hit() { return g_failed; }
};

// 200 passages of 120 words: the texts, the word table and the lists are sizeable.
QByteArray latinText()
{
    QByteArray text;
    for (int p = 1; p <= 200; ++p) {
        text += "[" + QByteArray::number(p) + "] amor";
        for (int w = 0; w < 119; ++w)
            text += w % 3 ? " vincit" : " omnia";
        text += "\r\n";
    }
    return text;
}

QByteArray frenchText()
{
    QByteArray text;
    for (int p = 1; p <= 200; ++p)
        text += "[" + QByteArray::number(p) + "] l'amour vainc tout, encore et toujours.\r\n";
    return text;
}

// No command should need more: past it the sweep is taken for a loop.
constexpr long kMostAllocations = 400;

} // namespace

class OutOfMemoryTest : public WindowTest {
    Q_OBJECT
private slots:
    void everyStepShortOfMemoryKeepsItsState_data();
    void everyStepShortOfMemoryKeepsItsState();

private:
    SearchWindow* searchWindow() const { return d->windows.searchWindowIfLoaded(); }
    QString output() const { return d->dir.filePath(QStringLiteral("resultat.txt")); }

    // The windows before the command: ready for it.
    bool prepare(const QString& step)
    {
        d->useTexts(latinText(), frenchText(), QStringLiteral("Essai"));
        if (step == QLatin1String("load"))
            return true;
        if (!d->search(QStringLiteral("*")))
            return false;
        d->write(QStringLiteral("resultat.txt"), "ancien");
        if (step == QLatin1String("viewer"))
            return d->openRow(1) != nullptr;
        // The equivalents, and with them the French dictionary, come before: the dictionary's
        // library leaks what it holds when an allocation fails while it opens.
        if (step == QLatin1String("export-html"))
            return d->session.equivalents() != nullptr;
        return true;
    }
    void run(const QString& step)
    {
        if (step == QLatin1String("load"))
            trigger(d->windows.textWindow(), "concordance");
        else if (step == QLatin1String("search"))
            d->search(QStringLiteral("vincit"));
        else if (step == QLatin1String("sort"))
            click(searchWindow(), "Command2");
        else if (step == QLatin1String("save")) {
            d->doubles.dialogs.queueAnswer(output());
            d->doubles.messages.queueAnswer(MessageAnswer::Yes);  // replace the old file
            trigger(searchWindow(), "enregistrer");
        } else if (step.startsWith(QLatin1String("export"))) {
            // The filters of "Exporter...": 2 HTML, 4 TMX.
            d->doubles.dialogs.queueAnswer(output(), step == QLatin1String("export-html") ? 2 : 4);
            d->doubles.messages.queueAnswer(MessageAnswer::Yes);
            trigger(searchWindow(), "exporter");
        } else if (step == QLatin1String("print"))
            trigger(searchWindow(), "imprimer");
        else if (step == QLatin1String("viewer"))
            click(d->windows.contextViewerIfLoaded(), "Command1");
    }
    // What the user sees and has on disk.
    QStringList state() const
    {
        QStringList seen;
        seen << QString::number(searchWindow() != nullptr);
        if (SearchWindow* s = searchWindow())
            seen << child<QLabel>(s, "label4")->text() << d->rows()
                 << QStringLiteral("cell %1,%2").arg(d->session.currentRow()).arg(d->session.currentColumn());
        if (const ContextViewer* v = d->windows.contextViewerIfLoaded())
            seen << QString::number(d->session.viewer().row) << child<QLabel>(v, "Label6")->text()
                 << child<QTextEdit>(v, "label3")->toPlainText() << child<QTextEdit>(v, "label4")->toPlainText();
        seen << QDir(d->dir.path()).entryList(QDir::Files | QDir::Hidden) << QString::fromLatin1(readTestFile(output()))
             << QString::number(d->doubles.printing.documents.size());
        return seen;
    }
    Message replaceQuestion() const
    {
        return {output() + QStringLiteral(" existe.\r\nDésirez-vous l'écraser?"), QStringLiteral("Fichier existant"),
                MessageButtons::YesNo, MessageAnswer::Yes, MessageIcon::None};
    }
    static bool writesFile(const QString& step)
    {
        return step == QLatin1String("save") || step.startsWith(QLatin1String("export"));
    }
    // The boxes of a command that ran through.
    bool tookSuccess(const QString& step)
    {
        if (writesFile(step))
            return d->doubles.messages.expectNext(replaceQuestion())
                && d->doubles.messages.expectNext(okBox(QStringLiteral("L'enregistrement est terminé.")));
        return true;
    }
};

void OutOfMemoryTest::everyStepShortOfMemoryKeepsItsState_data()
{
    QTest::addColumn<QString>("step");
    QTest::newRow("loading the Latin text") << "load";
    QTest::newRow("search, the grid's room included") << "search";
    QTest::newRow("sort by form, the grid's room included") << "sort";
    QTest::newRow("save, sized then written") << "save";
    QTest::newRow("export as HTML with the equivalents, sized then written") << "export-html";
    QTest::newRow("export as TMX, made whole then written") << "export-tmx";
    QTest::newRow("print, laid out then sent") << "print";
    QTest::newRow("viewer, next attestation") << "viewer";
}

void OutOfMemoryTest::everyStepShortOfMemoryKeepsItsState()
{
    QFETCH(QString, step);
    int failures = 0;
    for (long k = 1;; ++k) {
        QVERIFY2(k <= kMostAllocations, "the command never ran through");
        d = std::make_unique<WindowDriver>();
        QVERIFY(prepare(step));
        QVERIFY(d->settled());
        const QStringList before = state();
        {
            FailingAllocation failing(k);
            run(step);
        }
        if (!FailingAllocation::hit()) {
            // Ran through: every allocation of the command has failed once.
            QVERIFY(tookSuccess(step));
            QVERIFY(state() != before);
            break;
        }
        ++failures;
        QList<ShownMessage> shown = d->doubles.messages.shown();
        // A save asks about the old file first, unless it ran short before.
        if (writesFile(step) && !shown.isEmpty() && shown.first().message.buttons == MessageButtons::YesNo) {
            QVERIFY(d->doubles.messages.expectNext(replaceQuestion()));
            shown.removeFirst();
        }
        // The core's writer names the file and says the memory ran short.
        QVERIFY2(!shown.isEmpty()
                     && (shown.first().message.text.startsWith(QStringLiteral("Mémoire insuffisante"))
                         || shown.first().message.text.endsWith(QStringLiteral("la mémoire manque."))),
                 qPrintable(QStringLiteral("allocation %1: %2")
                                .arg(k)
                                .arg(shown.isEmpty() ? QStringLiteral("no message") : shown.first().message.text)));
        QCOMPARE(shown.first().message.icon, MessageIcon::Warning);
        // A load failure is told under the text window's hourglass, as any load failure is.
        QCOMPARE(shown.first().pointerBusy, step == QLatin1String("load"));
        QVERIFY(d->doubles.messages.expectNext(shown.first().message));
        QCOMPARE(state(), before);
        // The program goes on: the same command with the memory back.
        run(step);
        QVERIFY(tookSuccess(step));
        QVERIFY(state() != before);
        QVERIFY(d->settled());
    }
    QVERIFY(failures > 0);
}

QTEST_MAIN(OutOfMemoryTest)
#include "OutOfMemoryTest.moc"
