// The search window driven through the platform doubles: its load, the search with its
// labels, the two sort buttons, the grid's click, and its life between two openings.

#include "concordance/Frmcontexte.h"
#include "platform/FlexGrid.h"
#include "platform/TextCodec.h"
#include "shell/Forms.h"
#include "shell/frmtexte.h"
#include "support/TestFiles.h"
#include "support/TestPlatform.h"
#include "viewer/frmaff_contexte.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace quorvex;

namespace {

// Words and references: Amor "", then [2]: amor clamor am amicus, then [10]: amor amator
// ama été (the last word runs to the end of the text).
const char* const kLatin = "Amor [2] amor clamor am amicus, [10] amor amator ama été";

} // namespace

class SearchWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void loadShowsAnEmptyGrid();
    void tabOrderFollowsTheLayout();
    void search_data();
    void search();
    void enterInText1DoesNotSearch();
    void twoSearchesInARow();
    void formesThenReferences();
    void referencesAfterEditingText1();
    void formesOnAnEmptyGridChangesNothing();
    void everyCommandShowsTheBusyPointer();
    void gridClickOpensTheViewer();
    void latinTextIsReadOnlyAtLoad();
    void fermerUnloadsAndTheNextOpeningReadsAgain();

private:
    Frmcontexte* openSearch(const QByteArray& latin);
    void searchFor(const QString& query);
    QStringList rows() const;
    template <typename T>
    T* child(const char* name) const
    {
        return m_search ? m_search->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    }

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<Forms> m_forms;
    std::unique_ptr<QTemporaryDir> m_dir;
    QPointer<frmtexte> m_texte;
    QPointer<Frmcontexte> m_search;
    QString m_latinPath;
};

void SearchWindowTest::init()
{
    m_platform = std::make_unique<TestPlatform>();
    m_forms = std::make_unique<Forms>(m_platform->platform());
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_texte = m_forms->texte();
    Forms::present(m_texte);
}

void SearchWindowTest::cleanup()
{
    QVERIFY(m_platform->messages.noneLeft());
    QCOMPARE(m_platform->busy.unmatchedOffs(), 0);
    QVERIFY(!m_platform->busy.anyBusy());
    m_forms.reset();
    m_platform.reset();
    m_dir.reset();
}

Frmcontexte* SearchWindowTest::openSearch(const QByteArray& latin)
{
    m_latinPath = writeTestFile(*m_dir, QStringLiteral("latin.txt"), latin);
    m_texte->findChild<QLineEdit*>("Text_latin")->setText(m_latinPath);
    m_texte->findChild<QAction*>("concordance")->trigger();
    m_search = m_forms->contexteIfLoaded();
    return m_search;
}

void SearchWindowTest::searchFor(const QString& query)
{
    auto* text1 = child<QLineEdit>("Text1");
    text1->clear();
    // Qt Test types Latin-1 only; other characters are pasted, as a user might.
    bool latin1 = true;
    for (QChar c : query)
        latin1 = latin1 && c.unicode() < 0x100;
    if (latin1)
        QTest::keyClicks(text1, query);
    else
        text1->insert(query);
    QTest::mouseClick(child<QPushButton>("Command1"), Qt::LeftButton);
}

// "form|reference" for every row under the header, as the grid holds them.
QStringList SearchWindowTest::rows() const
{
    QStringList out;
    const GridModel& cells = m_search->grille01()->cells();
    for (std::size_t r = 1; r < cells.rows(); ++r)
        out << fromCp1252(cells.cell(r, 0)) + QLatin1Char('|') + fromCp1252(cells.cell(r, 1));
    return out;
}

void SearchWindowTest::loadShowsAnEmptyGrid()
{
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    QVERIFY(openSearch(cp1252(kLatin)));
    QVERIFY(m_search->isVisible());
    QVERIFY(child<QLabel>("label3")->isHidden());
    QCOMPARE(child<QLabel>("label4")->text(), QString());
    QCOMPARE(child<QLineEdit>("Text1")->text(), QString());

    FlexGrid* grid = m_search->grille01();
    QCOMPARE(grid->Rows(), std::size_t(2));
    QCOMPARE(fromCp1252(grid->cells().cell(0, 0)), QStringLiteral("Forme(s)"));
    QCOMPARE(fromCp1252(grid->cells().cell(0, 1)), QStringLiteral("Références"));
    QVERIFY(grid->cells().isCentred(0, 0) && grid->cells().isCentred(0, 1));
    QCOMPARE(m_search->wordTable().size(), std::size_t(9));

    // The load moment: now, to the second.
    const QDateTime moment = m_search->loadMoment();
    QVERIFY(moment >= before && moment <= QDateTime::currentDateTime());
    QCOMPARE(moment.time().msec(), 0);
}

void SearchWindowTest::tabOrderFollowsTheLayout()
{
    QVERIFY(openSearch(cp1252(kLatin)));
    QApplication::setActiveWindow(m_search);
    QVERIFY(QTest::qWaitForWindowActive(m_search));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(child<QLineEdit>("Text1")));
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
        << "amor" << QStringList{"Amor|", "amor|[2]", "amor|[10]"};
    QTest::newRow("upper-case query") << "AMOR" << QStringList{"Amor|", "amor|[2]", "amor|[10]"};
    QTest::newRow("beginning")
        << "am*"
        << QStringList{"Amor|", "amor|[2]", "am|[2]", "amicus|[2]", "amor|[10]", "amator|[10]",
                       "ama|[10]"};
    QTest::newRow("end")
        << "*or"
        << QStringList{"Amor|", "amor|[2]", "clamor|[2]", "amor|[10]", "amator|[10]"};
    QTest::newRow("beginning and end")
        << "am*or" << QStringList{"Amor|", "amor|[2]", "amor|[10]", "amator|[10]"};
    QTest::newRow("overlapping parts") << "ama*ama" << QStringList{"ama|[10]"};
    QTest::newRow("every word")
        << "*"
        << QStringList{"Amor|", "amor|[2]", "clamor|[2]", "am|[2]", "amicus|[2]", "amor|[10]",
                       "amator|[10]", "ama|[10]", "été|[10]"};
    QTest::newRow("accented capitals") << "ÉTÉ" << QStringList{"été|[10]"};
    QTest::newRow("second star") << "a*m*r" << QStringList{};
    QTest::newRow("trailing blank") << "amor " << QStringList{};
    QTest::newRow("empty query") << "" << QStringList{};
    QTest::newRow("character outside the code page") << "amorŁ" << QStringList{};
    QTest::newRow("star then outside the code page") << "*Ł" << QStringList{};
}

void SearchWindowTest::search()
{
    QFETCH(QString, query);
    QFETCH(QStringList, expected);
    QVERIFY(openSearch(cp1252(kLatin)));
    searchFor(query);
    QCOMPARE(rows(), expected);
    QVERIFY(child<QLabel>("label3")->isVisible());
    QVERIFY(child<QLabel>("label4")->isVisible());
    QCOMPARE(child<QLabel>("label4")->text(),
             query + QStringLiteral(" = ") + QString::number(expected.size()));
    const FlexGrid* grid = m_search->grille01();
    QCOMPARE(grid->Rows(), std::size_t(expected.size() + 1));
    // The current cell: column 1 of the last row, or the header of column 0.
    QCOMPARE(grid->Row(), std::size_t(expected.size()));
    QCOMPARE(grid->Col(), expected.isEmpty() ? 0 : 1);
}

void SearchWindowTest::enterInText1DoesNotSearch()
{
    QVERIFY(openSearch(cp1252(kLatin)));
    QTest::keyClicks(child<QLineEdit>("Text1"), QStringLiteral("amor"));
    QTest::keyClick(child<QLineEdit>("Text1"), Qt::Key_Return);
    QVERIFY(child<QLabel>("label3")->isHidden());
    QCOMPARE(m_search->grille01()->Rows(), std::size_t(2));
}

void SearchWindowTest::twoSearchesInARow()
{
    QVERIFY(openSearch(cp1252(kLatin)));
    searchFor(QStringLiteral("am*"));
    QCOMPARE(rows().size(), 7);
    searchFor(QStringLiteral("clamor"));
    QCOMPARE(rows(), QStringList{"clamor|[2]"});
    QCOMPARE(child<QLabel>("label4")->text(), QStringLiteral("clamor = 1"));
    searchFor(QStringLiteral("nihil"));
    QCOMPARE(rows(), QStringList{});
    QCOMPARE(child<QLabel>("label4")->text(), QStringLiteral("nihil = 0"));
    // label3 stays shown once a search has run.
    QVERIFY(child<QLabel>("label3")->isVisible());
}

void SearchWindowTest::formesThenReferences()
{
    QVERIFY(openSearch(cp1252(kLatin)));
    searchFor(QStringLiteral("am*"));
    const QStringList textOrder = rows();
    QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);
    // By form, letter case ignored, then by reference as text: [10] before [2].
    QCOMPARE(rows(), (QStringList{"am|[2]", "ama|[10]", "amator|[10]", "amicus|[2]", "Amor|",
                                  "amor|[10]", "amor|[2]"}));
    QCOMPARE(child<QLabel>("label4")->text(), QStringLiteral("am* = 7"));
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(rows(), textOrder);
    QCOMPARE(child<QLabel>("label4")->text(), QStringLiteral("am* = 7"));

    // With the current column on the form (as the viewer leaves it), the form is the only
    // key and equal forms keep their text order.
    m_search->grille01()->setCol(0);
    QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);
    QCOMPARE(rows(), (QStringList{"am|[2]", "ama|[10]", "amator|[10]", "amicus|[2]", "Amor|",
                                  "amor|[2]", "amor|[10]"}));
}

void SearchWindowTest::referencesAfterEditingText1()
{
    QVERIFY(openSearch(cp1252(kLatin)));
    searchFor(QStringLiteral("amor"));
    QTest::keyClicks(child<QLineEdit>("Text1"), QStringLiteral("*"));
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(rows(), (QStringList{"Amor|", "amor|[2]", "amor|[10]"}));
    QCOMPARE(child<QLabel>("label4")->text(), QStringLiteral("amor* = 3"));
    child<QLineEdit>("Text1")->setText(QStringLiteral("ama"));
    QTest::mouseClick(child<QPushButton>("Command3"), Qt::LeftButton);
    QCOMPARE(rows(), QStringList{"ama|[10]"});
}

void SearchWindowTest::formesOnAnEmptyGridChangesNothing()
{
    QVERIFY(openSearch(cp1252(kLatin)));
    // Before any search: the header and one empty row.
    QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);
    QCOMPARE(rows(), QStringList{"|"});
    searchFor(QStringLiteral("nihil"));
    QTest::mouseClick(child<QPushButton>("Command2"), Qt::LeftButton);
    QCOMPARE(m_search->grille01()->Rows(), std::size_t(1));
    QCOMPARE(fromCp1252(m_search->grille01()->cells().cell(0, 0)), QStringLiteral("Forme(s)"));
}

void SearchWindowTest::everyCommandShowsTheBusyPointer()
{
    QVERIFY(openSearch(cp1252(kLatin)));
    FakeBusyPointer& busy = m_platform->busy;
    const auto check = [&](const char* button) {
        busy.switches.clear();
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
        QCOMPARE(busy.switches.size(), 2);
        QCOMPARE(busy.switches[0].window, static_cast<QWidget*>(m_search));
        QVERIFY(busy.switches[0].busy);
        QVERIFY(!busy.switches[1].busy);
    };
    searchFor(QStringLiteral("amor"));
    check("Command1");
    check("Command2");
    check("Command3");
}

void SearchWindowTest::gridClickOpensTheViewer()
{
    QVERIFY(openSearch(cp1252("[1] amor est [2] amor erat\r\n")));
    searchFor(QStringLiteral("amor"));
    const QStringList before = rows();
    FlexGrid* grid = m_search->grille01();
    m_platform->busy.switches.clear();
    const QRect cell = grid->visualRect(grid->model()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(grid->RowSel(), std::size_t(2));
    QPointer<frmaff_contexte> viewer = m_forms->affContexteIfLoaded();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(rows(), before);
    QVERIFY(m_platform->busy.timesOn(m_search) >= 1);
    QCOMPARE(m_platform->busy.switches.first().window, static_cast<QWidget*>(m_search));

    // A second click only brings it forward.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(m_forms->affContexteIfLoaded(), viewer.data());
}

void SearchWindowTest::latinTextIsReadOnlyAtLoad()
{
    QVERIFY(openSearch(cp1252(kLatin)));
    // Another Latin file named now, and the old one changed: the table stays as loaded.
    const QString other = writeTestFile(*m_dir, QStringLiteral("autre.txt"), "amor amor amor amor");
    m_texte->findChild<QLineEdit*>("Text_latin")->setText(other);
    writeTestFile(*m_dir, QStringLiteral("latin.txt"), "nihil");
    searchFor(QStringLiteral("amor"));
    QCOMPARE(rows().size(), 3);
    // "&Concordance" brings the same window forward without reading anything.
    m_texte->findChild<QAction*>("concordance")->trigger();
    QCOMPARE(m_forms->contexteIfLoaded(), m_search.data());
    searchFor(QStringLiteral("amor"));
    QCOMPARE(rows().size(), 3);
}

void SearchWindowTest::fermerUnloadsAndTheNextOpeningReadsAgain()
{
    QVERIFY(openSearch(cp1252(kLatin)));
    searchFor(QStringLiteral("amor"));
    QPointer<Frmcontexte> first = m_search;
    child<QAction>("quitter")->trigger();
    QTRY_VERIFY(first.isNull());
    QVERIFY(!m_forms->contexteIfLoaded());

    QVERIFY(openSearch("amor [1] amor"));
    QVERIFY(m_search != first);
    // A fresh window: no search yet, the new text.
    QVERIFY(child<QLabel>("label3")->isHidden());
    QCOMPARE(child<QLineEdit>("Text1")->text(), QString());
    searchFor(QStringLiteral("amor"));
    QCOMPARE(rows(), (QStringList{"amor|", "amor|[1]"}));
}

QTEST_MAIN(SearchWindowTest)
#include "SearchWindowTest.moc"
