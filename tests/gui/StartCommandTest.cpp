// The window program's command line: what it reads, and the program itself on a machine with no
// display: --help, --version and a refused line answered, the windows refused in one line.

#include "app/StartCommand.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QtTest>

using namespace quorvex;

class StartCommandTest : public QObject {
    Q_OBJECT
private slots:
    void readsTheLine_data();
    void readsTheLine();
    void answersWithoutADisplay_data();
    void answersWithoutADisplay();
};

using Kind = StartCommand::Kind;
Q_DECLARE_METATYPE(StartCommand::Kind)

void StartCommandTest::readsTheLine_data()
{
    QTest::addColumn<QStringList>("arguments");  // after the program's name
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("latin");          // as read from the folder /home/lea/textes
    QTest::addColumn<QString>("french");
    QTest::addColumn<QList<int>>("qt");          // what goes on to Qt, by index
    QTest::addColumn<QString>("refusal");        // a part of the message

    const QString here = QStringLiteral("/home/lea/textes/");
    const QList<int> name{0};
    QTest::newRow("nothing") << QStringList{} << Kind::Windows << "" << "" << name << "";
    QTest::newRow("Latin, relative") << QStringList{"latin.txt"} << Kind::Windows << here + "latin.txt" << ""
                                     << name << "";
    QTest::newRow("both, relative") << QStringList{"latin.txt", "fr/francais.txt"} << Kind::Windows
                                    << here + "latin.txt" << here + "fr/francais.txt" << name << "";
    QTest::newRow("absolute kept") << QStringList{"/srv/corpus/l.txt", "/srv/corpus/f.txt"} << Kind::Windows
                                   << "/srv/corpus/l.txt" << "/srv/corpus/f.txt" << name << "";
    QTest::newRow("dots resolved") << QStringList{"./a/../latin.txt"} << Kind::Windows << here + "latin.txt" << ""
                                   << name << "";
    QTest::newRow("blank and accents in a name") << QStringList{"Énéide I.txt"} << Kind::Windows
                                                 << here + "Énéide I.txt" << "" << name << "";
    QTest::newRow("a lone dash is a file") << QStringList{"-"} << Kind::Windows << here + "-" << "" << name << "";
    QTest::newRow("a dashed name after --") << QStringList{"--", "-l.txt", "--help"} << Kind::Windows
                                            << here + "-l.txt" << here + "--help" << name << "";
    QTest::newRow("help") << QStringList{"--help"} << Kind::Help << "" << "" << name << "";
    QTest::newRow("short help") << QStringList{"-h"} << Kind::Help << "" << "" << name << "";
    QTest::newRow("version after files") << QStringList{"a.txt", "b.txt", "--version"} << Kind::Version << ""
                                         << "" << name << "";
    QTest::newRow("help wins over a third file") << QStringList{"a", "b", "c", "--help"} << Kind::Help << ""
                                                 << "" << name << "";
    QTest::newRow("Qt option and its value") << QStringList{"-platform", "offscreen", "latin.txt"} << Kind::Windows
                                             << here + "latin.txt" << "" << QList<int>{0, 1, 2} << "";
    QTest::newRow("Qt option, two dashes, joined value")
        << QStringList{"latin.txt", "--style=fusion", "-reverse"} << Kind::Windows << here + "latin.txt" << ""
        << QList<int>{0, 2, 3} << "";
    QTest::newRow("third file refused") << QStringList{"a.txt", "b.txt", "c.txt"} << Kind::Refused << "" << ""
                                        << name << "« c.txt » est de trop";
    QTest::newRow("unknown option refused") << QStringList{"--lemma", "a.txt"} << Kind::Refused << "" << ""
                                            << name << "option inconnue : « --lemma »";
    QTest::newRow("Qt option without its value") << QStringList{"latin.txt", "-platform"} << Kind::Refused << ""
                                                 << "" << name << "l'option -platform attend une valeur";
}

void StartCommandTest::readsTheLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(Kind, kind);
    QFETCH(QString, latin);
    QFETCH(QString, french);
    QFETCH(QList<int>, qt);
    QFETCH(QString, refusal);
    const StartCommand c = readStartCommand(QStringList{QStringLiteral("quorvex")} + arguments,
                                            QStringLiteral("/home/lea/textes"));
    QCOMPARE(c.kind, kind);
    QCOMPARE(c.latinPath, latin);
    QCOMPARE(c.frenchPath, french);
    if (kind == Kind::Windows)
        QCOMPARE(c.qtArguments, qt);
    if (refusal.isEmpty()) {
        QVERIFY(c.refusal.isEmpty());
    } else {
        QVERIFY2(c.refusal.startsWith(QStringLiteral("quorvex : ")), qPrintable(c.refusal));
        QVERIFY2(c.refusal.contains(refusal), qPrintable(c.refusal));
        QVERIFY2(c.refusal.contains(QStringLiteral("Usage : quorvex [LATIN [FRANÇAIS]]")), qPrintable(c.refusal));
    }
}

void StartCommandTest::answersWithoutADisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("out");  // a part of standard output; empty: nothing written
    QTest::addColumn<QString>("err");  // likewise for standard error
    QTest::addColumn<QString>("platform");  // QT_QPA_PLATFORM; empty: not set
    const QString xcb = QStringLiteral("xcb");
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage : quorvex [LATIN [FRANÇAIS]]" << "" << xcb;
    QTest::newRow("version") << QStringList{"--version"} << 0
                             << "quorvex (Veltrano - Quorvex) " QUORVEX_VERSION "\n" << "" << xcb;
    QTest::newRow("third file") << QStringList{"a.txt", "b.txt", "c.txt"} << 2 << "" << "« c.txt » est de trop"
                                << xcb;
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << "" << "option inconnue : « --bogus »" << xcb;
    // The windows themselves: one French line, not Qt's abort.
    const QString noDisplay = QStringLiteral("quorvex : ce programme a besoin d'un affichage graphique ; "
                                             "en ligne de commande, utilisez quorvex-cli.\n");
    QTest::newRow("two texts, no platform named") << QStringList{"a.txt", "b.txt"} << 1 << "" << noDisplay << "";
    QTest::newRow("nothing, X11") << QStringList{} << 1 << "" << noDisplay << xcb;
}

// The X11 platform and no display: a QApplication would abort, so an answer proves none
// was made.
void StartCommandTest::answersWithoutADisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, code);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(QString, platform);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    if (!platform.isEmpty())
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(QUORVEX_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(60000));
    const QString gotOut = QString::fromUtf8(program.readAllStandardOutput());
    const QString gotErr = QString::fromUtf8(program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), code);
    if (out.isEmpty())
        QCOMPARE(gotOut, QString());
    else
        QVERIFY2(gotOut.startsWith(out) || gotOut.contains(out), qPrintable(gotOut));
    if (err.isEmpty())
        QCOMPARE(gotErr, QString());
    else if (code == 1)
        QCOMPARE(gotErr, err);  // that line alone
    else
        QVERIFY2(gotErr.contains(err), qPrintable(gotErr));
}

QTEST_GUILESS_MAIN(StartCommandTest)
#include "StartCommandTest.moc"
