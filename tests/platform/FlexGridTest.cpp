// The grid control over the core's grid model: what it draws, what a click or a key does
// to the current cell and the selection end, and the members the windows call.

#include "platform/FlexGrid.h"
#include "platform/TextCodec.h"
#include "support/TestPlatform.h"

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using namespace quorvex;

class FlexGridTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup() { m_grid.reset(); }

    void headerRowStaysAboveTheBody();
    void drawsFixedCellsGridLinesAndUncoveredArea_data();
    void drawsFixedCellsGridLinesAndUncoveredArea();
    void clickSetsTheCurrentCellAndRaisesClick_data();
    void clickSetsTheCurrentCellAndRaisesClick();
    void keysMoveTheCurrentCellWithoutClick();
    void membersKeepTheViewInStep();
    void manyRowsReachTheLastOne();

private:
    void fill(std::initializer_list<std::pair<const char*, const char*>> rows);
    QPoint cellCentre(int gridRow, int col) const;

    TestPlatform m_platform;  // maps the font names as the program does
    std::unique_ptr<FlexGrid> m_grid;
};

void FlexGridTest::init()
{
    m_grid = std::make_unique<FlexGrid>();
    m_grid->resize(457, 265);
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
}

void FlexGridTest::fill(std::initializer_list<std::pair<const char*, const char*>> rows)
{
    GridModel& cells = m_grid->cells();
    cells.setRows(1);
    cells.setRow(0);
    cells.setCol(0);
    cells.setText("Forme(s)");
    cells.setCellCentred(true);
    cells.setCol(1);
    cells.setText("R\xE9" "f\xE9" "rences");
    cells.setCellCentred(true);
    for (const auto& r : rows)
        cells.appendRow(r.first, r.second);
    m_grid->refresh();
}

QPoint FlexGridTest::cellCentre(int gridRow, int col) const
{
    return m_grid->visualRect(m_grid->model()->index(gridRow - 1, col)).center();
}

void FlexGridTest::headerRowStaysAboveTheBody()
{
    fill({{"amor", "[1]"}, {"\xE9t\xE9", "[2]"}});
    QAbstractItemModel* model = m_grid->model();
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Références"));
    QCOMPARE(model->index(1, 0).data().toString(), QStringLiteral("été"));
    QCOMPARE(model->index(0, 1).data().toString(), QStringLiteral("[1]"));
    QCOMPARE(model->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::Alignment(Qt::AlignCenter));
    QVERIFY(m_grid->horizontalHeader()->isVisible());
    QVERIFY(!m_grid->verticalHeader()->isVisible());
    // The header alone: no body row at all.
    m_grid->setRows(1);
    QCOMPARE(model->rowCount(), 0);
}

void FlexGridTest::drawsFixedCellsGridLinesAndUncoveredArea_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("fixed column") << "fixed column" << QColor(255, 255, 128);
    QTest::newRow("fixed header") << "fixed header" << QColor(255, 255, 128);
    QTest::newRow("ordinary cell") << "ordinary cell" << QColor(Qt::white);
    QTest::newRow("right of the columns") << "right" << QColor(128, 128, 128);
    QTest::newRow("below the rows") << "below" << QColor(128, 128, 128);
    QTest::newRow("grid line") << "line" << QColor(192, 192, 192);
    QTest::newRow("header beyond the columns") << "header right" << QColor(128, 128, 128);
}

void FlexGridTest::drawsFixedCellsGridLinesAndUncoveredArea()
{
    QFETCH(QString, where);
    QFETCH(QColor, colour);
    fill({{"", ""}, {"", ""}});
    m_grid->cells().setRow(0);  // no body cell selected
    m_grid->refresh();
    const QImage image = m_grid->viewport()->grab().toImage();
    const QRect first = m_grid->visualRect(m_grid->model()->index(0, 0));
    const QRect second = m_grid->visualRect(m_grid->model()->index(0, 1));
    QPoint at;
    QImage source = image;
    if (where == QLatin1String("fixed column"))
        at = first.center();
    else if (where == QLatin1String("ordinary cell"))
        at = second.center();
    else if (where == QLatin1String("right"))
        at = QPoint(second.right() + 20, first.center().y());
    else if (where == QLatin1String("below"))
        at = QPoint(first.center().x(), first.bottom() + 3 * first.height());
    else if (where == QLatin1String("line"))
        at = QPoint(first.right() + 1, first.center().y());
    else {
        source = m_grid->horizontalHeader()->grab().toImage();
        at = QPoint(where == QLatin1String("header right") ? second.right() + 20 : 5,
                    source.height() / 2);
    }
    QCOMPARE(source.pixelColor(at * source.devicePixelRatio()), colour);
}

void FlexGridTest::clickSetsTheCurrentCellAndRaisesClick_data()
{
    QTest::addColumn<QString>("where");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::newRow("form of row 2") << "cell" << 2 << 0;
    QTest::newRow("reference of row 3") << "cell" << 3 << 1;
    QTest::newRow("header of column 1") << "header" << 0 << 1;
    QTest::newRow("beside the cells") << "grey" << 1 << 1;  // where the search left it
}

void FlexGridTest::clickSetsTheCurrentCellAndRaisesClick()
{
    QFETCH(QString, where);
    QFETCH(int, row);
    QFETCH(int, col);
    fill({{"a", "[1]"}, {"b", "[2]"}, {"c", "[3]"}});
    m_grid->setRow(1);
    m_grid->setCol(1);
    QSignalSpy clicks(m_grid.get(), &FlexGrid::Click);
    if (where == QLatin1String("cell")) {
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, cellCentre(row, col));
    } else if (where == QLatin1String("header")) {
        QHeaderView* header = m_grid->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(col) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    } else {
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {},
                          QPoint(m_grid->viewport()->width() - 5, m_grid->viewport()->height() - 5));
    }
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(m_grid->Row(), std::size_t(row));
    QCOMPARE(m_grid->RowSel(), std::size_t(row));
    QCOMPARE(m_grid->Col(), col);
    QCOMPARE(m_grid->ColSel(), col);
    // What is shown selected is the grid's current cell.
    if (row > 0) {
        const QModelIndexList selected = m_grid->selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first(), m_grid->model()->index(row - 1, col));
    }
}

void FlexGridTest::keysMoveTheCurrentCellWithoutClick()
{
    fill({{"a", "[1]"}, {"b", "[2]"}, {"c", "[3]"}});
    m_grid->setRow(1);
    m_grid->setCol(1);
    QSignalSpy clicks(m_grid.get(), &FlexGrid::Click);
    m_grid->setFocus();
    QTest::keyClick(m_grid.get(), Qt::Key_Down);
    QTest::keyClick(m_grid.get(), Qt::Key_Left);
    QCOMPARE(m_grid->Row(), std::size_t(2));
    QCOMPARE(m_grid->Col(), 0);
    QCOMPARE(m_grid->RowSel(), std::size_t(2));
    QCOMPARE(clicks.count(), 0);
}

void FlexGridTest::membersKeepTheViewInStep()
{
    fill({{"b", "[2]"}, {"a", "[10]"}, {"a", "[9]"}});
    m_grid->setRow(2);
    m_grid->setCol(0);
    m_grid->setText("\xE2me");
    QCOMPARE(m_grid->model()->index(1, 0).data().toString(), QStringLiteral("âme"));
    QCOMPARE(m_grid->currentIndex(), m_grid->model()->index(1, 0));

    // ColSel moves the selection end alone.
    m_grid->setRow(3);
    m_grid->setCol(1);
    m_grid->setColSel(0);
    QCOMPARE(m_grid->Col(), 1);
    QCOMPARE(m_grid->selectionModel()->selectedIndexes().size(), 2);

    // Sort on both columns; the view shows the new order (â after b, by its code).
    m_grid->Sort();
    QCOMPARE(m_grid->model()->index(0, 0).data().toString(), QStringLiteral("a"));
    QCOMPARE(m_grid->model()->index(0, 1).data().toString(), QStringLiteral("[9]"));
    QCOMPARE(m_grid->model()->index(1, 0).data().toString(), QStringLiteral("b"));
    QCOMPARE(m_grid->model()->index(2, 0).data().toString(), QStringLiteral("âme"));

    // Clear empties every cell, header included, and keeps the counts.
    m_grid->Clear();
    QCOMPARE(m_grid->Rows(), std::size_t(4));
    QCOMPARE(m_grid->model()->headerData(0, Qt::Horizontal).toString(), QString());
    QCOMPARE(m_grid->model()->index(2, 1).data().toString(), QString());

    m_grid->setRows(2);
    QCOMPARE(m_grid->model()->rowCount(), 1);
}

void FlexGridTest::manyRowsReachTheLastOne()
{
    GridModel& cells = m_grid->cells();
    cells.setRows(1);
    const std::size_t n = 600000;
    cells.reserveRows(n + 1);
    for (std::size_t i = 1; i <= n; ++i)
        cells.appendRow("forma", "[" + std::to_string(i) + "]");
    cells.setRow(n);
    cells.setCol(1);
    m_grid->refresh();
    QCOMPARE(m_grid->model()->rowCount(), int(n));
    QCOMPARE(m_grid->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    m_grid->scrollToBottom();
    const QModelIndex last = m_grid->model()->index(int(n) - 1, 1);
    QVERIFY(m_grid->viewport()->rect().intersects(m_grid->visualRect(last)));
    QCOMPARE(last.data().toString(), QStringLiteral("[600000]"));
    QCOMPARE(m_grid->currentIndex(), last);
    // New rows, even as many, are shown from the top.
    m_grid->refresh();
    QCOMPARE(m_grid->verticalScrollBar()->value(), 0);
}

QTEST_MAIN(FlexGridTest)
#include "FlexGridTest.moc"
