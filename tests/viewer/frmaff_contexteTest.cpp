// The context viewer driven as a user would: a search in the real search window, a click on
// the grid, then the viewer's buttons, over the platform doubles.

#include "concordance/Frmcontexte.h"
#include "platform/FlexGrid.h"
#include "shell/Forms.h"
#include "shell/frmAbout.h"
#include "shell/frmtexte.h"
#include "support/TestPlatform.h"
#include "viewer/ViewerState.h"
#include "viewer/frmaff_contexte.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <memory>

using namespace quorvex;

namespace {

// Windows-1252 texts. The Latin passage [3] runs over two lines; the text ends with a form.
const QByteArray kLatin = "Praefatio amor.\r\n"
                          "[1] Amor omnia vincit.\r\n"
                          "[2] Nihil hic.\r\n"
                          "[3] Amor et amor, amorem\r\nnon amor \xE6tas.\r\n"
                          "[4] Finis amor";
const QByteArray kFrench = "[1] L'amour vainc tout.\r\n"
                           "[3] L'amour et l'amour, \xE9t\xE9.\r\n"
                           "[4] Fin.";

// The search for "amor" gives these rows: form, and the start of the Latin pane shown.
struct Row {
    const char* form;
    const char* pane;
};
const Row kAmorRows[] = {
    {"amor", "raefatio amor.\n"},
    {"Amor", "[1] Amor omnia vincit.\n"},
    {"Amor", "[3] Amor et amor, amorem\nnon amor \u00E6tas.\n"},
    {"amor", "[3] Amor et amor, amorem\nnon amor \u00E6tas.\n"},
    {"amor", "[3] Amor et amor, amorem\nnon amor \u00E6tas.\n"},
    {"amor", "[4] Finis amor"},
};
constexpr int kAmorCount = 6;

// The Latin pane with every run that is bold and pure blue between < and >; "?" flags a run
// that is only one of the two, or is coloured another way.
QString marked(QTextEdit* pane)
{
    QString out;
    for (QTextBlock block = pane->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            const bool bold = f.fontWeight() == QFont::Bold;
            const bool blue = f.foreground().style() != Qt::NoBrush
                && f.foreground().color() == QColor(0, 0, 255);
            const bool coloured = f.foreground().style() != Qt::NoBrush;
            if (bold && blue)
                out += '<' + fragment.text() + '>';
            else if (bold || coloured)
                out += '?' + fragment.text() + '?';
            else
                out += fragment.text();
        }
        if (block.next().isValid())
            out += '\n';
    }
    return out;
}

} // namespace

class ViewerTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void picturesTipsAndTabOrder();
    void stepsThroughEveryRowAndBack();
    void singleAttestationDisablesBothSteps();
    void passageStepsStopAtTheEnds();
    void attestationStepAfterPassageSteps();
    void closingKeepsStateAndReopensOnAnotherRow();
    void marksEveryOccurrence_data();
    void marksEveryOccurrence();
    void frenchPaneKeptWhenReferenceMissing();
    void emptyFrenchPathLeavesFrenchPaneEmpty();
    void followsSortedGridFromCurrentRow();
    void shrunkGridNeverReadsMissingRow();
    void rowsBeyond16Bits();
    void fileGoneBetweenDisplaysChangesNothing();
    void fileGoneAtOpeningOpensNoViewer();

private:
    QString writeFile(const QString& name, const QByteArray& bytes);
    Frmcontexte* search(const QString& form);
    frmaff_contexte* openRow(std::size_t row);
    template <typename T>
    T* viewerChild(const char* name) const
    {
        frmaff_contexte* v = m_forms->affContexteIfLoaded();
        return v ? v->findChild<T*>(QLatin1String(name)) : nullptr;
    }
    QString latinPane() const { return viewerChild<QTextEdit>("label3")->toPlainText(); }
    QString frenchPane() const { return viewerChild<QTextEdit>("label4")->toPlainText(); }
    QString form() const { return viewerChild<QLabel>("Label6")->text(); }
    bool enabled(const char* button) const { return viewerChild<QPushButton>(button)->isEnabled(); }
    void click(const char* button) { viewerChild<QPushButton>(button)->click(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<Forms> m_forms;
    QString m_latinPath;
    QString m_frenchPath;
};

void ViewerTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_latinPath = writeFile(QStringLiteral("latin.txt"), kLatin);
    m_frenchPath = writeFile(QStringLiteral("français.txt"), kFrench);
    m_platform = std::make_unique<TestPlatform>();
    m_forms = std::make_unique<Forms>(m_platform->platform());
    frmtexte* texte = m_forms->texte();
    QVERIFY(texte);
    texte->findChild<QLineEdit*>(QStringLiteral("Text_latin"))->setText(m_latinPath);
    texte->findChild<QLineEdit*>(QStringLiteral("Text_francais"))->setText(m_frenchPath);
}

void ViewerTest::cleanup()
{
    if (!QTest::currentTestFailed())
        QVERIFY(m_platform->messages.noneLeft());
    QVERIFY(!m_platform->busy.anyBusy());
    m_forms.reset();
    m_platform.reset();
    m_dir.reset();
}

QString ViewerTest::writeFile(const QString& name, const QByteArray& bytes)
{
    QFile file(m_dir->filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the test text");
    return file.fileName();
}

Frmcontexte* ViewerTest::search(const QString& form)
{
    Frmcontexte* s = m_forms->contexte();
    if (!s)
        return nullptr;
    s->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(form);
    s->Command1_Click();
    return s;
}

// The user's click on a grid row.
frmaff_contexte* ViewerTest::openRow(std::size_t row)
{
    Frmcontexte* s = m_forms->contexteIfLoaded();
    s->grille01()->setRow(row);
    s->grille01_Click();
    return m_forms->affContexteIfLoaded();
}

void ViewerTest::picturesTipsAndTabOrder()
{
    QVERIFY(search(QStringLiteral("amor")));
    frmaff_contexte* v = openRow(2);
    QVERIFY(v);
    const struct {
        const char* name;
        const char* tip;
    } buttons[] = {{"Command1", "Attestation suivant"},
                   {"Command2", "Attestation précédent"},
                   {"Command3", "Texte précédent"},
                   {"Command4", "Texte suivant"}};
    for (const auto& b : buttons) {
        QPushButton* button = viewerChild<QPushButton>(b.name);
        QVERIFY2(button, b.name);
        QCOMPARE(button->toolTip(), QString::fromUtf8(b.tip));
        QVERIFY(button->text().isEmpty());
        QCOMPARE(button->iconSize(), QSize(104, 38) * (button->logicalDpiX() / 96.0));
    }
    for (const char* picture : {":/viewer/backward.svg", ":/viewer/forward.svg"})
        QCOMPARE(QSvgRenderer(QString::fromLatin1(picture)).defaultSize(), QSize(104, 38));
    // One picture for both backward steps, another for both forward steps.
    auto image = [this](const char* name) {
        return viewerChild<QPushButton>(name)->icon().pixmap(QSize(104, 38)).toImage();
    };
    QCOMPARE(image("Command3"), image("Command2"));
    QCOMPARE(image("Command4"), image("Command1"));
    QVERIFY(image("Command1") != image("Command2"));

    const char* order[] = {"Command1", "Command2", "Command3", "Command4", "label3", "label4"};
    // The next widget that Tab reaches, without going round past the window.
    auto nextTabStop = [v](QWidget* w) -> QWidget* {
        do {
            w = w->nextInFocusChain();
            if (w == v)
                return nullptr;
        } while (!(w->focusPolicy() & Qt::TabFocus));
        return w;
    };
    QCOMPARE(nextTabStop(v), viewerChild<QWidget>(order[0]));
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        QCOMPARE(nextTabStop(viewerChild<QWidget>(order[i])), viewerChild<QWidget>(order[i + 1]));

    // The panes sit in bold italic frames but show the passage in a regular face.
    for (const char* pane : {"label3", "label4"}) {
        const QFont font = viewerChild<QTextEdit>(pane)->font();
        QVERIFY(!font.bold() && !font.italic());
    }
}

void ViewerTest::stepsThroughEveryRowAndBack()
{
    Frmcontexte* s = search(QStringLiteral("amor"));
    QVERIFY(s);
    QCOMPARE(s->grille01()->Rows(), std::size_t(kAmorCount + 1));
    frmaff_contexte* v = openRow(1);
    QVERIFY(v);
    FakeBusyPointer& busy = m_platform->busy;
    for (int row = 1; row <= kAmorCount; ++row) {
        if (row > 1)
            click("Command1");
        QCOMPARE(m_forms->viewerState().ligne_courante, std::size_t(row));
        QCOMPARE(form(), QString::fromUtf8(kAmorRows[row - 1].form));
        QCOMPARE(latinPane(), QString::fromUtf8(kAmorRows[row - 1].pane));
        QCOMPARE(s->grille01()->Row(), std::size_t(row));
        QCOMPARE(s->grille01()->Col(), 0);
        QCOMPARE(enabled("Command1"), row != kAmorCount);
        QCOMPARE(enabled("Command2"), row != 1);
    }
    QCOMPARE(busy.timesOn(v), kAmorCount - 1);
    for (int row = kAmorCount - 1; row >= 1; --row) {
        click("Command2");
        QCOMPARE(m_forms->viewerState().ligne_courante, std::size_t(row));
        QCOMPARE(form(), QString::fromUtf8(kAmorRows[row - 1].form));
        QCOMPARE(latinPane(), QString::fromUtf8(kAmorRows[row - 1].pane));
    }
    QVERIFY(!enabled("Command2"));
    QVERIFY(enabled("Command1"));
    QCOMPARE(busy.timesOn(v), 2 * (kAmorCount - 1));
    QCOMPARE(busy.unmatchedOffs(), 0);
}

void ViewerTest::singleAttestationDisablesBothSteps()
{
    QVERIFY(search(QStringLiteral("finis")));
    QVERIFY(openRow(1));
    QCOMPARE(form(), QStringLiteral("Finis"));
    QCOMPARE(latinPane(), QStringLiteral("[4] Finis amor"));
    QCOMPARE(frenchPane(), QStringLiteral("[4] Fin."));
    QVERIFY(!enabled("Command1"));
    QVERIFY(!enabled("Command2"));
}

void ViewerTest::passageStepsStopAtTheEnds()
{
    QVERIFY(search(QStringLiteral("amor")));
    QVERIFY(openRow(2));  // passage [1], the first of the text
    QVERIFY(!enabled("Command3"));
    const char* forward[] = {"[2] Nihil hic.\n", "[3] Amor et amor, amorem\nnon amor \u00E6tas.\n",
                             "[4] Finis amor"};
    for (const char* pane : forward) {
        QVERIFY(enabled("Command4"));
        click("Command4");
        QCOMPARE(latinPane(), QString::fromUtf8(pane));
        QVERIFY(enabled("Command3"));
    }
    // The last passage: a further step would show a stale one.
    QVERIFY(!enabled("Command4"));
    QCOMPARE(m_forms->viewerState().ligne_courante, std::size_t(2));
    QCOMPARE(form(), QStringLiteral("Amor"));
    for (const char* pane : {"[3] Amor et amor", "[2] Nihil", "[1] Amor omnia"}) {
        click("Command3");
        QVERIFY2(latinPane().startsWith(QString::fromUtf8(pane)), qPrintable(latinPane()));
    }
    QVERIFY(!enabled("Command3"));
    QVERIFY(enabled("Command4"));
}

void ViewerTest::attestationStepAfterPassageSteps()
{
    QVERIFY(search(QStringLiteral("amor")));
    QVERIFY(openRow(2));
    click("Command4");
    click("Command4");
    QVERIFY(latinPane().startsWith(QStringLiteral("[3]")));
    click("Command3");
    QVERIFY(latinPane().startsWith(QStringLiteral("[2]")));
    click("Command1");
    QCOMPARE(m_forms->viewerState().ligne_courante, std::size_t(3));
    QCOMPARE(latinPane(), QString::fromUtf8(kAmorRows[2].pane));
    QCOMPARE(form(), QStringLiteral("Amor"));
}

void ViewerTest::closingKeepsStateAndReopensOnAnotherRow()
{
    Frmcontexte* s = search(QStringLiteral("amor"));
    QVERIFY(s);
    QVERIFY(openRow(kAmorCount));
    QVERIFY(!enabled("Command1"));
    viewerChild<QAction>("fermer")->trigger();
    QVERIFY(!m_forms->affContexteIfLoaded());
    QCOMPARE(m_forms->viewerState().ligne_courante, std::size_t(kAmorCount));
    QCOMPARE(m_forms->viewerState().reference_precedente, std::string("[3]"));

    QVERIFY(openRow(3));
    QCOMPARE(form(), QStringLiteral("Amor"));
    QCOMPARE(latinPane(), QString::fromUtf8(kAmorRows[2].pane));
    QCOMPARE(frenchPane(), QString::fromUtf8("[3] L'amour et l'amour, \u00E9t\u00E9.\n"));
    QVERIFY(enabled("Command1"));
    QVERIFY(enabled("Command2"));
    QCOMPARE(m_forms->viewerState().ligne_courante, std::size_t(3));

    // Opening again while open only brings it forward: what it shows stays.
    s->grille01()->setRow(5);
    s->grille01_Click();
    QCOMPARE(m_forms->viewerState().ligne_courante, std::size_t(3));
    QCOMPARE(form(), QStringLiteral("Amor"));

    viewerChild<QAction>("about")->trigger();
    QVERIFY(m_forms->aboutIfLoaded());
    QVERIFY(m_forms->aboutIfLoaded()->isVisible());

    // Closing the search window takes the viewer with it.
    s->quitter_Click();
    QVERIFY(!m_forms->affContexteIfLoaded());
}

void ViewerTest::marksEveryOccurrence_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("expected");
    const QString twoLines = QString::fromUtf8("[3] <Amor> et <amor>, amorem\nnon <amor> \u00E6tas.\n");
    QTest::newRow("capitalised form, several lines") << "amor" << 3 << twoLines;
    QTest::newRow("small form, same marks") << "amor" << 4 << twoLines;
    QTest::newRow("form at the very end") << "amor" << 6 << QStringLiteral("[4] Finis <amor>");
    QTest::newRow("longer word alone") << "amorem" << 1 << QStringLiteral("[3] Amor et amor, <amorem>\nnon amor \u00E6tas.\n");
    QTest::newRow("before the first marker") << "amor" << 1 << QStringLiteral("raefatio <amor>.\n");
    QTest::newRow("accented letters") << QString::fromUtf8("\u00E6tas") << 1
                                      << QString::fromUtf8("[3] Amor et amor, amorem\nnon amor <\u00E6tas>.\n");
}

void ViewerTest::marksEveryOccurrence()
{
    QFETCH(QString, query);
    QFETCH(int, row);
    QFETCH(QString, expected);
    QVERIFY(search(query));
    QVERIFY(openRow(std::size_t(row)));
    QTextEdit* pane = viewerChild<QTextEdit>("label3");
    QCOMPARE(marked(pane), expected);
    QVERIFY(!pane->textCursor().hasSelection());
    // Only the Latin pane is marked; the pane's plain text keeps the passage's line breaks.
    QVERIFY(!marked(viewerChild<QTextEdit>("label4")).contains('<'));
    QCOMPARE(pane->toPlainText(), QString(expected).remove('<').remove('>'));
}

void ViewerTest::frenchPaneKeptWhenReferenceMissing()
{
    QVERIFY(search(QStringLiteral("amor")));
    QVERIFY(openRow(1));  // before the first marker, which the French text lacks
    QCOMPARE(frenchPane(), QString());
    viewerChild<QAction>("fermer")->trigger();
    QVERIFY(openRow(2));
    QCOMPARE(frenchPane(), QStringLiteral("[1] L'amour vainc tout.\n"));
    click("Command4");  // [2], which the French text lacks
    QCOMPARE(latinPane(), QStringLiteral("[2] Nihil hic.\n"));
    QCOMPARE(frenchPane(), QStringLiteral("[1] L'amour vainc tout.\n"));
}

void ViewerTest::emptyFrenchPathLeavesFrenchPaneEmpty()
{
    m_forms->texte()->findChild<QLineEdit*>(QStringLiteral("Text_francais"))->clear();
    QVERIFY(search(QStringLiteral("amor")));
    QVERIFY(openRow(2));
    QCOMPARE(latinPane(), QString::fromUtf8(kAmorRows[1].pane));
    QCOMPARE(frenchPane(), QString());
    click("Command1");
    QCOMPARE(frenchPane(), QString());
}

void ViewerTest::followsSortedGridFromCurrentRow()
{
    // am* in text order: amor, Amor, Amor, amor, amorem, amor, amor; by form the amorem row
    // goes last.
    Frmcontexte* s = search(QStringLiteral("am*"));
    QVERIFY(s);
    QVERIFY(openRow(4));
    QCOMPARE(form(), QStringLiteral("amor"));
    s->Command2_Click();
    click("Command1");
    QCOMPARE(m_forms->viewerState().ligne_courante, std::size_t(5));
    QCOMPARE(form(), QStringLiteral("amor"));
    QCOMPARE(QString::fromStdString(m_forms->viewerState().reference_attestation), QStringLiteral("[3]"));
    click("Command1");
    click("Command1");
    QCOMPARE(form(), QStringLiteral("amorem"));
    QVERIFY(!enabled("Command1"));
}

void ViewerTest::shrunkGridNeverReadsMissingRow()
{
    Frmcontexte* s = search(QStringLiteral("amor"));
    QVERIFY(s);
    QVERIFY(openRow(kAmorCount));
    search(QStringLiteral("finis"));  // one attestation left
    click("Command2");
    QCOMPARE(m_forms->viewerState().ligne_courante, std::size_t(1));
    QCOMPARE(form(), QStringLiteral("Finis"));
    QVERIFY(!enabled("Command2"));
    QVERIFY(!enabled("Command1"));

    search(QStringLiteral("nusquam"));  // none left
    QCOMPARE(s->grille01()->Rows(), std::size_t(1));
    viewerChild<QPushButton>("Command2")->setEnabled(true);
    viewerChild<QPushButton>("Command1")->setEnabled(true);
    click("Command2");
    click("Command1");
    QCOMPARE(m_forms->viewerState().ligne_courante, std::size_t(1));
    QCOMPARE(form(), QStringLiteral("Finis"));
}

void ViewerTest::rowsBeyond16Bits()
{
    Frmcontexte* s = search(QStringLiteral("amor"));
    QVERIFY(s);
    const std::size_t rows = 40000;
    GridModel& cells = s->grille01()->cells();
    for (std::size_t r = cells.rows(); r <= rows; ++r)
        cells.appendRow(r % 2 ? "amor" : "Finis", "[4]");
    s->grille01()->refresh();
    QVERIFY(openRow(rows));
    QCOMPARE(form(), QStringLiteral("Finis"));
    QVERIFY(!enabled("Command1"));
    click("Command2");
    QCOMPARE(m_forms->viewerState().ligne_courante, rows - 1);
    QCOMPARE(form(), QStringLiteral("amor"));
    QCOMPARE(s->grille01()->Row(), rows - 1);
}

void ViewerTest::fileGoneBetweenDisplaysChangesNothing()
{
    Frmcontexte* s = search(QStringLiteral("amor"));
    QVERIFY(s);
    QVERIFY(openRow(2));
    const QString latinBefore = latinPane();
    const QString frenchBefore = frenchPane();
    QVERIFY(QFile::remove(m_frenchPath));

    click("Command1");
    Message expected;
    expected.text = QStringLiteral("Le fichier « %1 » est introuvable.\nLe passage ne peut pas être affiché.")
                        .arg(m_frenchPath);
    expected.icon = MessageIcon::Warning;
    QVERIFY(m_platform->messages.expectNext(expected));
    QCOMPARE(latinPane(), latinBefore);
    QCOMPARE(frenchPane(), frenchBefore);
    QCOMPARE(form(), QStringLiteral("Amor"));
    QCOMPARE(m_forms->viewerState().ligne_courante, std::size_t(2));
    QCOMPARE(s->grille01()->Row(), std::size_t(2));

    QVERIFY(QFile::remove(m_latinPath));
    click("Command4");
    const std::optional<ShownMessage> shown = m_platform->messages.take();
    QVERIFY2(shown, "no message box was shown");
    QVERIFY(shown->message.text.contains(m_latinPath));
    QCOMPARE(latinPane(), latinBefore);
}

void ViewerTest::fileGoneAtOpeningOpensNoViewer()
{
    QVERIFY(search(QStringLiteral("amor")));
    QVERIFY(QFile::remove(m_latinPath));
    QVERIFY(!openRow(2));
    const std::optional<ShownMessage> shown = m_platform->messages.take();
    QVERIFY2(shown, "no message box was shown");
    QVERIFY(shown->message.text.contains(m_latinPath));
}

QTEST_MAIN(ViewerTest)
#include "frmaff_contexteTest.moc"
