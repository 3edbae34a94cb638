// The session's equivalents: computed on demand for the current list, forgotten by a new
// search, and the character ranges it gives the viewer for a row's French passage: the words
// aligned to the row, the ones quorvex-cli --equivalents writes for it.

#include "session/Session.h"

#include "support/CliRows.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fstream>

using namespace quorvex;

class SessionEquivalentsTest : public QObject {
    Q_OBJECT

private slots:
    void givesTheRangesOfTheWordsAlignedToTheRow();
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

} // namespace

void SessionEquivalentsTest::givesTheRangesOfTheWordsAlignedToTheRow()
{
    Session session;
    session.setLatinPath(write("latin.txt", kLatin));
    session.setFrenchPath(write("francais.txt", kFrench));
    QVERIFY(!session.loadLatinText());
    // The viewer's French pane of each row: its marker and passage, as the text gives it.
    const QStringList panes = QString::fromLatin1(kFrench).split(QStringLiteral("\n"), Qt::SkipEmptyParts)
                                  .replaceInStrings(QStringLiteral("\r"), QStringLiteral("\r\n"));
    for (const QString& query : {QStringLiteral("deus"), QStringLiteral("homo")}) {
        QCOMPARE(searched(session, query), std::size_t(3));
        const std::size_t first = query == QStringLiteral("deus") ? 0 : 3;
        QVERIFY(session.equivalentRanges(1, panes[int(first)]).empty());  // not computed yet
        FileError error;
        const Equivalents* eq = session.equivalents(&error);
        QVERIFY(eq);
        QVERIFY(!error);
        QCOMPARE(eq->pairedReferences(), std::size_t(6));
        QCOMPARE(session.equivalents(), eq);  // asked again: the same, not computed anew

        const QStringList rows = cliOutput(m_dir.filePath("latin.txt"), m_dir.filePath("francais.txt"),
                                           {QStringLiteral("--equivalents"), QStringLiteral("--list")}, query)
                                     .lines();
        QCOMPARE(rows.size(), 3);
        for (std::size_t row = 0; row < 3; ++row) {
            const QString pane = panes[int(first + row)];
            QStringList words;
            for (const MarkRange& r : session.equivalentRanges(row + 1, pane))
                words << pane.mid(int(r.start), int(r.length));
            QStringList rendered = rows[int(row)].section(QLatin1Char('\t'), 2).split(QStringLiteral(", "));
            if (rendered == QStringList{QStringLiteral("—")})
                rendered.clear();
            words.sort();
            rendered.sort();
            QCOMPARE(words, rendered);
            // A pane that is not the passage the texts gave marks none of the words it lacks.
            QVERIFY(session.equivalentRanges(row + 1, QStringLiteral("[9] rien")).empty());
        }
    }
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
