// The search window driven through the platform doubles: its load, the search with its
// labels, the two sort buttons, the grid's click, and its life between two openings.

#include "support/AllocationLimit.h"
#include "support/WindowDriver.h"

#include <QApplication>

#include <atomic>
#include <cstdlib>
#include <new>
#include <QLabel>
#include <QPointer>
#include <QTextEdit>

using namespace quorvex;

namespace {

// Words and references: Amor "", then [2]: amor clamor am amicus, then [10]: amor amator
// ama été (the last word runs to the end of the text).
const QByteArray kLatin = cp1252("Amor [2] amor clamor am amicus, [10] amor amator ama été");

} // namespace

class SearchWindowTest : public WindowTest {
    Q_OBJECT

private slots:
    void loadShowsAnEmptyGrid();
    void search_data();
    void search();
    void formesThenReferences();
    void formesOnAnEmptyGridChangesNothing();
    void gridClickOpensTheViewer();
    void returnOrSpaceOnAGridRowOpensTheViewerAsAClick_data();
    void returnOrSpaceOnAGridRowOpensTheViewerAsAClick();
    void everyWriterOfTheCurrentColumnSetsTheSortKeys_data();
    void everyWriterOfTheCurrentColumnSetsTheSortKeys();
    void runningShortOfMemoryKeepsTheWindowUsable();
    void latinTextIsReadOnlyAtLoad();
    void fermerUnloadsAndTheNextOpeningReadsAgain();

private:
    SearchWindow* open(const QByteArray& latin = kLatin)
    {
        d->useTexts(latin);
        trigger(d->windows.textWindow(), "concordance");
        return s = d->windows.searchWindowIfLoaded();
    }
    QString label4() const { return child<QLabel>(s, "label4")->text(); }
    bool searched() const { return child<QLabel>(s, "label3")->isVisible(); }

    QPointer<SearchWindow> s;
};

void SearchWindowTest::loadShowsAnEmptyGrid()
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QVERIFY(open());
    QVERIFY(s->isVisible() && !searched());
    QCOMPARE(label4(), QString());
    QCOMPARE(d->rows(), QStringList{"|"});  // the header and one empty row
    // The load moment, kept for the save: now, to the second.
    const QDateTime moment = d->session.loadMoment();
    QVERIFY(moment >= before && moment <= QDateTime::currentDateTime());
    QCOMPARE(moment.time().msec(), 0);

    // Tab follows the layout; Enter in the query box does not search.
    QApplication::setActiveWindow(s);
    QVERIFY(QTest::qWaitForWindowActive(s));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(child(s, "Text1")));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("amor"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!searched());
    for (const char* next : {"Command1", "grille01", "Command3", "Command2"}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
    }
}

void SearchWindowTest::search_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("case ignored, forms as written")
        << "AMOR" << QStringList{"Amor|", "amor|[2]", "amor|[10]"};
    QTest::newRow("beginning")
        << "am*" << QStringList{"Amor|", "amor|[2]", "am|[2]", "amicus|[2]", "amor|[10]", "amator|[10]", "ama|[10]"};
    QTest::newRow("every word")
        << "*" << QStringList{"Amor|", "amor|[2]", "clamor|[2]", "am|[2]", "amicus|[2]", "amor|[10]",
                              "amator|[10]", "ama|[10]", "été|[10]"};
    QTest::newRow("accented capitals") << "ÉTÉ" << QStringList{"été|[10]"};
    QTest::newRow("nothing found") << "nihil" << QStringList{};
    QTest::newRow("empty query") << "" << QStringList{};
    QTest::newRow("character outside the code page") << "amorŁ" << QStringList{};
    QTest::newRow("star then outside the code page") << "*Ł" << QStringList{};
}

void SearchWindowTest::search()
{
    QFETCH(QString, query);
    QFETCH(QStringList, expected);
    QVERIFY(open());
    d->search(QStringLiteral("*"));  // a longer result first: the second search replaces it
    d->search(query);
    QCOMPARE(d->rows(), expected);
    QVERIFY(searched());
    QCOMPARE(label4(), query + QStringLiteral(" = ") + QString::number(expected.size()));
    // The current cell: column 1 of the last row, or the header of column 0.
    QCOMPARE(d->session.currentRow(), std::size_t(expected.size()));
    QCOMPARE(d->session.currentColumn(), expected.isEmpty() ? 0 : 1);
}

void SearchWindowTest::formesThenReferences()
{
    QVERIFY(open());
    d->search(QStringLiteral("am*"));
    const QStringList textOrder = d->rows();
    click(s, "Command2");
    // By form, letter case ignored, then by reference as text: [10] before [2].
    QCOMPARE(d->rows(), (QStringList{"am|[2]", "ama|[10]", "amator|[10]", "amicus|[2]", "Amor|",
                                     "amor|[10]", "amor|[2]"}));
    click(s, "Command3");
    QCOMPARE(d->rows(), textOrder);
    QCOMPARE(label4(), QStringLiteral("am* = 7"));

    // With the current column on the form (as the viewer leaves it), the form is the only
    // key and equal forms keep their text order.
    d->session.setCurrentCell(d->session.currentRow(), 0);
    click(s, "Command2");
    QCOMPARE(d->rows(), (QStringList{"am|[2]", "ama|[10]", "amator|[10]", "amicus|[2]", "Amor|",
                                     "amor|[2]", "amor|[10]"}));
    // "Références" searches again for what the box holds now.
    child<QLineEdit>(s, "Text1")->setText(QStringLiteral("ama"));
    click(s, "Command3");
    QCOMPARE(d->rows(), QStringList{"ama|[10]"});
    QCOMPARE(label4(), QStringLiteral("ama = 1"));
    // Every command ran under the busy pointer of the search window, off again afterwards.
    QCOMPARE(d->doubles.busy.timesOn(s), 5);
}

void SearchWindowTest::formesOnAnEmptyGridChangesNothing()
{
    QVERIFY(open());
    click(s, "Command2");  // before any search: the header and one empty row
    QCOMPARE(d->rows(), QStringList{"|"});
    d->search(QStringLiteral("nihil"));
    click(s, "Command2");
    QCOMPARE(d->rows(), QStringList{});
    QCOMPARE(s->resultGrid()->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Forme(s)"));
}

void SearchWindowTest::gridClickOpensTheViewer()
{
    QVERIFY(open("[1] amor est [2] amor erat\r\n"));
    d->search(QStringLiteral("amor"));
    const QStringList before = d->rows();
    ResultGrid* grid = s->resultGrid();
    d->doubles.busy.switches.clear();
    const QRect cell = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(d->session.selectionEndRow(), std::size_t(2));
    QPointer<ContextViewer> viewer = d->windows.contextViewerIfLoaded();
    QVERIFY(viewer && viewer->isVisible());
    QCOMPARE(d->rows(), before);
    QCOMPARE(d->doubles.busy.switches.first().window, static_cast<QWidget*>(s));
    // A second click only brings it forward.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(d->windows.contextViewerIfLoaded(), viewer.data());
}

void SearchWindowTest::returnOrSpaceOnAGridRowOpensTheViewerAsAClick_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("opens");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
    QTest::newRow("Enter of the keypad") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << true;
    QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier) << true;
    QTest::newRow("Ctrl+Space selects, opens nothing") << int(Qt::Key_Space) << int(Qt::ControlModifier) << false;
    QTest::newRow("a letter opens nothing") << int(Qt::Key_A) << int(Qt::NoModifier) << false;
}

void SearchWindowTest::returnOrSpaceOnAGridRowOpensTheViewerAsAClick()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, opens);
    QVERIFY(open("[1] amor est [2] amor erat [3] amor fuit\r\n"));
    d->search(QStringLiteral("amor"));
    ResultGrid* grid = s->resultGrid();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);  // a row moved to, not opened
    QVERIFY(!d->windows.contextViewerIfLoaded());
    const std::size_t row = d->session.currentRow();
    QVERIFY(row >= 2 && row <= 3);
    QTest::keyClick(grid, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QPointer<ContextViewer> viewer = d->windows.contextViewerIfLoaded();
    QCOMPARE(bool(viewer), opens);
    if (!opens)
        return;
    QVERIFY(viewer->isVisible());
    QCOMPARE(d->session.selectionEndRow(), row);
    QCOMPARE(d->session.viewer().row, row);
    QCOMPARE(child<QLabel>(viewer, "Label6")->text(), QStringLiteral("amor"));
    // The click on the same row shows the same.
    const QString shownByKey = child<QTextEdit>(viewer, "label3")->toPlainText();
    QVERIFY2(shownByKey.startsWith(d->rows().at(int(row) - 1).section(QLatin1Char('|'), 1)), qPrintable(shownByKey));
    viewer->close();
    d->openRow(row);
    QVERIFY(d->windows.contextViewerIfLoaded());
    QCOMPARE(child<QTextEdit>(d->windows.contextViewerIfLoaded(), "label3")->toPlainText(), shownByKey);
}

void SearchWindowTest::everyWriterOfTheCurrentColumnSetsTheSortKeys_data()
{
    // What the user does after searching "amor" in "[2] amor [1] amor"; "Formes" then keys on
    // the form alone (column 0: text order kept) or on the form and the reference (column 1).
    QTest::addColumn<QString>("steps");
    QTest::addColumn<int>("column");
    const QStringList byForm{"amor|[2]", "amor|[1]"};
    const QStringList byFormAndReference{"amor|[1]", "amor|[2]"};
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("a search that found rows") << "" << 1 << byFormAndReference;
    QTest::newRow("a search that found none") << "nothing" << 0 << QStringList{};
    QTest::newRow("the viewer taking a row") << "open from reference" << 0 << byForm;
    QTest::newRow("an attestation step") << "open from reference, right, next" << 0 << byForm;
    QTest::newRow("a save") << "open from reference, save" << 1 << byFormAndReference;
    QTest::newRow("a print") << "open from reference, print" << 1 << byFormAndReference;
    // With the viewer open a click only brings it forward: the cell clicked stays current.
    QTest::newRow("a click on a form") << "open from reference, right, click form" << 0 << byForm;
    QTest::newRow("a click on a reference") << "open from reference, click reference" << 1
                                            << byFormAndReference;
    QTest::newRow("an arrow key") << "left" << 0 << byForm;
}

void SearchWindowTest::everyWriterOfTheCurrentColumnSetsTheSortKeys()
{
    QFETCH(QString, steps);
    QFETCH(int, column);
    QFETCH(QStringList, sorted);
    QVERIFY(open("[2] amor [1] amor"));
    d->search(QStringLiteral("amor"));
    ResultGrid* grid = s->resultGrid();
    const auto clickCell = [grid](int row, int col) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row - 1, col)).center());
    };
    for (const QString& step : steps.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("nothing")) {
            d->search(QStringLiteral("nihil"));
        } else if (step == QLatin1String("open from reference")) {
            clickCell(1, 1);
            QVERIFY(d->windows.contextViewerIfLoaded());
        } else if (step == QLatin1String("next")) {
            click(d->windows.contextViewerIfLoaded(), "Command1");
        } else if (step == QLatin1String("right") || step == QLatin1String("left")) {
            grid->setFocus();
            QTest::keyClick(grid, step == QLatin1String("right") ? Qt::Key_Right : Qt::Key_Left);
        } else if (step == QLatin1String("click form")) {
            clickCell(1, 0);
        } else if (step == QLatin1String("click reference")) {
            clickCell(2, 1);
        } else if (step == QLatin1String("save")) {
            d->doubles.dialogs.queueAnswer(d->dir.filePath(QStringLiteral("resultat.txt")));
            trigger(s, "enregistrer");
            QVERIFY(d->doubles.messages.expectNext(okBox(QStringLiteral("L'enregistrement est terminé."))));
        } else if (step == QLatin1String("print")) {
            trigger(s, "imprimer");
        } else {
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        }
    }
    QCOMPARE(d->session.currentColumn(), column);
    click(s, "Command2");
    QCOMPARE(d->rows(), sorted);
}

void SearchWindowTest::runningShortOfMemoryKeepsTheWindowUsable()
{
    // 1.5 million words in a text of 3 MB: their list takes 6 MB, their table more; no
    // allocation above 4 MB is allowed while a command runs short.
    QByteArray latin = "[1] nihil ";
    for (int i = 0; i < 1500000; ++i)
        latin += "a ";
    d->useTexts(latin);

    // Loading: the word table does not fit; the window is not opened, the user told why.
    g_allocationLimit = 4 << 20;
    trigger(d->windows.textWindow(), "concordance");
    g_allocationLimit = 0;
    QVERIFY(!d->windows.searchWindowIfLoaded());
    Message loadFailed = okBox(QStringLiteral("Mémoire insuffisante pour charger le texte « %1 ».").arg(d->latinPath),
                               MessageIcon::Warning);
    QVERIFY(d->doubles.messages.expectNext(loadFailed));

    QVERIFY(open(latin));
    d->search(QStringLiteral("nihil"));
    // Searching: the list does not fit; the previous list and count stay, nothing is left busy.
    g_allocationLimit = 4 << 20;
    d->search(QStringLiteral("a"));
    g_allocationLimit = 0;
    QVERIFY(d->doubles.messages.expectNext(okBox(
        QStringLiteral("Mémoire insuffisante pour la recherche de « a » : la liste précédente est conservée."),
        MessageIcon::Warning)));
    QCOMPARE(d->rows(), QStringList{"nihil|[1]"});
    QCOMPARE(label4(), QStringLiteral("nihil = 1"));
#ifndef __SANITIZE_ADDRESS__
    // The list fits but the grid could not show its rows: refused the same way, before the
    // grid is touched. Under ASan the list's allocations are sized otherwise, so the 16 MB
    // limit falls on another step; the plain build checks this one.
    g_allocationLimit = 16 << 20;
    d->search(QStringLiteral("a"));
    g_allocationLimit = 0;
    QVERIFY(d->doubles.messages.expectNext(okBox(
        QStringLiteral("Mémoire insuffisante pour la recherche de « a » : la liste précédente est conservée."),
        MessageIcon::Warning)));
    QCOMPARE(d->rows(), QStringList{"nihil|[1]"});
#endif
    // The window goes on: the same search with the memory back.
    d->search(QStringLiteral("a"));
    QCOMPARE(label4(), QStringLiteral("a = 1500000"));
#ifndef __SANITIZE_ADDRESS__
    // "Formes" without room for the grid: the order stays, the user is told.
    const std::size_t lastWord = d->session.results().back().first;
    g_allocationLimit = 16 << 20;
    click(s, "Command2");
    g_allocationLimit = 0;
    QVERIFY(d->doubles.messages.expectNext(okBox(
        QStringLiteral("Mémoire insuffisante pour trier la liste : son ordre est conservé."), MessageIcon::Warning)));
    QCOMPARE(std::size_t(d->session.results().back().first), lastWord);
#endif
    click(s, "Command2");
    QCOMPARE(d->session.rowCount(), std::size_t(1500001));
}

void SearchWindowTest::latinTextIsReadOnlyAtLoad()
{
    QVERIFY(open());
    // Another Latin file named now, and the old one changed: the table stays as loaded.
    d->setBox("Text_latin", d->write(QStringLiteral("autre.txt"), "amor amor amor amor"));
    d->write(QStringLiteral("latin.txt"), "nihil");
    d->search(QStringLiteral("amor"));
    QCOMPARE(d->rows().size(), 3);
}

void SearchWindowTest::fermerUnloadsAndTheNextOpeningReadsAgain()
{
    QVERIFY(open());
    d->search(QStringLiteral("amor"));
    QPointer<SearchWindow> first = s;
    trigger(s, "quitter");
    QTRY_VERIFY(first.isNull());
    QVERIFY(!d->windows.searchWindowIfLoaded());

    QVERIFY(open("amor [1] amor"));
    // A fresh window: no search yet, the new text.
    QVERIFY(!searched());
    QCOMPARE(child<QLineEdit>(s, "Text1")->text(), QString());
    d->search(QStringLiteral("amor"));
    QCOMPARE(d->rows(), (QStringList{"amor|", "amor|[1]"}));
}

QTEST_MAIN(SearchWindowTest)
#include "SearchWindowTest.moc"
