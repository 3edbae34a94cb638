// The reader's tool windows of the "Outils" menu, driven through the platform doubles: each
// shows what quorvex-cli gives for the list shown, follows a new search and a sort, starts
// on its first row and goes with the search window; the KWIC line, the equivalent and the
// picture do what they offer, from the mouse or the keyboard; a lack of memory or a cancel
// leaves a window as it was; the viewer marks the equivalents in the French pane only when
// asked.

#include "support/AllocationLimit.h"
#include "support/CliRows.h"
#include "support/WindowDriver.h"

#include "look/WindowLook.h"
#include "windows/tools/DispersionWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QRegularExpression>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QScrollBar>
#include <QTableView>
#include <QTextEdit>
#include <QUuid>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>
#include <sstream>

using namespace quorvex;

namespace {

// God is rendered by Dieu (and once Seigneur), man by homme.
const QByteArray kLatin = "[1] deus amat hominem\r\n[2] deus videt terram\r\n[3] deus dicit verbum\r\n"
                          "[4] homo amat deum\r\n[5] homo videt caelum\r\n[6] homo dicit\r\n";
const QByteArray kFrench = "[1] Dieu aime l'homme\r\n[2] Dieu voit la terre\r\n[3] le Seigneur dit la parole\r\n"
                           "[4] l'homme aime Dieu\r\n[5] l'homme voit le ciel\r\n[6] l'homme parle\r\n";

QStringList columnTitles(const QTableView* view)
{
    QStringList titles;
    for (int c = 0; c < view->model()->columnCount(); ++c)
        titles << view->model()->headerData(c, Qt::Horizontal).toString();
    return titles;
}

void doubleClickRow(QAbstractItemView* view, int row)
{
    const QModelIndex cell = view->model()->index(row, 0);
    view->scrollTo(cell);
    const QPoint at = view->visualRect(cell).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class ToolWindowsTest : public WindowTest {
    Q_OBJECT

private slots:
    void eachToolWindowShowsTheCoresResultForTheListAndFollowsIt_data();
    void eachToolWindowShowsTheCoresResultForTheListAndFollowsIt();
    void collocatesFollowTheWindowSizeSortByAnyColumnAndCopyTheClisTable();
    void kwicDoubleClickOpensTheViewerOnThatAttestation();
    void returnOrSpaceOnAKwicLineOpensTheViewerAsItsDoubleClick_data();
    void returnOrSpaceOnAKwicLineOpensTheViewerAsItsDoubleClick();
    void returnOnATranslationsRowFiltersAsItsDoubleClick();
    void translationsWithoutItsFrenchTextSaysWhyOnceAndOpensNothing();
    void eachToolTableStartsFocusedOnItsFirstRow_data();
    void eachToolTableStartsFocusedOnItsFirstRow();
    void translationsDoubleClickKeepsThePassagesWithThatEquivalentUntilRemoved();
    void dispersionSaveWritesThePictureOrSaysWhyNot_data();
    void dispersionSaveWritesThePictureOrSaysWhyNot();
    void dispersionOfAFrequentFormIsDrawnWhole();
    void lackOfMemoryOrACancelKeepsTheWindowAsItWas();
    void lackOfMemoryAsAToolOpensIsToldOverTheSearchWindow_data();
    void lackOfMemoryAsAToolOpensIsToldOverTheSearchWindow();
    void translationsShowTheAlignmentsProgressAndACancelOpensNothing();
    void viewerMarksTheWordsAlignedToTheRowOnlyWhenAsked();
    void viewerBringsTheRenderingIntoSightInALongPassage();

private:
    SearchWindow* searchWith(const QString& query)
    {
        if (!d->windows.searchWindowIfLoaded())
            d->useTexts(kLatin, kFrench);
        return d->search(query);
    }
    // Opens a tool through its menu item; the window, found by its objectName.
    QWidget* openTool(const char* item, const char* window)
    {
        SearchWindow* s = d->windows.searchWindowIfLoaded();
        trigger(s, item);
        return child(s, window);
    }
    // What quorvex-cli gives for the query of the list shown, in the order `options` ask.
    QStringList expectedContent(const QString& tool, const QStringList& options = {})
    {
        const QString query = d->session.listQuery();
        auto cli = [&](const QStringList& request) {
            return cliOutput(d->latinPath, d->frenchPath, request, query);
        };
        if (tool == QLatin1String("kwic"))
            return cli(QStringList{"--kwic"} + options).lines();
        if (tool == QLatin1String("cooccurrents"))
            return cli({"--collocates", "5"}).records();
        if (tool == QLatin1String("dispersion"))
            return {QString::fromStdString(cli({"--plot", "-"}).out)};
        return cli({"--translations", "--top", "9999999"}).records();
    }
    QStringList shownContent(QWidget* window)
    {
        if (auto* picture = qobject_cast<DispersionWindow*>(window))
            return {QString::fromStdString(picture->picture())};
        if (auto* table = window->findChild<QTableView*>(QStringLiteral("tableau")))
            return shownRows(table);
        return shownRows(child<QAbstractItemView>(window, "lignes"));
    }
};

void ToolWindowsTest::eachToolWindowShowsTheCoresResultForTheListAndFollowsIt_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("kwic") << "kwic" << "frmKwic" << "Veltrano - Quorvex - KWIC" << QStringList();
    QTest::newRow("cooccurrents") << "cooccurrents" << "frmCooccurrents" << "Veltrano - Quorvex - Cooccurrents"
                                  << QStringList{"Cooccurrent", "Cooccurrences", "Fréquence", "IM",
                                                 "Log-vraisemblance"};
    QTest::newRow("dispersion") << "dispersion" << "frmDispersion" << "Veltrano - Quorvex - Dispersion"
                                << QStringList();
    QTest::newRow("traductions") << "traductions" << "frmTraductions" << "Veltrano - Quorvex - Traductions"
                                 << QStringList{"Équivalent", "Alignées", "Part (%)", "Passages", "Fréquence",
                                                "Log-vraisemblance", "Dice"};
}

void ToolWindowsTest::eachToolWindowShowsTheCoresResultForTheListAndFollowsIt()
{
    QFETCH(QString, item);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QStringList, titles);
    SearchWindow* s = searchWith(QStringLiteral("deus"));
    QWidget* tool = openTool(qPrintable(item), qPrintable(window));
    QPointer<QWidget> alive(tool);
    QVERIFY(tool->isVisible());
    QVERIFY(tool->isWindow());
    QCOMPARE(tool->windowModality(), Qt::NonModal);
    QCOMPARE(tool->windowTitle(), caption);
    if (!titles.isEmpty()) {
        auto* table = child<QTableView>(tool, "tableau");
        QCOMPARE(columnTitles(table), titles);
        // Every column is in sight without scrolling sideways.
        QTRY_COMPARE(table->horizontalScrollBar()->maximum(), 0);
    }
    const QStringList deus = shownContent(tool);
    QVERIFY(!deus.isEmpty());
    QCOMPARE(deus, expectedContent(item));

    // The item again brings the same window forward.
    QCOMPARE(openTool(qPrintable(item), qPrintable(window)), tool);

    // A new search and a sort refill it.
    d->search(QStringLiteral("h*"));
    QCOMPARE(shownContent(tool), expectedContent(item));
    QVERIFY(shownContent(tool) != deus);
    click(s, "Command2");
    QCOMPARE(shownContent(tool), expectedContent(item, {"--sort", "forms"}));

    // It closes with the search window.
    trigger(s, "quitter");
    QTRY_VERIFY(alive.isNull());
}

void ToolWindowsTest::collocatesFollowTheWindowSizeSortByAnyColumnAndCopyTheClisTable()
{
    searchWith(QStringLiteral("deus"));
    QWidget* tool = openTool("cooccurrents", "frmCooccurrents");
    auto* table = child<QTableView>(tool, "tableau");
    auto* size = child<QSpinBox>(tool, "largeur");
    QCOMPARE(size->value(), 5);
    size->setValue(1);
    const CliOutput oneWord = cliOutput(d->latinPath, d->frenchPath, {"--collocates", "1"}, QStringLiteral("deus"));
    QCOMPARE(shownRows(table), oneWord.records());

    // Copied: the CLI's table, its header first, whatever the order shown.
    table->horizontalHeader()->setSortIndicator(0, Qt::DescendingOrder);
    click(tool, "copier");
    QCOMPARE(QApplication::clipboard()->text(), QString::fromStdString(oneWord.out));
    QVERIFY(QApplication::clipboard()->text().startsWith(
        QStringLiteral("collocate\tcooccurrences\tfrequency\tmi\tlog_likelihood\n")));

    // Any column sorts, figures by value.
    for (int column = 0; column < 5; ++column) {
        table->horizontalHeader()->setSortIndicator(column, Qt::AscendingOrder);
        const QAbstractItemModel* m = table->model();
        for (int r = 1; r < m->rowCount(); ++r) {
            const QString a = m->index(r - 1, column).data().toString();
            const QString b = m->index(r, column).data().toString();
            if (column == 0)
                QVERIFY2(a.localeAwareCompare(b) <= 0, qPrintable(a + " > " + b));
            else
                QVERIFY2(a.toDouble() <= b.toDouble(), qPrintable(a + " > " + b));
        }
    }
}

void ToolWindowsTest::kwicDoubleClickOpensTheViewerOnThatAttestation()
{
    SearchWindow* s = searchWith(QStringLiteral("h*"));
    click(s, "Command2");  // the grid's order is no longer the text's
    auto* lines = child<QAbstractItemView>(openTool("kwic", "frmKwic"), "lignes");
    QCOMPARE(lines->model()->rowCount(), int(d->session.rowCount() - 1));

    for (const int line : {2, 0}) {
        // First opened by the line, then, already open, stepped to the other.
        doubleClickRow(lines, line);
        ContextViewer* viewer = d->windows.contextViewerIfLoaded();
        QVERIFY(viewer);
        QCOMPARE(d->session.viewer().row, std::size_t(line) + 1);
        QCOMPARE(child<QLabel>(viewer, "Label6")->text(), fromCp1252(d->session.form(std::size_t(line) + 1)));
        QVERIFY(child<QTextEdit>(viewer, "label3")->toPlainText().startsWith(
            fromCp1252(d->session.reference(std::size_t(line) + 1))));
    }
}

void ToolWindowsTest::returnOrSpaceOnAKwicLineOpensTheViewerAsItsDoubleClick_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("return") << int(Qt::Key_Return);
    QTest::newRow("enter") << int(Qt::Key_Enter);
    QTest::newRow("space") << int(Qt::Key_Space);
}

void ToolWindowsTest::returnOrSpaceOnAKwicLineOpensTheViewerAsItsDoubleClick()
{
    QFETCH(int, key);
    searchWith(QStringLiteral("h*"));
    auto* lines = child<QAbstractItemView>(openTool("kwic", "frmKwic"), "lignes");
    QTest::keyClick(lines, Qt::Key_Down);
    QTest::keyClick(lines, Qt::Key(key));
    ContextViewer* viewer = d->windows.contextViewerIfLoaded();
    QVERIFY(viewer);
    QCOMPARE(d->session.viewer().row, std::size_t(2));
    QCOMPARE(child<QLabel>(viewer, "Label6")->text(), fromCp1252(d->session.form(2)));
    // Open already, the viewer steps.
    QTest::keyClick(lines, Qt::Key_Down);
    QTest::keyClick(lines, Qt::Key(key));
    QCOMPARE(d->session.viewer().row, std::size_t(3));
}

void ToolWindowsTest::returnOnATranslationsRowFiltersAsItsDoubleClick()
{
    searchWith(QStringLiteral("deus"));
    QWidget* tool = openTool("traductions", "frmTraductions");
    auto* table = child<QTableView>(tool, "tableau");
    QVERIFY(table->model()->rowCount() > 1);
    QTest::keyClick(table, Qt::Key_Down);
    const QString lemma = table->model()->index(1, 0).data().toString();
    QTest::keyClick(table, Qt::Key_Return);
    QCOMPARE(QString::fromStdString(d->session.choices().asked.frenchLemma.value_or(std::string())), lemma);
    QCOMPARE(d->rows(), cliListRows(d->latinPath, d->frenchPath, {"--french-lemma", lemma}, QStringLiteral("deus")));
}

void ToolWindowsTest::translationsWithoutItsFrenchTextSaysWhyOnceAndOpensNothing()
{
    SearchWindow* s = searchWith(QStringLiteral("deus"));
    QVERIFY(QFile::remove(d->frenchPath));
    trigger(s, "traductions");
    QVERIFY(d->doubles.messages.expectNextNaming(QFileInfo(d->frenchPath).fileName()));
    QVERIFY(d->doubles.messages.noneLeft());
    QVERIFY(!s->findChild<QWidget*>(QStringLiteral("frmTraductions")));
}

void ToolWindowsTest::eachToolTableStartsFocusedOnItsFirstRow_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("view");
    QTest::newRow("kwic") << "kwic" << "frmKwic" << "lignes";
    QTest::newRow("cooccurrents") << "cooccurrents" << "frmCooccurrents" << "tableau";
    QTest::newRow("dispersion") << "dispersion" << "frmDispersion" << "tableau";
    QTest::newRow("traductions") << "traductions" << "frmTraductions" << "tableau";
}

void ToolWindowsTest::eachToolTableStartsFocusedOnItsFirstRow()
{
    QFETCH(QString, item);
    QFETCH(QString, window);
    QFETCH(QString, view);
    searchWith(QStringLiteral("deus"));
    QWidget* tool = openTool(qPrintable(item), qPrintable(window));
    auto* table = child<QAbstractItemView>(tool, qPrintable(view));
    QTRY_COMPARE(QApplication::focusWidget(), table);
    QCOMPARE(table->currentIndex(), table->model()->index(0, 0));
    // And again after the list changes.
    QTest::keyClick(table, Qt::Key_End);
    d->search(QStringLiteral("homo"));
    QCOMPARE(table->currentIndex(), table->model()->index(0, 0));
}

void ToolWindowsTest::translationsDoubleClickKeepsThePassagesWithThatEquivalentUntilRemoved()
{
    searchWith(QStringLiteral("deus"));
    QWidget* tool = openTool("traductions", "frmTraductions");
    auto* table = child<QTableView>(tool, "tableau");
    QVERIFY(!child<QPushButton>(tool, "retirer_filtre")->isEnabled());
    const QString lemma = table->model()->index(0, 0).data().toString();

    auto filtered = [&](const char* query) {
        return cliListRows(d->latinPath, d->frenchPath, {"--french-lemma", lemma}, QString::fromLatin1(query));
    };

    doubleClickRow(table, 0);
    QCOMPARE(d->rows(), filtered("deus"));
    QVERIFY(d->rows().size() < 3);
    QVERIFY(child<QLabel>(tool, "filtre")->text().contains(lemma));
    QVERIFY(child<QPushButton>(tool, "retirer_filtre")->isEnabled());
    // It holds for the next search.
    d->search(QStringLiteral("homo"));
    QCOMPARE(d->rows(), filtered("homo"));

    click(tool, "retirer_filtre");
    QCOMPARE(d->rows(), QStringList({"homo|[4]", "homo|[5]", "homo|[6]"}));
    QVERIFY(!child<QPushButton>(tool, "retirer_filtre")->isEnabled());
}

void ToolWindowsTest::dispersionOfAFrequentFormIsDrawnWhole()
{
    // 20,000 ticks in one band: the picture reader drops what a path holds past its cap, and
    // says so on standard error.
    QByteArray latin = "[1] ";
    for (int i = 0; i < 20000; ++i)
        latin += "et deus ";
    d->useTexts(latin);
    d->search(QStringLiteral("et"));
    QTest::failOnWarning(QRegularExpression(QStringLiteral("path")));
    auto* tool = qobject_cast<DispersionWindow*>(openTool("dispersion", "frmDispersion"));
    QVERIFY(tool);
    QCOMPARE(QString::fromStdString(tool->picture()), expectedContent(QStringLiteral("dispersion")).value(0));
    auto* view = tool->findChild<QSvgWidget*>();
    QVERIFY(view && view->renderer()->isValid());
    QImage image(200, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    view->renderer()->render(&painter);
}

void ToolWindowsTest::dispersionSaveWritesThePictureOrSaysWhyNot_data()
{
    QTest::addColumn<QString>("answer");  // the name given to the dialog; "" cancels
    QTest::addColumn<QString>("message");  // a part of the box expected; "" none
    QTest::addColumn<bool>("written");
    QTest::newRow("new file") << "image.svg" << "L'image est enregistrée." << true;
    QTest::newRow("cancelled dialog") << "" << "" << false;
    QTest::newRow("folder as file") << "dossier" << "dossier" << false;
    QTest::newRow("the latin text") << "latin.txt" << "latin.txt" << false;
    QTest::newRow("missing folder") << "absent/image.svg" << "image.svg" << false;
}

void ToolWindowsTest::dispersionSaveWritesThePictureOrSaysWhyNot()
{
    QFETCH(QString, answer);
    QFETCH(QString, message);
    QFETCH(bool, written);
    searchWith(QStringLiteral("deus"));
    QVERIFY(QDir(d->dir.path()).mkdir(QStringLiteral("dossier")));
    auto* tool = qobject_cast<DispersionWindow*>(openTool("dispersion", "frmDispersion"));
    QVERIFY(tool);
    const QString path = answer.isEmpty() ? QString() : d->dir.filePath(answer);
    d->doubles.dialogs.queueAnswer(path);
    click(tool, "enregistrer_image");
    QCOMPARE(d->doubles.dialogs.calls.size(), 1);
    QCOMPARE(d->doubles.dialogs.calls[0].kind, DialogCall::Save);
    if (!message.isEmpty())
        QVERIFY(d->doubles.messages.expectNextNaming(message));
    if (written)
        QCOMPARE(readTestFile(path), QByteArray::fromStdString(tool->picture()));
    else if (!path.isEmpty() && !QFileInfo(path).isDir() && answer != QLatin1String("latin.txt"))
        QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(readTestFile(d->latinPath), kLatin);  // the text is never written over
}

void ToolWindowsTest::lackOfMemoryOrACancelKeepsTheWindowAsItWas()
{
    // Enough words for the KWIC lines of "a" to need more than the limit below.
    QByteArray latin = "[1] nihil ";
    for (int i = 0; i < 200000; ++i)
        latin += "a ";
    d->useTexts(latin, kFrench);
    SearchWindow* s = d->search(QStringLiteral("nihil"));
    QWidget* tool = openTool("kwic", "frmKwic");
    auto* lines = child<QAbstractItemView>(tool, "lignes");
    const QStringList before = shownRows(lines);
    QCOMPARE(before.size(), 1);

#ifndef __SANITIZE_ADDRESS__
    // The list fits, its lines do not: the user is told, the window keeps the lines it had.
    g_allocationLimit = 8 << 20;
    d->search(QStringLiteral("a"));
    g_allocationLimit = 0;
    QCOMPARE(d->session.rowCount(), std::size_t(200001));
    QVERIFY(d->doubles.messages.expectNext(okBox(
        QStringLiteral("Mémoire insuffisante pour le calcul des lignes KWIC : la fenêtre garde son contenu précédent."),
        MessageIcon::Warning)));
    QCOMPARE(shownRows(lines), before);
#endif

    // Stopped by the user: nothing said, the lines kept; the indicator waits half a second.
    d->search(QStringLiteral("nihil"));
    d->doubles.progress.cancelAt = 1;
    d->search(QStringLiteral("a"));
    QCOMPARE(shownRows(lines), before);
    QCOMPARE(d->doubles.progress.showAfter, 500);
    QCOMPARE(d->doubles.progress.label, QStringLiteral("Calcul des lignes KWIC"));
    QVERIFY(!d->doubles.progress.open);
    d->doubles.progress.cancelAt = 0;
    click(s, "Command2");
    QCOMPARE(lines->model()->rowCount(), 200000);
}

void ToolWindowsTest::lackOfMemoryAsAToolOpensIsToldOverTheSearchWindow_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("work");
    QTest::newRow("kwic") << "kwic" << "frmKwic" << "des lignes KWIC";
    QTest::newRow("traductions") << "traductions" << "frmTraductions" << "des traductions";
}

void ToolWindowsTest::lackOfMemoryAsAToolOpensIsToldOverTheSearchWindow()
{
#ifdef __SANITIZE_ADDRESS__
    QSKIP("ASan serves the allocations itself: the limit cannot bite");
#else
    QFETCH(QString, item);
    QFETCH(QString, window);
    QFETCH(QString, work);
    // A list that fits, and a tool's work over it that does not.
    QByteArray latin = "[1] ", french = "[1] ";
    for (int i = 0; i < 200000; ++i) {
        latin += "a ";
        french += "un ";
    }
    d->useTexts(latin, french);
    SearchWindow* s = d->search(QStringLiteral("a"));
    QCOMPARE(d->session.rowCount(), std::size_t(200001));
    QCOMPARE(d->session.useFrenchText(), SessionFailure::None);  // read before: its own message
    d->doubles.messages.forget();
    g_allocationLimit = 256 << 10;
    trigger(s, qPrintable(item));
    g_allocationLimit = 0;
    // The message stands over the window the user works in and speaks of no window's content:
    // none was opened.
    QCOMPARE(d->doubles.messages.shown().size(), 1);
    QCOMPARE(d->doubles.messages.shown().first().parent, static_cast<QWidget*>(s));
    QVERIFY(d->doubles.messages.expectNext(
        okBox(QStringLiteral("Mémoire insuffisante pour le calcul %1.").arg(work), MessageIcon::Warning)));
    QVERIFY(!s->findChild<QWidget*>(window));
    // With the memory back, it opens.
    QVERIFY(openTool(qPrintable(item), qPrintable(window)));
#endif
}

void ToolWindowsTest::translationsShowTheAlignmentsProgressAndACancelOpensNothing()
{
    // A French text no run has aligned yet (the cache folder outlives the tests), so that the
    // training runs here.
    const QByteArray french = kFrench + "[7] " + QUuid::createUuid().toByteArray(QUuid::Id128) + "\r\n";
    d->useTexts(kLatin, french);
    SearchWindow* s = d->search(QStringLiteral("deus"));

    // Stopped during the training: nothing said, nothing opened, nothing learnt.
    d->doubles.progress.cancelAt = 1;
    trigger(s, "traductions");
    QVERIFY(!s->findChild<QWidget*>(QStringLiteral("frmTraductions")));
    QVERIFY(d->doubles.messages.noneLeft());
    QCOMPARE(d->doubles.progress.label, QStringLiteral("Calcul des traductions"));
    QCOMPARE(d->doubles.progress.lastParent, static_cast<QWidget*>(s));  // the window is not shown yet
    QVERIFY(d->doubles.progress.last >= 1 && d->doubles.progress.last < d->doubles.progress.total);
    QVERIFY(!d->doubles.progress.open);

    // Asked again, it trains again (nothing was kept): its steps move forward to the end, and
    // the table is the command line's.
    d->doubles.progress.cancelAt = 0;
    std::vector<std::uint64_t> seen;
    d->doubles.progress.onAdvance = [&] { seen.push_back(d->doubles.progress.last); };
    QWidget* tool = openTool("traductions", "frmTraductions");
    d->doubles.progress.onAdvance = nullptr;
    QVERIFY(seen.size() > 3);
    QVERIFY(std::is_sorted(seen.begin(), seen.end()));
    QCOMPARE(seen.back(), d->doubles.progress.total);
    QCOMPARE(shownContent(tool), expectedContent(QStringLiteral("traductions")));
}

void ToolWindowsTest::viewerMarksTheWordsAlignedToTheRowOnlyWhenAsked()
{
    // A French text no run has aligned yet, so that the first marking trains here.
    d->useTexts(kLatin, kFrench + "[7] " + QUuid::createUuid().toByteArray(QUuid::Id128) + "\r\n");
    SearchWindow* s = d->search(QStringLiteral("deus"));
    ContextViewer* viewer = d->openRow(1);
    QVERIFY(viewer);
    auto* french = child<QTextEdit>(viewer, "label4");
    auto* latin = child<QTextEdit>(viewer, "label3");
    // The characters of a pane drawn in a colour, as "word@position".
    auto inColour = [](QTextEdit* pane, const QColor& colour) {
        QStringList found;
        QTextCursor c(pane->document());
        QString word;
        int start = -1;
        const QString text = pane->toPlainText();
        for (int i = 0; i <= text.size(); ++i) {
            bool on = false;
            if (i < text.size()) {
                c.setPosition(i + 1);
                on = c.charFormat().foreground().color() == colour && c.charFormat().fontWeight() == QFont::Bold;
            }
            if (on && start < 0)
                start = i;
            if (!on && start >= 0) {
                found << text.mid(start, i - start) + QLatin1Char('@') + QString::number(start);
                start = -1;
            }
        }
        return found;
    };
    const QStringList latinMarks = inColour(latin, QColor(0, 0, 255));
    QCOMPARE(latinMarks, QStringList{"deus@4"});
    QVERIFY(inColour(french, look::translationMark).isEmpty());

    // The training stopped by the user (before the command line below learns the pair and
    // keeps it in the cache folder): the pane stays unmarked, nothing is said.
    d->doubles.progress.cancelAt = 1;
    trigger(s, "marquer_traductions");
    QVERIFY(d->session.choices().markTranslations);
    QVERIFY(inColour(french, look::translationMark).isEmpty());
    QCOMPARE(d->doubles.progress.label, QStringLiteral("Calcul des traductions"));
    QVERIFY(d->doubles.progress.last >= 1);
    QVERIFY(!d->doubles.progress.open);
    QVERIFY(d->doubles.messages.noneLeft());
    d->doubles.progress.cancelAt = 0;
    trigger(s, "marquer_traductions");

    // The words the command line's --equivalents column gives the row, in text order.
    const QStringList rendered = cliOutput(d->latinPath, d->frenchPath,
                                           {QStringLiteral("--equivalents"), QStringLiteral("--list")},
                                           QStringLiteral("deus"))
                                     .lines();
    QCOMPARE(rendered.size(), 3);
    auto expected = [&](int row) {
        const QString pane = french->toPlainText();
        QStringList words;
        for (const QString& word : rendered[row].section(QLatin1Char('\t'), 2).split(QStringLiteral(", ")))
            words << word + QLatin1Char('@') + QString::number(pane.indexOf(word, 4));
        words.sort();
        return words;
    };
    auto shown = [&] {
        QStringList words = inColour(french, look::translationMark);
        words.sort();
        return words;
    };

    trigger(s, "marquer_traductions");
    QVERIFY(d->session.choices().markTranslations);
    QCOMPARE(shown(), expected(0));
    QVERIFY(shown().contains(QStringLiteral("Dieu@4")));
    QCOMPARE(inColour(latin, QColor(0, 0, 255)), latinMarks);
    // The next display marks its own row's words.
    click(viewer, "Command1");
    QCOMPARE(french->toPlainText(), QStringLiteral("[2] Dieu voit la terre\n"));
    QCOMPARE(shown(), expected(1));
    QVERIFY2(!shown().contains(QStringLiteral("terre@14")), qPrintable(shown().join(' ')));

    trigger(s, "marquer_traductions");
    QVERIFY(inColour(french, look::translationMark).isEmpty());
    click(viewer, "Command1");
    QVERIFY(inColour(french, look::translationMark).isEmpty());
}

void ToolWindowsTest::viewerBringsTheRenderingIntoSightInALongPassage()
{
    // A chapter under one marker: the name's rendering stands on its last line.
    QByteArray latin = "[1] ", french = "[1] ";
    for (int k = 0; k < 80; ++k) {
        latin += "Puer canem videt.\r\n";
        french += "Le garçon voit le chien.\r\n";
    }
    latin += "Marcus puerum vocat.\r\n";
    french += "Marc appelle le garçon.\r\n";
    d->useTexts(latin, french);
    SearchWindow* s = d->search(QStringLiteral("Marcus"));
    ContextViewer* viewer = d->openRow(1);
    QVERIFY(viewer);
    auto* pane = child<QTextEdit>(viewer, "label4");
    QCOMPARE(pane->verticalScrollBar()->value(), 0);
    QCOMPARE(cliOutput(d->latinPath, d->frenchPath, {QStringLiteral("--equivalents"), QStringLiteral("--list")},
                       QStringLiteral("Marcus"))
                 .lines()
                 .value(0)
                 .section(QLatin1Char('\t'), 2),
             QStringLiteral("Marc"));

    trigger(s, "marquer_traductions");
    const int marc = pane->toPlainText().indexOf(QStringLiteral("Marc"));
    QVERIFY(marc > 0);
    QCOMPARE(pane->textCursor().position(), marc);
    QVERIFY(!pane->textCursor().hasSelection());
    QTRY_VERIFY(pane->verticalScrollBar()->value() > 0);
    // Unmarked, the pane starts at its top again.
    trigger(s, "marquer_traductions");
    QCOMPARE(pane->textCursor().position(), 0);
}

QTEST_MAIN(ToolWindowsTest)
#include "ToolWindowsTest.moc"
