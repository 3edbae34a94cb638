// The text window driven through the platform doubles: the Concordance rule, the browse
// commands with their shared dialog, the opening of the search window, and the ways out.

#include "windows/AboutBox.h"
#include "support/WindowDriver.h"

#include <sys/stat.h>

#include <QApplication>
#include <QPointer>
#include <QSignalSpy>

using namespace quorvex;

class TextWindowTest : public WindowTest {
    Q_OBJECT

private slots:
    void init();
    void startsEmptyWithConcordanceGreyed();
    void concordanceRule_data();
    void concordanceRule();
    void browseSharesTheRememberedName();
    void unreadableFile_data();
    void unreadableFile();
    void concordanceOpensTheSearchWindowOnce();
    void waysOutEndEverything_data();
    void waysOutEndEverything();

private:
    QLineEdit* box(const char* name) const { return child<QLineEdit>(w, name); }
    bool concordance() const { return child<QAction>(w, "concordance")->isEnabled(); }

    QPointer<TextWindow> w;
};

void TextWindowTest::init()
{
    WindowTest::init();
    w = d->windows.textWindow();
    WindowManager::present(w);
}

void TextWindowTest::startsEmptyWithConcordanceGreyed()
{
    QCOMPARE(w->windowTitle(), QStringLiteral("Veltrano - Quorvex"));
    for (const char* name : {"Text_latin", "Text_francais", "References"})
        QVERIFY2(box(name)->text().isEmpty(), name);
    QVERIFY(!concordance());
    QApplication::setActiveWindow(w);
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(box("Text_latin")));
    for (const char* next : {"Ouvrir_latin", "Ouvrir_francais", "Text_francais", "References"}) {
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
    QTest::newRow("blanks only count as text") << "   " << "y" << true;
    QTest::newRow("French only") << "" << "/tmp/francais.txt" << false;
}

void TextWindowTest::concordanceRule()
{
    QFETCH(QString, latin);
    QFETCH(QString, french);
    QFETCH(bool, enabled);
    QTest::keyClicks(box("Text_francais"), french);
    QVERIFY(!concordance());
    QTest::keyClicks(box("Text_latin"), latin);
    QCOMPARE(concordance(), enabled);
    // Editing the French box never changes the rule's outcome.
    box("Text_francais")->clear();
    QCOMPARE(concordance(), enabled);
    // Deleting the Latin text character by character greys the command again.
    for (int i = 0; i < latin.size(); ++i)
        QTest::keyClick(box("Text_latin"), Qt::Key_Backspace);
    QVERIFY(!concordance());
}

void TextWindowTest::browseSharesTheRememberedName()
{
    const QString latin = d->write(QStringLiteral("latin.txt"), "[1] Arma virumque cano");
    const QString french = d->write(QStringLiteral("francais.TXT"), "[1] Je chante");
    FakeFileDialogs& dialogs = d->doubles.dialogs;
    dialogs.queueAnswer(latin);
    click(w, "Ouvrir_latin");
    QCOMPARE(box("Text_latin")->text(), latin);
    QVERIFY(concordance());
    // The French dialog proposes the name chosen for the Latin file; a cancel keeps all.
    click(w, "Ouvrir_francais");
    QCOMPARE(box("Text_francais")->text(), QString());
    dialogs.queueAnswer(french);
    trigger(w, "open_francais");  // the menu item runs the button's command
    QCOMPARE(box("Text_francais")->text(), french);
    QCOMPARE(box("Text_latin")->text(), latin);

    QStringList proposed;
    for (const DialogCall& call : dialogs.calls) {
        proposed << call.proposedName;
        QVERIFY(call.kind == DialogCall::Open && call.parent == w && !call.pointerBusy);
        QCOMPARE(call.filter, QStringLiteral("Fichiers Texte (*.TXT)|*.TXT"));
    }
    QCOMPARE(proposed, (QStringList{QString(), latin, latin}));
    // The hourglass came on for the two files taken only.
    QCOMPARE(d->doubles.busy.timesOn(w), 2);
}

void TextWindowTest::unreadableFile_data()
{
    QTest::addColumn<bool>("browse");  // chosen in the dialog, or named when opening the search window
    QTest::addColumn<QString>("kind");
    QTest::newRow("browse, missing") << true << "missing";
    QTest::newRow("Concordance, folder") << false << "folder";
    QTest::newRow("Concordance, too large") << false << "large";
    // Nothing waits for a writer or reads without end: refused at once.
    QTest::newRow("browse, FIFO without writer") << true << "fifo";
    QTest::newRow("Concordance, FIFO without writer") << false << "fifo";
    QTest::newRow("Concordance, a device") << false << "device";
}

void TextWindowTest::unreadableFile()
{
    QFETCH(bool, browse);
    QFETCH(QString, kind);
    const QString path = kind == QLatin1String("device") ? QStringLiteral("/dev/zero")
                                                         : d->dir.filePath(QStringLiteral("latin.txt"));
    Message expected = okBox(QStringLiteral("Le fichier « %1 » est introuvable.").arg(path), MessageIcon::Warning);
    const QString notRegular = QStringLiteral("Le fichier « %1 » n'est pas un fichier ordinaire (tube, "
                                              "périphérique ou socket) : il n'a pas été lu.");
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir().mkdir(path));
        expected.text = QStringLiteral("« %1 » est un dossier, pas un fichier texte.").arg(path);
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        expected.text = notRegular.arg(path);
    } else if (kind == QLatin1String("device")) {
        expected.text = notRegular.arg(path);
    } else if (kind == QLatin1String("large")) {
        // A sparse file beyond what the program holds in memory: no disk space needed.
        QFile big(path);
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize((qint64(1) << 30) + 1));
        expected = okBox(QStringLiteral("Le fichier est trop volumineux.\r\nLe fichier ne peut dépasser la taille de 60 KO"),
                         MessageIcon::Information, QStringLiteral("Fichier trop volumineux"));
    }
    const QString before = browse ? d->write(QStringLiteral("avant.txt"), "[1] a") : path;
    if (browse) {
        d->doubles.dialogs.queueAnswer(before);
        d->doubles.dialogs.queueAnswer(path);
        trigger(w, "open_latin");
        trigger(w, "open_latin");
    } else {
        box("Text_latin")->setText(path);
        trigger(w, "concordance");
    }
    const ShownMessage shown = d->doubles.messages.shown().value(0);
    QVERIFY(d->doubles.messages.expectNext(expected));
    QVERIFY(shown.parent == w && shown.pointerBusy);  // told under the hourglass, which then goes
    // Nothing else changed: the box keeps its value, the command its state, and no search
    // window opened; the dialog still proposes the name chosen last.
    QCOMPARE(box("Text_latin")->text(), before);
    QVERIFY(concordance() && !d->windows.searchWindowIfLoaded());
    if (browse) {
        trigger(w, "open_latin");
        QCOMPARE(d->doubles.dialogs.calls.last().proposedName, path);
    }
}

void TextWindowTest::concordanceOpensTheSearchWindowOnce()
{
    d->useTexts("[1] amor");
    trigger(w, "concordance");
    QPointer<SearchWindow> search = d->windows.searchWindowIfLoaded();
    QVERIFY(search && search->isVisible());
    QCOMPARE(d->doubles.busy.timesOn(w), 1);
    const QDateTime loaded = d->session.loadMoment();
    // Opening again only brings it forward: the file, now gone, is not read again.
    QVERIFY(QFile::remove(d->latinPath));
    trigger(w, "concordance");
    QCOMPARE(d->windows.searchWindowIfLoaded(), search.data());
    QCOMPARE(d->session.loadMoment(), loaded);
}

void TextWindowTest::waysOutEndEverything_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("&Quitter") << false;
    QTest::newRow("close box") << true;
}

void TextWindowTest::waysOutEndEverything()
{
    QFETCH(bool, closeBox);
    d->useTexts("[1] amor");
    trigger(w, "concordance");
    trigger(w, "about");
    QPointer<QWidget> search = d->windows.searchWindowIfLoaded();
    QPointer<QWidget> about = d->windows.aboutBoxIfLoaded();
    QVERIFY(search && about);
    QSignalSpy quit(&d->windows, &WindowManager::quitRequested);
    if (closeBox)
        w->close();
    else
        trigger(w, "quitter");
    QCOMPARE(quit.count(), 1);
    QTRY_VERIFY(search.isNull() && about.isNull() && w.isNull());
}

QTEST_MAIN(TextWindowTest)
#include "TextWindowTest.moc"
