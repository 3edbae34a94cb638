// The context viewer driven as a user would: a search in the real search window, a click on
// the grid, then the viewer's buttons, over the platform doubles.

#include "windows/AboutBox.h"
#include "support/CliRows.h"
#include "support/SmallLexicon.h"
#include "support/WindowDriver.h"

#include <QApplication>
#include <QHash>
#include <QHelpEvent>
#include <QLabel>
#include <QPointer>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolTip>

using namespace quorvex;

namespace {

// The Latin passage [3] runs over two lines; the text ends with a form; the French text
// lacks [2] and what stands before the first marker.
const QByteArray kLatin = "Praefatio amor.\r\n[1] Amor omnia vincit.\r\n[2] Nihil hic.\r\n"
                          "[3] Amor et amor, amorem\r\nnon amor \xE6tas.\r\n[4] Finis amor";
const QByteArray kFrench = "[1] L'amour vainc tout.\r\n[3] L'amour et l'amour, \xE9t\xE9.\r\n[4] Fin.";
const QString kPane3 = QString::fromUtf8("[3] Amor et amor, amorem\nnon amor \u00E6tas.\n");

// The search for "amor": the form and the Latin pane of each row.
const QStringList kForms = {"amor", "Amor", "Amor", "amor", "amor", "amor"};
const QStringList kPanes = {"raefatio amor.\n", "[1] Amor omnia vincit.\n", kPane3, kPane3,
                            kPane3, "[4] Finis amor"};
const int kRows = 6;

// The pane with every run that is bold and pure blue between < and >; "?" flags a run that
// is only one of the two, or coloured another way.
QString marked(const QTextEdit* pane)
{
    QString out;
    for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const bool bold = f.fontWeight() == QFont::Bold;
            const bool coloured = f.foreground().style() != Qt::NoBrush;
            const QString text = it.fragment().text();
            if (bold && coloured && f.foreground().color() == QColor(0, 0, 255))
                out += '<' + text + '>';
            else
                out += bold || coloured ? '?' + text + '?' : text;
        }
        if (block.next().isValid())
            out += '\n';
    }
    return out;
}

} // namespace

class ViewerTest : public WindowTest {
    Q_OBJECT

private slots:
    void look();
    void stepsThroughEveryRowAndBack();
    void passageStepsThenAnAttestationStep();
    void closingKeepsStateAndReopensOnAnotherRow();
    void marksEveryOccurrence_data();
    void marksEveryOccurrence();
    void followsSortedGridFromCurrentRow();
    void shrunkGridNeverReadsMissingRow();
    void rowsBeyond16Bits();
    void fileGone_data();
    void fileGone();
    void markedWordTipIsItsAnalysis();

private:
    SearchWindow* search(const QString& query)
    {
        d->useTexts(kLatin, kFrench);
        return d->search(query);
    }
    QWidget* viewer() const { return d->windows.contextViewerIfLoaded(); }
    QString latinPane() const { return child<QTextEdit>(viewer(), "label3")->toPlainText(); }
    QString frenchPane() const { return child<QTextEdit>(viewer(), "label4")->toPlainText(); }
    QString form() const { return child<QLabel>(viewer(), "Label6")->text(); }
    std::size_t row() const { return d->session.viewer().row; }
    // The row, its form and the Latin pane, as the viewer holds them, or for a row of kRows.
    QString shows() const { return QStringLiteral("%1 %2 %3").arg(row()).arg(form(), latinPane()); }
    static QString amorRow(int r) { return QStringLiteral("%1 %2 %3").arg(r).arg(kForms[r - 1], kPanes[r - 1]); }
    bool enabled(const char* button) const { return child<QPushButton>(viewer(), button)->isEnabled(); }
};

void ViewerTest::look()
{
    QVERIFY(search(QStringLiteral("amor")));
    QWidget* v = d->openRow(2);
    QVERIFY(v);
    QStringList tips;
    for (const char* button : {"Command1", "Command2", "Command3", "Command4"})
        tips << child<QPushButton>(v, button)->toolTip();
    QCOMPARE(tips, QString::fromUtf8("Attestation suivant|Attestation précédent|Texte précédent|Texte suivant")
                       .split(QLatin1Char('|')));
    // One picture for both backward steps, another for both forward steps.
    auto image = [v](const char* name) {
        return child<QPushButton>(v, name)->icon().pixmap(QSize(104, 38)).toImage();
    };
    QCOMPARE(image("Command3"), image("Command2"));
    QCOMPARE(image("Command4"), image("Command1"));
    QVERIFY(image("Command1") != image("Command2"));
    // The panes sit in bold italic frames but show the passage in a regular face.
    for (const char* pane : {"label3", "label4"})
        QVERIFY(!child<QTextEdit>(v, pane)->font().bold() && !child<QTextEdit>(v, pane)->font().italic());

    // Tab goes through the buttons, then the panes, and not round past the window.
    QWidget* w = v;
    for (const char* next : {"Command1", "Command2", "Command3", "Command4", "label3", "label4"}) {
        do
            w = w->nextInFocusChain();
        while (w != v && !(w->focusPolicy() & Qt::TabFocus));
        QCOMPARE(w->objectName(), QString::fromLatin1(next));
    }
}

void ViewerTest::stepsThroughEveryRowAndBack()
{
    SearchWindow* s = search(QStringLiteral("amor"));
    QVERIFY(s);
    QCOMPARE(d->session.rowCount(), std::size_t(kRows + 1));
    QVERIFY(d->openRow(1));
    for (int r = 1; r <= kRows; ++r) {
        if (r > 1)
            click(viewer(), "Command1");
        QCOMPARE(shows(), amorRow(r));
        QVERIFY(d->session.currentRow() == std::size_t(r) && d->session.currentColumn() == 0);
        QCOMPARE(enabled("Command1"), r != kRows);
        QCOMPARE(enabled("Command2"), r != 1);
    }
    for (int r = kRows - 1; r >= 1; --r) {
        click(viewer(), "Command2");
        QCOMPARE(shows(), amorRow(r));
    }
    QVERIFY(!enabled("Command2") && enabled("Command1"));
    QCOMPARE(d->doubles.busy.timesOn(viewer()), 2 * (kRows - 1));
}

void ViewerTest::passageStepsThenAnAttestationStep()
{
    QVERIFY(search(QStringLiteral("amor")));
    QVERIFY(d->openRow(2));  // passage [1], the first of the text
    QVERIFY(!enabled("Command3"));
    for (const QString& pane : {QStringLiteral("[2] Nihil hic.\n"), kPane3, QStringLiteral("[4] Finis amor")}) {
        QVERIFY(enabled("Command4"));
        click(viewer(), "Command4");
        QCOMPARE(latinPane(), pane);
        QVERIFY(enabled("Command3"));
        if (pane.startsWith(QLatin1String("[2]")))  // which the French text lacks: its pane stays
            QCOMPARE(frenchPane(), QStringLiteral("[1] L'amour vainc tout.\n"));
    }
    // The last passage: a further step would show a stale one.
    QVERIFY(!enabled("Command4"));
    for (const char* pane : {"[3] Amor et amor", "[2] Nihil", "[1] Amor omnia"}) {
        click(viewer(), "Command3");
        QVERIFY2(latinPane().startsWith(QLatin1String(pane)), qPrintable(latinPane()));
    }
    QVERIFY(!enabled("Command3") && enabled("Command4"));
    // The attestation steps go on from the row, not from the passage shown.
    click(viewer(), "Command1");
    QCOMPARE(shows(), amorRow(3));
}

void ViewerTest::closingKeepsStateAndReopensOnAnotherRow()
{
    SearchWindow* s = search(QStringLiteral("amor"));
    QVERIFY(s);
    QVERIFY(d->openRow(kRows));
    trigger(viewer(), "fermer");
    QVERIFY(!viewer());
    QCOMPARE(row(), std::size_t(kRows));
    QCOMPARE(d->session.viewer().previousReference, std::string("[3]"));

    QVERIFY(d->openRow(3));
    QCOMPARE(shows(), amorRow(3));
    QCOMPARE(frenchPane(), QString::fromUtf8("[3] L'amour et l'amour, \u00E9t\u00E9.\n"));
    QVERIFY(enabled("Command1") && enabled("Command2"));

    // Opening again while open only brings it forward: what it shows stays.
    d->openRow(5);
    QCOMPARE(shows(), amorRow(3));

    trigger(viewer(), "about");
    QVERIFY(d->windows.aboutBoxIfLoaded() && d->windows.aboutBoxIfLoaded()->isVisible());
    // Closing the search window takes the viewer with it.
    s->onCloseTriggered();
    QVERIFY(!viewer());
}

void ViewerTest::marksEveryOccurrence_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QByteArray>("latin");  // empty: kLatin
    const QString twoLines = QString::fromUtf8("[3] <Amor> et <amor>, amorem\nnon <amor> \u00E6tas.\n");
    QTest::newRow("capitalised form, several lines") << "amor" << 3 << twoLines << QByteArray();
    QTest::newRow("small form, same marks") << "amor" << 4 << twoLines << QByteArray();
    QTest::newRow("form at the very end") << "amor" << 6 << QStringLiteral("[4] Finis <amor>") << QByteArray();
    QTest::newRow("longer word alone") << "amorem" << 1
                                       << QString::fromUtf8("[3] Amor et amor, <amorem>\nnon amor \u00E6tas.\n") << QByteArray();
    QTest::newRow("before the first marker") << "amor" << 1 << QStringLiteral("raefatio <amor>.\n") << QByteArray();
    QTest::newRow("accented letters") << QString::fromUtf8("\u00E6tas") << 1
                                      << QString::fromUtf8("[3] Amor et amor, amorem\nnon amor <\u00E6tas>.\n") << QByteArray();
    // A CR LF is one position of the pane, a lone CR or LF one too.
    QTest::newRow("every kind of line break before the marks")
        << "amor" << 1 << QStringLiteral("[1] a\nb\nc\n <amor>\n\n<amor>\t<amor>")
        << QByteArray("[1] a\rb\nc\r\n amor\r\n\namor\tamor");
}

void ViewerTest::marksEveryOccurrence()
{
    QFETCH(QString, query);
    QFETCH(int, row);
    QFETCH(QString, expected);
    QFETCH(QByteArray, latin);
    d->useTexts(latin.isEmpty() ? kLatin : latin, kFrench);
    QVERIFY(d->search(query));
    QVERIFY(d->openRow(std::size_t(row)));
    const QTextEdit* pane = child<QTextEdit>(viewer(), "label3");
    QCOMPARE(marked(pane), expected);
    QVERIFY(!pane->textCursor().hasSelection());
    // Only the Latin pane is marked; the pane's plain text keeps the passage's line breaks.
    QVERIFY(!marked(child<QTextEdit>(viewer(), "label4")).contains('<'));
    QCOMPARE(pane->toPlainText(), QString(expected).remove('<').remove('>'));
}

void ViewerTest::followsSortedGridFromCurrentRow()
{
    // am* in text order: amor, Amor, Amor, amor, amorem, amor, amor; by form the amorem row
    // goes last.
    SearchWindow* s = search(QStringLiteral("am*"));
    QVERIFY(s);
    QVERIFY(d->openRow(4));
    s->onSortByFormClicked();
    click(viewer(), "Command1");
    QCOMPARE(shows(), amorRow(5));
    QCOMPARE(d->session.viewer().attestationReference, std::string("[3]"));
    click(viewer(), "Command1");
    click(viewer(), "Command1");
    QCOMPARE(form(), QStringLiteral("amorem"));
    QVERIFY(!enabled("Command1"));
}

void ViewerTest::shrunkGridNeverReadsMissingRow()
{
    QVERIFY(search(QStringLiteral("amor")));
    QVERIFY(d->openRow(kRows));
    d->search(QStringLiteral("finis"));  // a single attestation left
    click(viewer(), "Command2");
    QCOMPARE(shows(), QStringLiteral("1 Finis [4] Finis amor"));
    QCOMPARE(frenchPane(), QStringLiteral("[4] Fin."));
    QVERIFY(!enabled("Command2") && !enabled("Command1"));

    d->search(QStringLiteral("nusquam"));  // none left
    for (const char* button : {"Command2", "Command1"}) {
        child<QPushButton>(viewer(), button)->setEnabled(true);
        click(viewer(), button);
    }
    QCOMPARE(shows(), QStringLiteral("1 Finis [4] Finis amor"));
}

void ViewerTest::rowsBeyond16Bits()
{
    // 40 000 attestations, two in each of 20 000 passages.
    QByteArray latin;
    const int passages = 20000;
    for (int p = 1; p <= passages; ++p)
        latin += "[" + QByteArray::number(p) + "] amor Finis\r\n";
    d->useTexts(latin, kFrench);
    QVERIFY(d->search(QStringLiteral("*")));
    const std::size_t rows = 2 * passages;
    QCOMPARE(d->session.rowCount(), rows + 1);
    QVERIFY(d->openRow(rows));
    QCOMPARE(shows(), QStringLiteral("%1 Finis [%2] amor Finis\n").arg(rows).arg(passages));
    QVERIFY(!enabled("Command1"));
    click(viewer(), "Command2");
    QCOMPARE(shows(), QStringLiteral("%1 amor [%2] amor Finis\n").arg(rows - 1).arg(passages));
    QCOMPARE(d->session.currentRow(), rows - 1);
}

void ViewerTest::fileGone_data()
{
    QTest::addColumn<bool>("latin");
    QTest::addColumn<bool>("whileOpen");
    QTest::newRow("French file, between two displays") << false << true;
    QTest::newRow("Latin file, between two displays") << true << true;
    QTest::newRow("Latin file, before the viewer opens") << true << false;
}

void ViewerTest::fileGone()
{
    QFETCH(bool, latin);
    QFETCH(bool, whileOpen);
    QVERIFY(search(QStringLiteral("amor")));
    const QString gone = latin ? d->latinPath : d->frenchPath;
    if (!whileOpen) {
        QVERIFY(QFile::remove(gone));
        QVERIFY(!d->openRow(2));
    } else {
        QVERIFY(d->openRow(2));
        QVERIFY(QFile::remove(gone));
        click(viewer(), "Command1");
        // The step is undone: the panes, the row and the grid's cell are as they were.
        QCOMPARE(shows(), amorRow(2));
        QCOMPARE(frenchPane(), QStringLiteral("[1] L'amour vainc tout.\n"));
        QCOMPARE(d->session.currentRow(), std::size_t(2));
    }
    QVERIFY(d->doubles.messages.expectNext(okBox(
        QStringLiteral("Le fichier « %1 » est introuvable.\nLe passage ne peut pas être affiché.").arg(gone),
        MessageIcon::Warning)));
}

// Asks the pane for the tool tip over the middle of `word` (its first place in the pane, on
// one line), as a hovering pointer does: the tip shown, or "" when none is (a tip already
// shown takes a moment to go).
static QString tipOver(QTextEdit* pane, const QString& word)
{
    const int start = pane->toPlainText().indexOf(word);
    if (start < 0)
        return QStringLiteral("(absent)");
    QTextCursor cursor(pane->document());
    cursor.setPosition(start);
    const QRect first = pane->cursorRect(cursor);
    cursor.setPosition(start + int(word.size()));
    const QPoint middle((first.left() + pane->cursorRect(cursor).left()) / 2, first.center().y());
    QHelpEvent event(QEvent::ToolTip, middle, pane->viewport()->mapToGlobal(middle));
    QApplication::sendEvent(pane->viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

void ViewerTest::markedWordTipIsItsAnalysis()
{
    // "dicis" on a line of its own, so that the pane's positions are not the text's bytes.
    writeSmallLexicon(*d);
    d->useTexts(cp1252("[1] Deus dixit et caelum est. [2] Filius Dei dixit cælum\r\n"
                       "[3] Israel dicit, Israel est;\r\ndeumque dicis. [4] Filius Dei est"));
    trigger(d->windows.textWindow(), "concordance");
    trigger(d->windows.searchWindowIfLoaded(), "lemme");
    QVERIFY(d->search(QStringLiteral("dico")));
    // The analyses column of the command line, by "form|reference".
    QHash<QString, QString> analyses;
    for (const QString& line : cliOutput(d->latinPath, {}, {"--list", "--lemma", "--analyses"}, QStringLiteral("dico")).lines()) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        analyses.insert(fields.value(0) + QLatin1Char('|') + fields.value(1), fields.value(3));
    }
    QCOMPARE(analyses.size(), 4);
    QVERIFY(d->openRow(3));
    QCOMPARE(latinPane(), QStringLiteral("[3] Israel dicit, Israel est;\ndeumque dicis. "));
    const QPointer<QTextEdit> pane = child<QTextEdit>(viewer(), "label3");
    QCOMPARE(tipOver(pane, QStringLiteral("dicit")), analyses.value(QStringLiteral("dicit|[3]")));
    QCOMPARE(tipOver(pane, QStringLiteral("dicis")), analyses.value(QStringLiteral("dicis|[3]")));
    QVERIFY(analyses.value(QStringLiteral("dicis|[3]")).startsWith(QStringLiteral("dico2, 2ème singulier")));
    // A word not marked has no tip: the one shown goes.
    tipOver(pane, QStringLiteral("Israel"));
    QTRY_VERIFY(!QToolTip::isVisible());
    // A passage reached by a step, which the row's word is not in: its marks have theirs too.
    click(viewer(), "Command3");
    QCOMPARE(tipOver(pane, QStringLiteral("dixit")), analyses.value(QStringLiteral("dixit|[2]")));
    // A search since the display: the marks shown are no words of its list.
    trigger(d->windows.searchWindowIfLoaded(), "lemme");
    QVERIFY(d->search(QStringLiteral("Israel")));
    QVERIFY(pane);
    tipOver(pane, QStringLiteral("dixit"));
    QTRY_VERIFY(!QToolTip::isVisible());
}

QTEST_MAIN(ViewerTest)
#include "ContextViewerTest.moc"
