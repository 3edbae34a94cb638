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
    void placesByPathAndMount_data();
    void placesByPathAndMount();
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

// The decision apart from the machine's mounts, so it holds in a chroot whose / is no
// mount point (no mount entry known) as on a desktop.
void QtFileTestTest::placesByPathAndMount_data()
{
    QTest::addColumn<QString>("canonicalPath");
    QTest::addColumn<QByteArray>("mountType");  // empty: no mount entry known
    QTest::addColumn<bool>("ordinary");
    QTest::newRow("home on ext4") << "/home/lea/textes" << QByteArray("ext4") << true;
    QTest::newRow("no mount entry known") << "/home/lea/textes" << QByteArray() << true;
    QTest::newRow("root, no mount entry") << "/" << QByteArray() << true;
    QTest::newRow("tmpfs") << "/tmp" << QByteArray("tmpfs") << true;
    QTest::newRow("proc mounted elsewhere") << "/mnt/p" << QByteArray("proc") << false;
    QTest::newRow("sysfs mounted elsewhere") << "/srv/s" << QByteArray("sysfs") << false;
#ifndef Q_OS_WIN
    QTest::newRow("/proc, no mount entry") << "/proc" << QByteArray() << false;
    QTest::newRow("inside /sys, no mount entry") << "/sys/kernel" << QByteArray() << false;
    QTest::newRow("/dev on ext4 of a chroot") << "/dev" << QByteArray("ext4") << false;
    QTest::newRow("a name that only begins like /dev") << "/devoirs" << QByteArray() << true;
#endif
}

void QtFileTestTest::placesByPathAndMount()
{
    QFETCH(QString, canonicalPath);
    QFETCH(QByteArray, mountType);
    QFETCH(bool, ordinary);
    QCOMPARE(QtFileTest::isOrdinaryPlace(canonicalPath, mountType), ordinary);
}

QTEST_MAIN(QtFileTestTest)
#include "QtFileTestTest.moc"
