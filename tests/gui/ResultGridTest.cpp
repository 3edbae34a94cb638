// The grid control over the core's grid model: what it draws, what a click or a key does
// to the current cell and the selection end, and the members the windows call.

#include "concordance/GridHeader.h"
#include "widgets/ResultGrid.h"
#include "support/TestPlatform.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace quorvex;

class FlexGridTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { g.reset(); }
    void draws_data();
    void draws();
    void clickSetsTheCurrentCellAndRaisesClick_data();
    void clickSetsTheCurrentCellAndRaisesClick();
    void keysMoveTheCurrentCellWithoutClick();
    void membersKeepTheViewInStep();
    void manyRowsReachTheLastOne();

private:
    QString shown(int row, int col) const { return g->model()->index(row - 1, col).data().toString(); }
    QRect cell(int row, int col) const { return g->visualRect(g->model()->index(row - 1, col)); }

    TestPlatform m_platform;  // maps the font names as the program does
    std::unique_ptr<ResultGrid> g;
};

// A grid with the search window's header and three rows, current cell on row 1, column 1.
void FlexGridTest::init()
{
    g = std::make_unique<ResultGrid>();
    g->resize(457, 265);
    GridModel& cells = g->cells();
    prepareGrid(cells);  // the search window's header
    cells.setRows(1);
    cells.appendRow("b", "[2]");
    cells.appendRow("a", "[10]");
    cells.appendRow("a", "[9]");
    g->refresh();
    g->setRow(1);
    g->setCol(1);
    g->show();
    QVERIFY(QTest::qWaitForWindowExposed(g.get()));
}

void FlexGridTest::draws_data()
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

void FlexGridTest::draws()
{
    QFETCH(QString, where);
    QFETCH(QColor, colour);
    // The header row holds the texts; the body shows no selection.
    QCOMPARE(g->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Références"));
    QCOMPARE(g->model()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::Alignment(Qt::AlignCenter));
    QVERIFY(!g->verticalHeader()->isVisible());
    for (int r = 1; r <= 3; ++r)
        g->cells().setCell(r, 0, ""), g->cells().setCell(r, 1, "");
    g->cells().setRow(0);
    g->refresh();
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

void FlexGridTest::clickSetsTheCurrentCellAndRaisesClick_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::newRow("form of row 2") << "cell" << 2 << 0;
    QTest::newRow("reference of row 3") << "cell" << 3 << 1;
    QTest::newRow("header of column 1") << "header" << 0 << 1;
    QTest::newRow("beside the cells") << "grey" << 1 << 1;  // where it was
}

void FlexGridTest::clickSetsTheCurrentCellAndRaisesClick()
{
    QFETCH(QString, where);
    QFETCH(int, row);
    QFETCH(int, col);
    QSignalSpy clicks(g.get(), &ResultGrid::Click);
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
    QCOMPARE(g->Row(), std::size_t(row));
    QCOMPARE(g->RowSel(), std::size_t(row));
    QCOMPARE(g->Col(), col);
    QCOMPARE(g->ColSel(), col);
    // What is shown selected is the grid's current cell.
    if (row > 0)
        QCOMPARE(g->selectionModel()->selectedIndexes(), QModelIndexList{g->model()->index(row - 1, col)});
}

void FlexGridTest::keysMoveTheCurrentCellWithoutClick()
{
    QSignalSpy clicks(g.get(), &ResultGrid::Click);
    g->setFocus();
    QTest::keyClick(g.get(), Qt::Key_Down);
    QTest::keyClick(g.get(), Qt::Key_Left);
    QCOMPARE(g->Row(), std::size_t(2));
    QCOMPARE(g->Col(), 0);
    QCOMPARE(g->RowSel(), std::size_t(2));
    QCOMPARE(clicks.count(), 0);
}

void FlexGridTest::membersKeepTheViewInStep()
{
    g->setRow(2);
    g->setCol(0);
    g->setText("\xE2me");
    QCOMPARE(shown(2, 0), QStringLiteral("âme"));
    QCOMPARE(g->currentIndex(), g->model()->index(1, 0));
    // ColSel moves the selection end alone.
    g->setRow(3);
    g->setCol(1);
    g->setColSel(0);
    QCOMPARE(g->Col(), 1);
    QCOMPARE(g->selectionModel()->selectedIndexes().size(), 2);
    // Sort on both columns; the view shows the new order (â after b, by its code).
    g->Sort();
    QCOMPARE(shown(1, 0) + shown(1, 1) + shown(2, 0) + shown(3, 0), QStringLiteral("a[9]bâme"));
    // Clear empties every cell, header included, and keeps the counts.
    g->Clear();
    QCOMPARE(g->Rows(), std::size_t(4));
    QCOMPARE(g->model()->headerData(0, Qt::Horizontal).toString(), QString());
    QCOMPARE(shown(3, 1), QString());
    g->setRows(2);  // fewer rows pull the current cell in
    QCOMPARE(g->Row(), std::size_t(1));
    g->setRows(0);  // the header row stays, alone: no body row at all
    QCOMPARE(g->Rows(), std::size_t(1));
    QCOMPARE(g->model()->rowCount(), 0);
}

void FlexGridTest::manyRowsReachTheLastOne()
{
    GridModel& cells = g->cells();
    const std::size_t n = 600000;
    cells.setRows(1);
    cells.reserveRows(n + 1);
    for (std::size_t i = 1; i <= n; ++i)
        cells.appendRow("forma", "[" + std::to_string(i) + "]");
    cells.setRow(n);
    cells.setCol(1);
    g->refresh();
    QCOMPARE(g->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    g->scrollToBottom();
    const QModelIndex last = g->model()->index(int(n) - 1, 1);
    QVERIFY(g->viewport()->rect().intersects(g->visualRect(last)));
    QCOMPARE(last.data().toString(), QStringLiteral("[600000]"));
    QCOMPARE(g->currentIndex(), last);
    // New rows, even as many, are shown from the top.
    g->refresh();
    QCOMPARE(g->verticalScrollBar()->value(), 0);
}

QTEST_MAIN(FlexGridTest)
#include "ResultGridTest.moc"
