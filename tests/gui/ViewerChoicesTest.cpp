// The context viewer under the reader's choices: it marks what the list's search found (every
// form of a lemma's or a folded search's list, a phrase's words, a French form in the French
// pane), shows the row's form as written, and with no choice marks the row's form alone.

#include "support/SmallLexicon.h"
#include "support/WindowDriver.h"

#include <QLabel>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextEdit>

using namespace quorvex;

namespace {

// "cœlum" is one word only when cut with the extended letters, as a folded search cuts it.
const QByteArray kLatin = cp1252("[1] Deus dixit et caelum est. [2] Filius Dei dixit cælum, cœlum et Coelum\r\n"
                                 "[3] Israel dicit, Israel est; deumque dicis. [4] Filius Dei est");
const QByteArray kFrench = cp1252("[1] Dieu dit et le ciel est. [2] Le Fils de Dieu dit le ciel\r\n"
                                  "[3] Israël dit ; Israël est, il dit. [4] Le Fils de Dieu est ; l'Œuvre, mon cœur");

// The pane's text with each run of the form's mark (bold, pure blue) between < and >; other
// runs, the translations' marks among them, as plain text.
QString formMarked(const QTextEdit* pane)
{
    QString out;
    for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const bool mark = f.fontWeight() == QFont::Bold && f.foreground().style() != Qt::NoBrush
                && f.foreground().color() == QColor(0, 0, 255);
            out += mark ? '<' + it.fragment().text() + '>' : it.fragment().text();
        }
        if (block.next().isValid())
            out += '\n';
    }
    return out;
}

} // namespace

class ViewerChoicesTest : public WindowTest {
    Q_OBJECT

private slots:
    void marksWhatTheSearchFoundInThePaneSearched_data();
    void marksWhatTheSearchFoundInThePaneSearched();
    void aListTurnedToTheFrenchSideGetsNoLatinMarksInTheFrenchPane_data();
    void aListTurnedToTheFrenchSideGetsNoLatinMarksInTheFrenchPane();
};

void ViewerChoicesTest::marksWhatTheSearchFoundInThePaneSearched_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("latin");
    QTest::addColumn<QString>("french");

    const QString plainFrench2 = QStringLiteral("[2] Le Fils de Dieu dit le ciel\n");
    const QString plainFrench3 = QStringLiteral("[3] Israël dit ; Israël est, il dit. ");
    QTest::newRow("no choice: the row's form")
        << QStringList{} << "dixit" << 2 << "dixit"
        << QStringLiteral("[2] Filius Dei <dixit> cælum, cœlum et Coelum\n") << plainFrench2;
    QTest::newRow("no choice: a form with æ, cut with the window's letters")
        << QStringList{} << QStringLiteral("cælum") << 1 << QStringLiteral("cælum")
        << QStringLiteral("[2] Filius Dei dixit <cælum>, cœlum et Coelum\n") << plainFrench2;
    QTest::newRow("lemma: every form the list holds")
        << QStringList{"lemme"} << "dico" << 4 << "dicis"
        << QStringLiteral("[3] Israel <dicit>, Israel est; deumque <dicis>. ") << plainFrench3;
    QTest::newRow("folded spelling: every spelling found, œ a letter")
        << QStringList{"orthographe"} << "coelum" << 1 << QStringLiteral("cœlum")
        << QStringLiteral("[2] Filius Dei dixit cælum, <cœlum> et <Coelum>\n") << plainFrench2;
    QTest::newRow("folded spelling: the row's form as written")
        << QStringList{"orthographe"} << "CAELUM" << 2 << QStringLiteral("cælum")
        << QStringLiteral("[2] Filius Dei dixit <cælum>, cœlum et Coelum\n") << plainFrench2;
    QTest::newRow("phrase: its words where they stand in a row")
        << QStringList{"expression"} << "filius dei" << 1 << "Filius Dei"
        << QStringLiteral("[2] <Filius> <Dei> dixit cælum, cœlum et Coelum\n") << plainFrench2;
    QTest::newRow("phrase running on past the passage's marker")
        << QStringList{"expression"} << "coelum israel" << 1 << "Coelum Israel"
        << QStringLiteral("[2] Filius Dei dixit cælum, cœlum et <Coelum>\n") << plainFrench2;
    QTest::newRow("phrase with folded spelling")
        << QStringList{"expression", "orthographe"} << "dixit caelum" << 1 << QStringLiteral("dixit cælum")
        << QStringLiteral("[2] Filius Dei <dixit> <cælum>, cœlum et Coelum\n") << plainFrench2;
    QTest::newRow("French side: the French pane, the Latin one plain")
        << QStringList{"cote_francais"} << "dit" << 3 << "dit"
        << QStringLiteral("[3] Israel dicit, Israel est; deumque dicis. ")
        << QStringLiteral("[3] Israël <dit> ; Israël est, il <dit>. ");
    QTest::newRow("French side: œ a letter of French words")
        << QStringList{"cote_francais"} << QStringLiteral("œuvre") << 1 << QStringLiteral("Œuvre")
        << QStringLiteral("[4] Filius Dei est")
        << QStringLiteral("[4] Le Fils de Dieu est ; l'<Œuvre>, mon cœur");
    QTest::newRow("Latin side: œ still ends a word")
        << QStringList{} << "lum" << 1 << "lum"
        << QStringLiteral("[2] Filius Dei dixit cælum, cœ<lum> et Coelum\n") << plainFrench2;
    QTest::newRow("French side: the form kept beside the translations' marks")
        << QStringList{"marquer_traductions", "cote_francais"} << "dit" << 4 << "dit"
        << QStringLiteral("[3] Israel dicit, Israel est; deumque dicis. ")
        << QStringLiteral("[3] Israël <dit> ; Israël est, il <dit>. ");
}

void ViewerChoicesTest::marksWhatTheSearchFoundInThePaneSearched()
{
    QFETCH(QStringList, items);
    QFETCH(QString, query);
    QFETCH(int, row);
    QFETCH(QString, form);
    QFETCH(QString, latin);
    QFETCH(QString, french);

    writeSmallLexicon(*d);
    d->useTexts(kLatin, kFrench);
    trigger(d->windows.textWindow(), "concordance");
    SearchWindow* s = d->windows.searchWindowIfLoaded();
    QVERIFY(s);
    for (const QString& item : items)
        trigger(s, item.toLatin1().constData());
    d->search(query);
    QVERIFY2(d->session.rowCount() > std::size_t(row), qPrintable(d->rows().join(QLatin1Char(' '))));

    ContextViewer* v = d->openRow(std::size_t(row));
    QVERIFY(v);
    QCOMPARE(child<QLabel>(v, "Label6")->text(), form);
    QCOMPARE(formMarked(child<QTextEdit>(v, "label3")), latin);
    QCOMPARE(formMarked(child<QTextEdit>(v, "label4")), french);

    // A step away and back marks the same again.
    click(v, row > 1 ? "Command2" : "Command1");
    click(v, row > 1 ? "Command1" : "Command2");
    QCOMPARE(std::size_t(row), d->session.viewer().row);
    QCOMPARE(formMarked(child<QTextEdit>(v, "label3")), latin);
    QCOMPARE(formMarked(child<QTextEdit>(v, "label4")), french);
}

void ViewerChoicesTest::aListTurnedToTheFrenchSideGetsNoLatinMarksInTheFrenchPane_data()
{
    QTest::addColumn<bool>("frenchNamedLate");  // the French text named only after the viewer opened
    QTest::addColumn<QString>("french");        // the French pane after each choice
    QTest::newRow("French passage shown") << false << "[1] Dieu dit et le ciel est. ";
    QTest::newRow("French text named after the viewer opened") << true << "";
}

void ViewerChoicesTest::aListTurnedToTheFrenchSideGetsNoLatinMarksInTheFrenchPane()
{
    QFETCH(bool, frenchNamedLate);
    QFETCH(QString, french);
    // Marks of the Latin pane fell outside an empty French pane (Qt warned) or on other words.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("QTextCursor")));
    d->useTexts(kLatin, kFrench);
    if (frenchNamedLate)
        d->setBox("Text_francais", QString());
    d->search(QStringLiteral("caelum"));
    ContextViewer* v = d->openRow(1);
    QVERIFY(v);
    QCOMPARE(formMarked(child<QTextEdit>(v, "label3")), QStringLiteral("[1] Deus dixit et <caelum> est. "));
    if (frenchNamedLate)
        d->setBox("Text_francais", d->frenchPath);
    // The French side on, then off: the panes are written again while the list is still the
    // one searched before.
    SearchWindow* s = d->windows.searchWindowIfLoaded();
    trigger(s, "cote_francais");
    QVERIFY(d->session.listOfFrenchText());
    QCOMPARE(formMarked(child<QTextEdit>(v, "label4")), french);
    trigger(s, "cote_francais");
    QVERIFY(!d->session.listOfFrenchText());
    QCOMPARE(formMarked(child<QTextEdit>(v, "label4")), french);
}

QTEST_MAIN(ViewerChoicesTest)
#include "ViewerChoicesTest.moc"
