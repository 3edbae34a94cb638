// "&Enregistrer" of the search window driven through the platform doubles: the dialog, the
// overwrite question, the bytes of the result file, and the failures that must lose nothing.

#include "cli/CliRunner.h"
#include "session/SearchDate.h"
#include "support/FileSizeLimit.h"
#include "support/WindowDriver.h"

#include <QDialog>
#include <QDir>
#include <QPointer>

#include <csignal>
#include <filesystem>
#include <sstream>
#include <sys/resource.h>

using namespace quorvex;

namespace {

const QByteArray kLatin = "[1] Puer rosam amat.\r\n[2] Puella rosam videt.\r\n";
const QByteArray kFrench = cp1252("[1] Le garçon aime la rose.\r\n[2] La fille voit la rose.\r\n");
const QByteArray kRule(74, '-');
const QByteArray kListHeader = cp1252("Forme(s)                            Références");

QByteArray lines(const QList<QByteArray>& all)
{
    QByteArray out;
    for (const QByteArray& line : all)
        out += line + "\r\n";
    return out;
}

} // namespace

class SaveCommandTest : public WindowTest {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
    void dateUnderRegionalSettings_data();
    void dateUnderRegionalSettings();
    void savingTwiceToOneNameAsks_data();
    void savingTwiceToOneNameAsks();
    void dialogOpensInAnOrdinaryFolder_data();
    void dialogOpensInAnOrdinaryFolder();
    void savedFile_data();
    void savedFile();
    void guardedSaves_data();
    void guardedSaves();
    void inputDuringTheSaveChangesNothing();
    void aDialogOfTheCommandClosesAsItsOwn();
    void failureKeepsOldFileAndGrid_data();
    void failureKeepsOldFileAndGrid();

private:
    SearchWindow* search(const QString& query)
    {
        d->useTexts(kLatin, kFrench, QStringLiteral("Essai"));
        return d->search(query);
    }
    // Answers the dialog with `name` (an empty name cancels) and saves.
    void save(const QString& name)
    {
        d->doubles.dialogs.queueAnswer(name);
        trigger(d->windows.searchWindowIfLoaded(), "enregistrer");
    }
    bool expectDone()
    {
        return d->doubles.messages.expectNext(okBox(QStringLiteral("L'enregistrement est terminé.")));
    }
    bool expectQuestion(const QString& path)
    {
        return d->doubles.messages.expectNext(
            {path + QStringLiteral(" existe.\r\nDésirez-vous l'écraser?"), QStringLiteral("Fichier existant"),
             MessageButtons::YesNo, MessageAnswer::Yes, MessageIcon::None});
    }
    QString out() const { return d->dir.filePath(QStringLiteral("resultat.txt")); }
    int filesInFolder() const { return int(QDir(d->dir.path()).entryList(QDir::Files).size()); }
};

void SaveCommandTest::dateUnderRegionalSettings_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text");
    const QLocale french(QLocale::French, QLocale::France);
    QTest::newRow("French") << french << QTime(11, 25, 50) << "04/12/2026 11:25:50";
    QTest::newRow("French at midnight") << french << QTime(0, 0) << "04/12/2026";
    QTest::newRow("French one second after midnight") << french << QTime(0, 0, 1) << "04/12/2026 00:00:01";
    QTest::newRow("American") << QLocale(QLocale::English, QLocale::UnitedStates) << QTime(11, 25, 50)
                              << "12/4/26 11:25:50 AM";
    // A system without a locale writes the French form, not "4 Dec 2026".
    QTest::newRow("no locale (C)") << QLocale::c() << QTime(11, 25, 50) << "04/12/2026 11:25:50";
    QTest::newRow("no locale (C) at midnight") << QLocale::c() << QTime(0, 0) << "04/12/2026";
}

void SaveCommandTest::dateUnderRegionalSettings()
{
    QFETCH(QLocale, locale);
    QFETCH(QTime, time);
    QFETCH(QString, text);
    QCOMPARE(searchDateText(QDateTime(QDate(2026, 12, 4), time), locale), text);
}

void SaveCommandTest::savingTwiceToOneNameAsks_data()
{
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("No keeps it") << false;
    QTest::newRow("Yes replaces it") << true;
}

void SaveCommandTest::savingTwiceToOneNameAsks()
{
    QFETCH(bool, overwrite);
    SearchWindow* s = search(QStringLiteral("rosam"));
    d->doubles.busy.switches.clear();
    QVERIFY(s);
    save(QString());  // a cancel: nothing written, nothing shown
    QCOMPARE(d->doubles.dialogs.calls.size(), 1);
    const DialogCall call = d->doubles.dialogs.calls.first();
    QVERIFY(call.kind == DialogCall::Save && call.parent == s && call.proposedName.isEmpty());
    QCOMPARE(call.filter, QStringLiteral("Fichiers Texte (*.TXT)|*.TXT"));
    QVERIFY(d->doubles.busy.switches.isEmpty() && filesInFolder() == 2);
    save(out());
    QVERIFY(expectDone());
    const QByteArray first = readTestFile(out());
    d->search(QStringLiteral("puer"));
    d->doubles.busy.switches.clear();
    d->doubles.files.asked.clear();
    d->doubles.messages.queueAnswer(overwrite ? MessageAnswer::Yes : MessageAnswer::No);
    save(out());
    // The dialog proposes the name chosen before; the file now exists.
    QCOMPARE(d->doubles.dialogs.calls.last().proposedName, out());
    const QList<ShownMessage> shown = d->doubles.messages.shown();
    QVERIFY(expectQuestion(out()));
    QCOMPARE(d->doubles.files.asked, QStringList{out()});
    QVERIFY(!shown.first().pointerBusy);
    if (!overwrite) {
        QCOMPARE(readTestFile(out()), first);
        QVERIFY(d->doubles.busy.switches.isEmpty());
        return;
    }
    QVERIFY(expectDone());
    QVERIFY(!shown.last().pointerBusy);  // the pointer is back before the closing message
    QVERIFY(readTestFile(out()).contains("Puer                                [1]\r\n"));
    QCOMPARE(d->doubles.busy.timesOn(s), 1);
    QCOMPARE(filesInFolder(), 3);  // no temporary file left beside it
}

void SaveCommandTest::dialogOpensInAnOrdinaryFolder_data()
{
    QTest::addColumn<QString>("folderBecomes");  // what the folder of the last save is now
    QTest::addColumn<bool>("proposedThere");
    QTest::newRow("still a folder on disk") << "ordinary" << true;
    QTest::newRow("a view of the system, as /proc") << "system view" << false;
    QTest::newRow("gone") << "gone" << false;
}

void SaveCommandTest::dialogOpensInAnOrdinaryFolder()
{
    QFETCH(QString, folderBecomes);
    QFETCH(bool, proposedThere);
    QVERIFY(search(QStringLiteral("rosam")));
    const QString folder = d->dir.filePath(QStringLiteral("sortie"));
    QVERIFY(QDir().mkpath(folder));
    const QString saved = folder + QStringLiteral("/liste.txt");
    save(saved);
    QVERIFY(expectDone());
    if (folderBecomes == QLatin1String("system view"))
        d->doubles.files.systemViews << folder;
    else if (folderBecomes == QLatin1String("gone"))
        QVERIFY(QDir(folder).removeRecursively());
    save(QString());
    const QString besideLatin = QFileInfo(d->latinPath).absoluteDir().filePath(QStringLiteral("liste.txt"));
    QCOMPARE(d->doubles.dialogs.calls.last().proposedName, proposedThere ? saved : besideLatin);
}

void SaveCommandTest::inputDuringTheSaveChangesNothing()
{
    SearchWindow* s = search(QStringLiteral("rosam"));
    QVERIFY(s);
    s->onSortByFormClicked();
    const QStringList rowsBefore = d->rows();
    auto* typed = child<QLineEdit>(s, "Text1");
    const QString typedBefore = typed->text();
    // The user tries everything while the file is written: type and search again, sort,
    // close the search window and the text window.
    int tries = 0;
    d->doubles.progress.onAdvance = [&] {
        ++tries;
        QTest::keyClicks(typed, QStringLiteral("puer"));
        QTest::keyClick(typed, Qt::Key_Return);
        QTest::mouseClick(child<QPushButton>(s, "Command2"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(s, "Command1"), Qt::LeftButton);
        QVERIFY(!s->close());
        QVERIFY(!d->windows.textWindowIfLoaded()->close());
    };
    save(out());
    QVERIFY(expectDone());
    QVERIFY(tries > 0);
    QCOMPARE(d->windows.searchWindowIfLoaded(), s);
    QVERIFY(d->windows.textWindowIfLoaded());
    QCOMPARE(typed->text(), typedBefore);
    QCOMPARE(d->rows(), rowsBefore);

    // The file is the list shown when the command began, as a save left alone writes it.
    d->doubles.progress.onAdvance = nullptr;
    const QString alone = d->dir.filePath(QStringLiteral("seul.txt"));
    save(alone);
    QVERIFY(expectDone());
    QFile written(out()), reference(alone);
    QVERIFY(written.open(QIODevice::ReadOnly) && reference.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), reference.readAll());
    // Once the command is over the window takes input again.
    QTest::keyClicks(typed, QStringLiteral("x"));
    QCOMPARE(typed->text(), typedBefore + QStringLiteral("x"));
}

void SaveCommandTest::aDialogOfTheCommandClosesAsItsOwn()
{
    // The progress on screen is a window of its own: closing it from the window system
    // (Alt+F4, its close box) during the save must close it as a dialog closes, never
    // unload it as one of the program's windows, which destroyed it under the save.
    SearchWindow* s = search(QStringLiteral("rosam"));
    QVERIFY(s);
    QPointer<QDialog> progressLike = new QDialog;
    progressLike->show();
    bool closed = false;
    d->doubles.progress.onAdvance = [&] {
        if (progressLike && progressLike->isVisible())
            closed = progressLike->close();
    };
    save(out());
    QVERIFY(expectDone());
    QVERIFY(closed);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(progressLike);
    QVERIFY(!progressLike->isVisible());
    QCOMPARE(d->windows.searchWindowIfLoaded(), s);
    delete progressLike;
}

void SaveCommandTest::savedFile_data()
{
    QTest::addColumn<QByteArray>("latin");
    QTest::addColumn<QByteArray>("french");     // null: no French text named
    QTest::addColumn<QString>("query");         // null: saved before any search
    QTest::addColumn<QByteArray>("latinNow");   // named after the search; null: no change
    QTest::addColumn<QByteArray>("frenchNow");
    QTest::addColumn<QString>("title");         // typed after the search
    QTest::addColumn<QByteArray>("body");       // from line 5 on
    const QByteArray same;
    QTest::newRow("worked example") << kLatin << kFrench << "rosam" << same << same << "Essai"
        << lines({kListHeader, "rosam                               [1]", "rosam                               [2]",
                  kRule, "[1] Puer rosam amat.", "", cp1252("[1] Le garçon aime la rose."), "",
                  kRule, "[2] Puella rosam videt.", "", "[2] La fille voit la rose.", ""});
    QTest::newRow("no attestation: lines 1 to 5 only") << kLatin << kFrench << "nihil" << same << same << ""
                                                       << lines({kListHeader});
    // The header and one empty row: a line of 36 blanks and one block for the empty
    // reference. It is in force from the first character, which opens the passage without
    // entering it; the French text opens with a "[" and has no such passage.
    QTest::newRow("before any search") << QByteArray("x [1] a") << QByteArray("[1] b") << QString() << same
                                       << same << "T" << lines({kListHeader, QByteArray(36, ' '), kRule, " ", ""});
    // "*" sorts the grid by form before the save: the rows are written as shown.
    const QByteArray f34(34, 'a'), f35(35, 'b'), passage = "[1] " + f35 + " " + f34;
    QTest::newRow("forms of 35 and 34 characters sorted") << passage << QByteArray() << "*" << same << same << ""
        << lines({kListHeader, f34 + "  [1]", f35 + "[1]", kRule, passage, kRule, passage});
    QTest::newRow("texts named after the search window opened")
        << kLatin << kFrench << "videt" << QByteArray("[2] Alia.\r\n") << QByteArray("[2] Autre.") << "Nouvel été"
        << lines({kListHeader, "videt                               [2]", kRule, "[2] Alia.", "", "[2] Autre."});
}

void SaveCommandTest::savedFile()
{
    QFETCH(QByteArray, latin);
    QFETCH(QByteArray, french);
    QFETCH(QString, query);
    QFETCH(QByteArray, latinNow);
    QFETCH(QByteArray, frenchNow);
    QFETCH(QString, title);
    QFETCH(QByteArray, body);
    d->useTexts(latin, french, QStringLiteral("Avant"));
    trigger(d->windows.textWindow(), "concordance");
    SearchWindow* s = query.isNull() ? d->windows.searchWindowIfLoaded() : d->search(query);
    QVERIFY(s);
    if (query == QLatin1String("*"))
        click(s, "Command2");
    if (!latinNow.isNull()) {
        d->setBox("Text_latin", d->write(QStringLiteral("l2.txt"), latinNow));
        d->setBox("Text_francais", d->write(QStringLiteral("f2.txt"), frenchNow));
    }
    d->setBox("References", title);
    save(out());
    QVERIFY(expectDone());
    const QByteArray date = cp1252(searchDateText(d->session.loadMoment()).toUtf8().constData());
    QCOMPARE(readTestFile(out()), lines({cp1252("Référence(s) : ") + cp1252(title.toUtf8().constData()),
                                         cp1252("Recherche effectuée le : ") + date, kRule, ""})
                                      + body);
    // Under French settings line 2 reads like 04/12/2026 11:25:50.
    QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4}( \\d\\d:\\d\\d:\\d\\d)?$"))
                .match(QString::fromLatin1(date)).hasMatch());
    // Reading the grid moved its current cell to the last row, column 1, and nothing else.
    QCOMPARE(d->session.currentRow(), d->session.rowCount() - 1);
    QCOMPARE(d->session.currentColumn(), 1);
    // The command line writes the same bytes for the same texts, search, title and date.
    if (query.isNull() || !latinNow.isNull())
        return;
    const QString cli = d->dir.filePath(QStringLiteral("cli.txt"));
    std::vector<std::string> args = {"--latin", toPath(d->session.latinPath()), "--title", title.toStdString(),
                                     "--date", searchDateText(d->session.loadMoment()).toStdString(), "--output", toPath(cli)};
    if (!d->session.frenchPath().isEmpty())
        args.insert(args.end(), {"--french", toPath(d->session.frenchPath())});
    if (query == QLatin1String("*"))
        args.insert(args.end(), {"--sort", "forms"});
    args.insert(args.end(), {"--", query.toStdString()});
    std::ostringstream cliOutput, cliErrors;
    QCOMPARE(runCli(args, cliOutput, cliErrors), 0);
    QCOMPARE(readTestFile(cli), readTestFile(out()));
}

void SaveCommandTest::failureKeepsOldFileAndGrid_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("disk full while writing") << "full";
    QTest::newRow("path is a folder") << "folder";
    QTest::newRow("folder does not exist") << "nofolder";
    QTest::newRow("Latin text gone") << "latin";
    QTest::newRow("French text gone") << "french";
}

void SaveCommandTest::failureKeepsOldFileAndGrid()
{
    QFETCH(QString, kind);
    QVERIFY(search(QStringLiteral("rosam")));
    const QStringList gridBefore = d->rows();
    d->write(QStringLiteral("resultat.txt"), "ancien");

    QString target = out();
    QString named = target;
    if (kind == QLatin1String("folder")) {
        named = target = d->dir.filePath(QStringLiteral("dossier"));
        QVERIFY(QDir().mkdir(target));
    } else if (kind == QLatin1String("nofolder")) {
        named = target = d->dir.filePath(QStringLiteral("absent/resultat.txt"));
    } else if (kind == QLatin1String("latin") || kind == QLatin1String("french")) {
        named = kind == QLatin1String("latin") ? d->latinPath : d->frenchPath;
        QVERIFY(QFile::remove(named));
    }
    const bool exists = QFileInfo::exists(target);
    {
        std::unique_ptr<FileSizeLimit> limit;
        if (kind == QLatin1String("full"))
            limit = std::make_unique<FileSizeLimit>(100);
        save(target);
    }
    if (exists)
        QVERIFY(expectQuestion(target));  // answered Yes
    // Told once, with the pointer off, and no "L'enregistrement est terminé." after it.
    QVERIFY(!d->doubles.messages.shown().isEmpty() && !d->doubles.messages.shown().first().pointerBusy);
    QVERIFY(d->doubles.messages.expectNextNaming(named));
    // The old result file and the grid are as they were; no stray file remains.
    QCOMPARE(readTestFile(out()), QByteArray("ancien"));
    QCOMPARE(d->rows(), gridBefore);
    for (const QString& name : QDir(d->dir.path()).entryList(QDir::Files | QDir::Hidden))
        QVERIFY2(!name.contains(QLatin1String("~")) && !name.startsWith(QLatin1String(".quorvex-")),
                 qPrintable(name));
}

void SaveCommandTest::guardedSaves_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("written");  // the new result file replaced the old one
    QTest::newRow("read-only file: refused after the question") << "read-only" << false;
    QTest::newRow("a folder of the system") << "proc" << false;
    QTest::newRow("a device: written into") << "device" << true;
    QTest::newRow("over a gigabyte, Non: nothing written") << "huge" << false;
    QTest::newRow("progress shown, then cancelled") << "cancel" << false;
    QTest::newRow("progress cancelled where no file stood") << "cancel-new" << false;
    QTest::newRow("progress shown to the end") << "progress" << true;
    QTest::newRow("the Latin text: refused before the question") << "latin" << false;
    QTest::newRow("a link to the French text: refused before the question") << "french-link" << false;
}

void SaveCommandTest::guardedSaves()
{
    QFETCH(QString, kind);
    QFETCH(bool, written);
    if (kind == QLatin1String("proc") && !QFileInfo(QStringLiteral("/proc/self")).exists())
        QSKIP("no /proc here");
    if (kind == QLatin1String("huge")) {
        // 25 000 words and no marker: every row's passage is the whole text, 1.25 GB in all.
        QByteArray latin;
        for (int i = 0; i < 25000; ++i)
            latin += "a ";
        d->useTexts(latin, {}, QStringLiteral("Essai"));
        // statvfs, not the mount table: in a chroot or container no mount entry may cover the
        // folder, and the row would be skipped on a disk that has the room.
        std::error_code error;
        const auto room = std::filesystem::space(d->dir.path().toStdString(), error);
        if (error || room.available < 2'000'000'000)
            QSKIP("not enough free disk to reach the question");
        QVERIFY(d->search(QStringLiteral("a")));
    } else {
        QVERIFY(search(QStringLiteral("*")));
    }
    d->write(QStringLiteral("resultat.txt"), "ancien");
    QString target = out();
    if (kind == QLatin1String("read-only"))
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    else if (kind == QLatin1String("proc"))
        target = QStringLiteral("/proc/resultat.txt");
    else if (kind == QLatin1String("device"))
        target = QStringLiteral("/dev/null");
    else if (kind == QLatin1String("cancel"))
        d->doubles.progress.cancelAt = 1;
    else if (kind == QLatin1String("cancel-new")) {
        target = d->dir.filePath(QStringLiteral("nouveau.txt"));
        d->doubles.progress.cancelAt = 1;
    }
    else if (kind == QLatin1String("latin"))
        target = d->latinPath;
    else if (kind == QLatin1String("french-link")) {
        target = d->dir.filePath(QStringLiteral("lien.txt"));
        QVERIFY(QFile::link(d->frenchPath, target));
    }
    const bool isInput = kind == QLatin1String("latin") || kind == QLatin1String("french-link");
    const bool asksOverwrite = QFileInfo::exists(target) && !isInput;
    if (kind == QLatin1String("huge"))
        d->doubles.messages.queueAnswer(MessageAnswer::Yes);  // replace it
    save(target);

    if (asksOverwrite)
        QVERIFY(expectQuestion(target));
    if (kind == QLatin1String("read-only")) {
        QVERIFY(d->doubles.messages.expectNext(okBox(
            QStringLiteral("Le fichier « %1 » est en lecture seule : il n'a pas été remplacé.").arg(target),
            MessageIcon::Warning)));
    } else if (kind == QLatin1String("proc")) {
        QVERIFY(d->doubles.messages.expectNextNaming(target));
    } else if (kind == QLatin1String("huge")) {
        Message question;
        question.text = QStringLiteral("Le fichier fera 1,3 Go. Continuer ?");
        question.title = QStringLiteral("Veltrano - Quorvex");
        question.buttons = MessageButtons::YesNo;
        question.defaultAnswer = MessageAnswer::No;
        QVERIFY(!d->doubles.messages.shown().isEmpty());
        QVERIFY(!d->doubles.messages.shown().last().pointerBusy);
        QVERIFY(d->doubles.messages.expectNext(question));  // no answer scripted: Non
    } else if (kind == QLatin1String("cancel")) {
        QVERIFY(d->doubles.messages.expectNextNaming(QStringLiteral("annulée : l'ancien fichier est intact")));
    } else if (kind == QLatin1String("cancel-new")) {
        QVERIFY(d->doubles.messages.expectNextNaming(QStringLiteral("annulée : aucun fichier n'a été créé")));
        QVERIFY(!QFileInfo::exists(target));
    } else if (kind == QLatin1String("latin")) {
        QVERIFY(d->doubles.messages.expectNext(okBox(
            QStringLiteral("Le fichier de sortie est le texte latin : « %1 ».").arg(target), MessageIcon::Warning)));
        QCOMPARE(readTestFile(d->latinPath), kLatin);
    } else if (kind == QLatin1String("french-link")) {
        QVERIFY(d->doubles.messages.expectNext(okBox(
            QStringLiteral("Le fichier de sortie est le texte français : « %1 ».").arg(target),
            MessageIcon::Warning)));
        QCOMPARE(readTestFile(d->frenchPath), kFrench);
        QVERIFY(QFileInfo(target).isSymLink());
    } else {
        QVERIFY(expectDone());
    }
    if (kind == QLatin1String("cancel") || kind == QLatin1String("progress")) {
        // The progress covered the whole file, over the search window, and was closed.
        QCOMPARE(d->doubles.progress.begun, 1);
        QCOMPARE(d->doubles.progress.lastParent, static_cast<QWidget*>(d->windows.searchWindowIfLoaded()));
        QVERIFY(d->doubles.progress.total > 1000 && !d->doubles.progress.open);
        if (written)
            QCOMPARE(d->doubles.progress.last, d->doubles.progress.total);
    }
    QCOMPARE(readTestFile(out()) != QByteArray("ancien"), written && target == out());
    for (const QString& name : QDir(d->dir.path()).entryList(QDir::Files | QDir::Hidden))
        QVERIFY2(name == QLatin1String("resultat.txt") || name.endsWith(QLatin1String(".txt")), qPrintable(name));
}

QTEST_MAIN(SaveCommandTest)
#include "SaveCommandTest.moc"
