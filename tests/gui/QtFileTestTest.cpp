// The real file test: which folders a file dialog may open in.

#include "platform/QtFileTest.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace quorvex;

class QtFileTestTest : public QObject {
    Q_OBJECT
private slots:
    void ordinaryFolders_data();
    void ordinaryFolders();
};

void QtFileTestTest::ordinaryFolders_data()
{
    QTest::addColumn<QString>("path");  // "{tmp}" stands for a fresh temporary folder
    QTest::addColumn<bool>("ordinary");
    QTest::newRow("a temporary folder") << "{tmp}" << true;
    QTest::newRow("a folder inside it") << "{tmp}/sous" << true;
    QTest::newRow("gone") << "{tmp}/absent" << false;
    QTest::newRow("a file, not a folder") << "{tmp}/fichier.txt" << false;
    QTest::newRow("empty") << "" << false;
    if (QFileInfo(QStringLiteral("/proc/self")).exists()) {
        QTest::newRow("/proc") << "/proc" << false;
        QTest::newRow("inside /proc") << "/proc/self" << false;
        QTest::newRow("/sys") << "/sys" << false;
        QTest::newRow("/dev") << "/dev" << false;
    }
}

void QtFileTestTest::ordinaryFolders()
{
    QFETCH(QString, path);
    QFETCH(bool, ordinary);
    QTemporaryDir tmp;
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("sous")));
    QFile file(tmp.filePath(QStringLiteral("fichier.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QtFileTest files;
    QCOMPARE(files.isOrdinaryFolder(path.replace(QStringLiteral("{tmp}"), tmp.path())), ordinary);
}

QTEST_MAIN(QtFileTestTest)
#include "QtFileTestTest.moc"
