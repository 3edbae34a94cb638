// The session's equivalents: computed on demand for the current list, forgotten by a new
// search, and the character ranges it gives the viewer for a French passage.

#include "session/Session.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace quorvex;

class SessionEquivalentsTest : public QObject {
    Q_OBJECT

private slots:
    void givesTheRangesOfTheBestLemmasInAFrenchPassage();
    void nothingWithoutAListOrAFrenchTextAndAMissingFileIsAnError();

private:
    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << bytes.toStdString();
        return path;
    }
    QTemporaryDir m_dir;
};

namespace {

// Dieu and Seigneur render deus (folded alone, or stemmed by the French dictionary alike);
// homme renders homo.
const QByteArray kLatin = "[1] deus amat\r\n[2] deus videt\r\n[3] deus dicit\r\n[4] homo amat\r\n"
                          "[5] homo videt\r\n[6] homo dicit\r\n";
const QByteArray kFrench = "[1] Dieu aime\r\n[2] Dieu voit\r\n[3] le Seigneur parle\r\n"
                           "[4] l'homme aime\r\n[5] l'homme voit\r\n[6] l'homme parle\r\n";

// The rows a search found; a search that ran short of memory counts as none.
std::size_t searched(Session& session, const QString& form)
{
    std::size_t found = 0;
    return session.search(form, found) == SessionFailure::None ? found : 0;
}

QStringList marked(const QString& passage, const std::vector<MarkRange>& ranges)
{
    QStringList words;
    for (const MarkRange& r : ranges)
        words << QString::number(r.start) + ":" + passage.mid(int(r.start), int(r.length));
    return words;
}

} // namespace

void SessionEquivalentsTest::givesTheRangesOfTheBestLemmasInAFrenchPassage()
{
    Session session;
    session.setLatinPath(write("latin.txt", kLatin));
    session.setFrenchPath(write("francais.txt", kFrench));
    QVERIFY(!session.loadLatinText());
    QCOMPARE(searched(session, QStringLiteral("deus")), std::size_t(3));

    const QString passage = QString::fromUtf8("[5] l'homme voit DIEU, le Seigneur [Dieu] cœur");
    QVERIFY(session.equivalentRanges(passage).empty());  // not computed yet
    FileError error;
    const Equivalents* eq = session.equivalents(&error);
    QVERIFY(eq);
    QVERIFY(!error);
    QCOMPARE(eq->pairedReferences(), std::size_t(6));
    QCOMPARE(marked(passage, session.equivalentRanges(passage)),
             QStringList({"17:DIEU", "26:Seigneur"}));
    QCOMPARE(session.equivalents(), eq);  // asked again: the same, not computed anew

    // Another list: its own equivalents, once asked for.
    QCOMPARE(searched(session, QStringLiteral("homo")), std::size_t(3));
    QVERIFY(session.equivalentRanges(passage).empty());
    QVERIFY(session.equivalents());
    QCOMPARE(marked(passage, session.equivalentRanges(passage)), QStringList({"6:homme"}));
}

void SessionEquivalentsTest::nothingWithoutAListOrAFrenchTextAndAMissingFileIsAnError()
{
    Session session;
    session.setLatinPath(write("latin.txt", kLatin));
    QVERIFY(!session.loadLatinText());
    QVERIFY(!session.equivalents());  // no list yet
    QCOMPARE(searched(session, QStringLiteral("deus")), std::size_t(3));
    QVERIFY(!session.equivalents());  // no French text named

    session.setFrenchPath(m_dir.filePath("absent.txt"));
    FileError error;
    QVERIFY(!session.equivalents(&error));
    QCOMPARE(error.kind, FileErrorKind::NotFound);

    session.setFrenchPath(m_dir.path());
    error = {};
    QVERIFY(!session.equivalents(&error));
    QCOMPARE(error.kind, FileErrorKind::IsDirectory);
}

QTEST_MAIN(SessionEquivalentsTest)
#include "SessionEquivalentsTest.moc"
