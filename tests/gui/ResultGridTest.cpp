// The result grid over the session's list: what it draws, what a click or a key does to the
// session's current cell and selection end, and how it follows the session's changes.

#include "session/Session.h"
#include "support/TestPlatform.h"
#include "widgets/ResultGrid.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace quorvex;

class ResultGridTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { g.reset(); }
    void draws_data();
    void draws();
    void clickSetsTheCurrentCellAndRaisesClick_data();
    void clickSetsTheCurrentCellAndRaisesClick();
    void keysMoveTheCurrentCellWithoutClick();
    void followsTheSession();
    void manyRowsReachTheLastOne();

private:
    // The number of rows found; a search that ran short of memory fails the test.
    std::size_t search(const QString& form)
    {
        std::size_t found = 0;
        if (m_session.search(form, found) != SessionFailure::None)
            return std::size_t(-1);
        return found;
    }
    QString shown(int row, int col) const { return g->model()->index(row - 1, col).data().toString(); }
    QRect cell(int row, int col) const { return g->visualRect(g->model()->index(row - 1, col)); }

    TestPlatform m_platform;  // maps the font names as the program does
    Session m_session;
    std::unique_ptr<ResultGrid> g;
};

// A grid with the search window's header and three rows, current cell on row 1, column 1.
void ResultGridTest::init()
{
    m_session.adoptLatinText("[2] b [10] a [9] a");
    QCOMPARE(search(QStringLiteral("*")), std::size_t(3));
    g = std::make_unique<ResultGrid>(m_session);
    g->resize(457, 265);
    m_session.setCurrentCell(1, 1);
    g->show();
    QVERIFY(QTest::qWaitForWindowExposed(g.get()));
}

void ResultGridTest::draws_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("fixed column") << "fixed column" << QColor(255, 255, 128);
    QTest::newRow("fixed header") << "header" << QColor(255, 255, 128);
    QTest::newRow("ordinary cell") << "ordinary cell" << QColor(Qt::white);
    QTest::newRow("grid line") << "line" << QColor(192, 192, 192);
    QTest::newRow("right of the columns") << "right" << QColor(128, 128, 128);
    QTest::newRow("header beyond the columns") << "header right" << QColor(128, 128, 128);
}

void ResultGridTest::draws()
{
    QFETCH(QString, where);
    QFETCH(QColor, colour);
    // The header row holds the texts; the body shows no selection.
    QCOMPARE(g->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Références"));
    QCOMPARE(g->model()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::Alignment(Qt::AlignCenter));
    QVERIFY(!g->verticalHeader()->isVisible());
    m_session.setCurrentCell(0, 0);  // nothing of the body marked
    const QRect first = cell(1, 0);
    const QRect second = cell(1, 1);
    const QMap<QString, QPoint> at = {
        {"fixed column", first.center()},
        {"ordinary cell", second.center()},
        {"line", QPoint(first.right() + 1, first.center().y())},
        {"right", QPoint(second.right() + 20, first.center().y())},
        {"header", QPoint(5, g->horizontalHeader()->height() / 2)},
        {"header right", QPoint(second.right() + 20, g->horizontalHeader()->height() / 2)}};
    const QImage image = (where.startsWith(QLatin1String("header")) ? static_cast<QWidget*>(g->horizontalHeader())
                                                                     : g->viewport())->grab().toImage();
    QCOMPARE(image.pixelColor(at[where] * image.devicePixelRatio()), colour);
}

void ResultGridTest::clickSetsTheCurrentCellAndRaisesClick_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::newRow("form of row 2") << "cell" << 2 << 0;
    QTest::newRow("reference of row 3") << "cell" << 3 << 1;
    QTest::newRow("header of column 1") << "header" << 0 << 1;
    QTest::newRow("beside the cells") << "grey" << 1 << 1;  // where it was
}

void ResultGridTest::clickSetsTheCurrentCellAndRaisesClick()
{
    QFETCH(QString, where);
    QFETCH(int, row);
    QFETCH(int, col);
    QSignalSpy clicks(g.get(), &ResultGrid::clicked);
    if (where == QLatin1String("cell")) {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell(row, col).center());
    } else if (where == QLatin1String("header")) {
        QHeaderView* header = g->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(col) + 10, header->height() / 2));
    } else {
        QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                          QPoint(g->viewport()->width() - 5, g->viewport()->height() - 5));
    }
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(m_session.currentRow(), std::size_t(row));
    QCOMPARE(m_session.selectionEndRow(), std::size_t(row));
    QCOMPARE(m_session.currentColumn(), col);
    QCOMPARE(m_session.selectionEndColumn(), col);
    // What is shown selected is the grid's current cell.
    if (row > 0)
        QCOMPARE(g->selectionModel()->selectedIndexes(), QModelIndexList{g->model()->index(row - 1, col)});
}

void ResultGridTest::keysMoveTheCurrentCellWithoutClick()
{
    QSignalSpy clicks(g.get(), &ResultGrid::clicked);
    g->setFocus();
    QTest::keyClick(g.get(), Qt::Key_Down);
    QTest::keyClick(g.get(), Qt::Key_Left);
    QCOMPARE(m_session.currentRow(), std::size_t(2));
    QCOMPARE(m_session.currentColumn(), 0);
    QCOMPARE(m_session.selectionEndRow(), std::size_t(2));
    QCOMPARE(clicks.count(), 0);
}

void ResultGridTest::followsTheSession()
{
    m_session.setCurrentCell(2, 0);
    QCOMPARE(g->currentIndex(), g->model()->index(1, 0));
    QCOMPARE(g->selectionModel()->selectedIndexes(), QModelIndexList{g->model()->index(1, 0)});
    // "Formes" keyed on the form and, with the current cell on column 1, the reference too;
    // the view shows the new order and the cell moved with it.
    m_session.setCurrentCell(3, 1);
    m_session.sortByForm();
    QCOMPARE(shown(1, 0) + shown(1, 1) + shown(2, 0) + shown(2, 1) + shown(3, 0),
             QStringLiteral("a[10]a[9]b"));
    QCOMPARE(m_session.currentColumn(), 1);
    // The sort keeps the selection end on column 0: the marked range spans both columns.
    QCOMPARE(g->selectionModel()->selectedIndexes().size(), 2);
    // A search that finds nothing leaves the header alone and nothing marked.
    QCOMPARE(search(QStringLiteral("nihil")), std::size_t(0));
    QCOMPARE(g->model()->rowCount(), 0);
    QCOMPARE(g->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Références"));
    QVERIFY(g->selectionModel()->selectedIndexes().isEmpty());
    // Accents come from the text's code page.
    m_session.adoptLatinText("[1] \xE2me");
    QCOMPARE(search(QStringLiteral("*")), std::size_t(1));
    QCOMPARE(shown(1, 0), QStringLiteral("âme"));
}

void ResultGridTest::manyRowsReachTheLastOne()
{
    const std::size_t n = 600000;
    std::string text;
    for (std::size_t i = 1; i <= n; ++i)
        text += "[" + std::to_string(i) + "] forma ";
    m_session.adoptLatinText(std::move(text));
    QCOMPARE(search(QStringLiteral("forma")), n);
    QCOMPARE(m_session.currentRow(), n);
    QCOMPARE(g->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    g->scrollToBottom();
    const QModelIndex last = g->model()->index(int(n) - 1, 1);
    QVERIFY(g->viewport()->rect().intersects(g->visualRect(last)));
    QCOMPARE(last.data().toString(), QStringLiteral("[600000]"));
    QCOMPARE(g->currentIndex(), last);
    // New rows, even as many, are shown from the top.
    m_session.sortByForm();
    QCOMPARE(g->verticalScrollBar()->value(), 0);
}

QTEST_MAIN(ResultGridTest)
#include "ResultGridTest.moc"
