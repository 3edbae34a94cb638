// The text window driven through the platform doubles: the Concordance rule, the browse
// commands with their shared dialog, the opening of the search window, and the ways out.

#include "concordance/Frmcontexte.h"
#include "shell/Forms.h"
#include "shell/frmAbout.h"
#include "shell/frmtexte.h"
#include "support/TestFiles.h"
#include "support/TestPlatform.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace quorvex;

namespace {

const QString kFilter = QStringLiteral("Fichiers Texte (*.TXT)|*.TXT");

} // namespace

class TextWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsEmptyWithConcordanceGreyed();
    void tabOrderFollowsTheLayout();
    void concordanceRule_data();
    void concordanceRule();
    void browseSetsTheBoxAndSharesTheRememberedName();
    void browseCancelledChangesNothing();
    void browseMenuItemsRunTheButtons();
    void browseFileThatCannotBeOpened_data();
    void browseFileThatCannotBeOpened();
    void concordanceOpensTheSearchWindowOnce();
    void searchWindowNotOpenedWhenLatinFileUnreadable_data();
    void searchWindowNotOpenedWhenLatinFileUnreadable();
    void quitterClosesEverything();
    void closeBoxEndsTheProgram();

private:
    QLineEdit* box(const char* name) const { return m_window->findChild<QLineEdit*>(name); }
    QAction* action(const char* name) const { return m_window->findChild<QAction*>(name); }

    std::unique_ptr<TestPlatform> m_platform;
    std::unique_ptr<Forms> m_forms;
    QPointer<frmtexte> m_window;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TextWindowTest::init()
{
    m_platform = std::make_unique<TestPlatform>();
    m_forms = std::make_unique<Forms>(m_platform->platform());
    m_window = m_forms->texte();
    QVERIFY(m_window);
    Forms::present(m_window);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TextWindowTest::cleanup()
{
    m_forms.reset();
    m_platform.reset();
    m_dir.reset();
}

void TextWindowTest::startsEmptyWithConcordanceGreyed()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Veltrano - Quorvex"));
    for (const char* name : {"Text_latin", "Text_francais", "References"}) {
        QVERIFY2(box(name), name);
        QVERIFY2(box(name)->text().isEmpty(), name);
    }
    QVERIFY(!action("concordance")->isEnabled());
    QVERIFY(m_platform->messages.noneLeft());
}

void TextWindowTest::tabOrderFollowsTheLayout()
{
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box("Text_latin")));
    const char* order[] = {"Ouvrir_latin", "Ouvrir_francais", "Text_francais", "References"};
    for (const char* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
    }
}

void TextWindowTest::concordanceRule_data()
{
    QTest::addColumn<QString>("latin");
    QTest::addColumn<QString>("french");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("one character") << "a" << "" << true;
    QTest::newRow("blanks only count as text") << "   " << "" << true;
    QTest::newRow("a single blank") << " " << "" << true;
    QTest::newRow("French only") << "" << "/tmp/francais.txt" << false;
    QTest::newRow("both") << "x" << "y" << true;
}

void TextWindowTest::concordanceRule()
{
    QFETCH(QString, latin);
    QFETCH(QString, french);
    QFETCH(bool, enabled);
    QTest::keyClicks(box("Text_francais"), french);
    QVERIFY(!action("concordance")->isEnabled());
    QTest::keyClicks(box("Text_latin"), latin);
    QCOMPARE(action("concordance")->isEnabled(), enabled);
    // Editing the French box never changes the rule's outcome.
    box("Text_francais")->clear();
    QCOMPARE(action("concordance")->isEnabled(), enabled);
    // Deleting the Latin text character by character greys the command again.
    for (int i = 0; i < latin.size(); ++i)
        QTest::keyClick(box("Text_latin"), Qt::Key_Backspace);
    QVERIFY(!action("concordance")->isEnabled());
}

void TextWindowTest::browseSetsTheBoxAndSharesTheRememberedName()
{
    const QString latin = writeTestFile(*m_dir, "latin.txt", "[1] Arma virumque cano");
    const QString french = writeTestFile(*m_dir, "francais.TXT", "[1] Je chante");
    auto& dialogs = m_platform->dialogs;
    dialogs.queueAnswer(latin);
    QTest::mouseClick(m_window->findChild<QPushButton*>("Ouvrir_latin"), Qt::LeftButton);
    QCOMPARE(box("Text_latin")->text(), latin);
    QVERIFY(action("concordance")->isEnabled());

    // The French dialog proposes the name chosen for the Latin file; cancelling keeps all.
    QTest::mouseClick(m_window->findChild<QPushButton*>("Ouvrir_francais"), Qt::LeftButton);
    QCOMPARE(box("Text_francais")->text(), QString());

    dialogs.queueAnswer(french);
    QTest::mouseClick(m_window->findChild<QPushButton*>("Ouvrir_francais"), Qt::LeftButton);
    QCOMPARE(box("Text_francais")->text(), french);
    QCOMPARE(box("Text_latin")->text(), latin);

    QCOMPARE(dialogs.calls.size(), 3);
    const QString proposed[] = {QString(), latin, latin};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(dialogs.calls[i].kind, DialogCall::Open);
        QCOMPARE(dialogs.calls[i].filter, kFilter);
        QCOMPARE(dialogs.calls[i].proposedName, proposed[i]);
        QVERIFY(!dialogs.calls[i].pointerBusy);
        QCOMPARE(dialogs.calls[i].parent, static_cast<QWidget*>(m_window));
    }
    // The hourglass came on for the two files taken, and went off each time.
    QCOMPARE(m_platform->busy.timesOn(m_window), 2);
    QVERIFY(!m_platform->busy.anyBusy());
    QCOMPARE(m_platform->busy.unmatchedOffs(), 0);
    QVERIFY(m_platform->messages.noneLeft());
}

void TextWindowTest::browseCancelledChangesNothing()
{
    QTest::keyClicks(box("Text_latin"), QStringLiteral("typed.txt"));
    QTest::mouseClick(m_window->findChild<QPushButton*>("Ouvrir_latin"), Qt::LeftButton);
    QCOMPARE(box("Text_latin")->text(), QStringLiteral("typed.txt"));
    QVERIFY(action("concordance")->isEnabled());
    // A cancel does not change the remembered name either.
    QTest::mouseClick(m_window->findChild<QPushButton*>("Ouvrir_latin"), Qt::LeftButton);
    QCOMPARE(m_platform->dialogs.calls.size(), 2);
    QCOMPARE(m_platform->dialogs.calls[1].proposedName, QString());
    QCOMPARE(m_platform->busy.switches.size(), 0);
    QVERIFY(m_platform->messages.noneLeft());
}

void TextWindowTest::browseMenuItemsRunTheButtons()
{
    const QString latin = writeTestFile(*m_dir, "l.txt", "");
    const QString french = writeTestFile(*m_dir, "f.txt", "");
    m_platform->dialogs.queueAnswer(latin);
    m_platform->dialogs.queueAnswer(french);
    action("open_latin")->trigger();
    action("open_francais")->trigger();
    QCOMPARE(box("Text_latin")->text(), latin);
    QCOMPARE(box("Text_francais")->text(), french);
    QCOMPARE(m_platform->dialogs.calls[1].proposedName, latin);
}

void TextWindowTest::browseFileThatCannotBeOpened_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("makeFolder");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "absent.txt" << false
                             << QStringLiteral("Le fichier « %1 » est introuvable.");
    QTest::newRow("folder") << "dossier.txt" << true
                            << QStringLiteral("« %1 » est un dossier, pas un fichier texte.");
}

void TextWindowTest::browseFileThatCannotBeOpened()
{
    QFETCH(QString, name);
    QFETCH(bool, makeFolder);
    QFETCH(QString, message);
    const QString path = m_dir->filePath(name);
    if (makeFolder)
        QVERIFY(QDir().mkdir(path));
    const QString before = writeTestFile(*m_dir, "avant.txt", "[1] a");
    m_platform->dialogs.queueAnswer(before);
    m_platform->dialogs.queueAnswer(path);
    action("open_latin")->trigger();
    action("open_latin")->trigger();

    Message expected;
    expected.text = message.arg(path);
    expected.icon = MessageIcon::Warning;
    const auto shown = m_platform->messages.shown();
    QVERIFY(m_platform->messages.expectNext(expected));
    QCOMPARE(shown.first().parent, static_cast<QWidget*>(m_window));
    QVERIFY(shown.first().pointerBusy);  // told under the hourglass, which then goes
    QVERIFY(m_platform->messages.noneLeft());
    // The box keeps its old value and the pointer is back to normal.
    QCOMPARE(box("Text_latin")->text(), before);
    QVERIFY(!m_platform->busy.anyBusy());
    // The dialog still proposes the name typed last.
    action("open_latin")->trigger();
    QCOMPARE(m_platform->dialogs.calls.last().proposedName, path);
}

void TextWindowTest::concordanceOpensTheSearchWindowOnce()
{
    const QString latin = writeTestFile(*m_dir, "latin.txt", "[1] amor");
    box("Text_latin")->setText(latin);
    action("concordance")->trigger();
    QPointer<Frmcontexte> search = m_forms->contexteIfLoaded();
    QVERIFY(search);
    QVERIFY(search->isVisible());
    QCOMPARE(m_platform->busy.timesOn(m_window), 1);
    QVERIFY(!m_platform->busy.anyBusy());
    const QDateTime loaded = search->loadMoment();

    // Opening again only brings it forward: the file, now gone, is not read again.
    QVERIFY(QFile::remove(latin));
    action("concordance")->trigger();
    QCOMPARE(m_forms->contexteIfLoaded(), search.data());
    QCOMPARE(search->loadMoment(), loaded);
    QVERIFY(m_platform->messages.noneLeft());
}

void TextWindowTest::searchWindowNotOpenedWhenLatinFileUnreadable_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << "missing";
    QTest::newRow("folder") << "folder";
    QTest::newRow("too large") << "large";
}

void TextWindowTest::searchWindowNotOpenedWhenLatinFileUnreadable()
{
    QFETCH(QString, kind);
    const QString path = m_dir->filePath(QStringLiteral("latin.txt"));
    Message expected;
    expected.icon = MessageIcon::Warning;
    if (kind == QLatin1String("missing")) {
        expected.text = QStringLiteral("Le fichier « %1 » est introuvable.").arg(path);
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
        expected.text = QStringLiteral("« %1 » est un dossier, pas un fichier texte.").arg(path);
    } else {
        // A sparse file beyond what the program holds in memory: no disk space needed.
        QFile big(path);
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize((qint64(1) << 30) + 1));
        big.close();
        expected.text = QStringLiteral("Le fichier est trop volumineux.\r\n"
                                       "Le fichier ne peut dépasser la taille de 60 KO");
        expected.title = QStringLiteral("Fichier trop volumineux");
        expected.icon = MessageIcon::Information;
    }
    box("Text_latin")->setText(path);
    action("concordance")->trigger();
    QVERIFY(m_platform->messages.expectNext(expected));
    QVERIFY(m_platform->messages.noneLeft());
    QVERIFY(!m_forms->contexteIfLoaded());
    QVERIFY(!m_platform->busy.anyBusy());
    // Nothing else changed: the boxes and the command stay as they were.
    QCOMPARE(box("Text_latin")->text(), path);
    QVERIFY(action("concordance")->isEnabled());
}

void TextWindowTest::quitterClosesEverything()
{
    const QString latin = writeTestFile(*m_dir, "latin.txt", "[1] amor");
    box("Text_latin")->setText(latin);
    action("concordance")->trigger();
    action("about")->trigger();
    QPointer<QWidget> search = m_forms->contexteIfLoaded();
    QPointer<QWidget> about = m_forms->aboutIfLoaded();
    QVERIFY(search);
    QVERIFY(about);
    QSignalSpy quit(m_forms.get(), &Forms::quitRequested);
    action("quitter")->trigger();
    QCOMPARE(quit.count(), 1);
    QTRY_VERIFY(search.isNull() && about.isNull() && m_window.isNull());
    QVERIFY(m_platform->messages.noneLeft());
}

void TextWindowTest::closeBoxEndsTheProgram()
{
    QSignalSpy quit(m_forms.get(), &Forms::quitRequested);
    m_window->close();
    QCOMPARE(quit.count(), 1);
    QTRY_VERIFY(m_window.isNull());
}

QTEST_MAIN(TextWindowTest)
#include "TextWindowTest.moc"
