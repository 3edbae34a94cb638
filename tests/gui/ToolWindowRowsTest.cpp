// Every tool window against quorvex-cli in every mode of the search: for the same request,
// "Lignes KWIC" shows the lines of --kwic, "Cooccurrents" the rows of --collocates 5 (lemma
// keys under a lemma search), "Traductions" those of --translations (or its refusal, in the
// same words), "Dispersion" the picture and the band counts of --plot, and "Formes du lemme"
// the forms and counts of --list. On the New Testament, whose "œ" and "æ" cut the text
// differently under the folded spelling, and on a short text with "cœlum", "Cœlum" and
// "æternus".

#include "support/CliRows.h"
#include "support/WindowDriver.h"

#include "concordance/SpellingFold.h"
#include "windows/tools/DispersionWindow.h"

#include <QAbstractItemView>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTableView>

#include <map>

using namespace quorvex;

namespace {

const QByteArray kShortLatin = cp1252("[1] In principio creavit Deus cœlum et terram.\r\n"
                                      "[2] Cœlum et terra transibunt, caeli quoque.\r\n"
                                      "[3] Deus æternus in cælo est et in caelo manet.\r\n"
                                      "[4] Æternus Deus cœlum fecit, et caeli gloriam vidit.\r\n");
const QByteArray kShortFrench = cp1252("[1] Au commencement Dieu créa le ciel et la terre.\r\n"
                                       "[2] Le ciel et la terre passeront, les cieux aussi.\r\n"
                                       "[3] Dieu éternel est au ciel et y demeure.\r\n"
                                       "[4] Le Dieu éternel fit le ciel, et il vit la gloire des cieux.\r\n");

QByteArray corpusFile(const char* name)
{
    QFile file(QStringLiteral(QUORVEX_CORPUS_DIR "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "label|count" for each band of a --plot picture.
QStringList pictureBands(const std::string& svg)
{
    static const QRegularExpression band(QStringLiteral("<g class=\"band\">(.*?)</g>"),
                                         QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression text(QStringLiteral("<text[^>]*>([^<]*)</text>"));
    QStringList bands;
    for (auto b = band.globalMatch(QString::fromStdString(svg)); b.hasNext();) {
        QStringList texts;
        for (auto t = text.globalMatch(b.next().captured(1)); t.hasNext();)
            texts << t.next().captured(1);
        bands << texts.value(0) + QLatin1Char('|') + texts.value(1).remove(QChar(0x00A0));
    }
    return bands;
}

} // namespace

class ToolWindowRowsTest : public WindowTest {
    Q_OBJECT

private slots:
    void eachToolWindowShowsTheCommandLinesRowsForTheSameRequest_data();
    void eachToolWindowShowsTheCommandLinesRowsForTheSameRequest();

private:
    QWidget* openTool(SearchWindow* s, const char* item, const char* window)
    {
        trigger(s, item);
        return child(s, window);
    }
};

void ToolWindowRowsTest::eachToolWindowShowsTheCommandLinesRowsForTheSameRequest_data()
{
    QTest::addColumn<bool>("newTestament");
    QTest::addColumn<QStringList>("items");     // the "Outils" choices checked, in order
    QTest::addColumn<QString>("frenchForm");    // answered to "Forme dans le passage français..."
    QTest::addColumn<QString>("leftOut");       // unchecked in "Formes du lemme"
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("options");   // quorvex-cli's for the same request

    const QStringList none;
    struct Text {
        const char* name;
        bool newTestament;
        const char* form;
        const char* folded;
        const char* lemma;
        const char* leftOut;
        const char* phrase;
        const char* french;
        const char* filtered;
        const char* frenchForm;
    };
    for (const Text& t : {Text{"new testament", true, "dixit", "dixit", "dico", "dixerunt", "dixit autem", "dieu",
                               "deus", "dieu"},
                          Text{"short text", false, "et", "coelum", "caelum", "caeli", "et terra*", "ciel", "deus",
                               "éternel"}}) {
        const QString lemma = QString::fromUtf8(t.lemma);
        auto row = [&](const char* mode) -> QTestData& { return QTest::addRow("%s, %s", t.name, mode) << t.newTestament; };
        row("plain") << none << QString() << QString() << QString::fromUtf8(t.form) << none;
        row("folded spelling") << QStringList{"orthographe"} << QString() << QString() << QString::fromUtf8(t.folded)
                               << QStringList{"--normalize"};
        row("lemma") << QStringList{"lemme"} << QString() << QString() << lemma << QStringList{"--lemma"};
        row("strict lemma") << QStringList{"lemme", "lemme_strict"} << QString() << QString() << lemma
                            << QStringList{"--lemma-strict"};
        row("phrase") << QStringList{"expression"} << QString() << QString() << QString::fromUtf8(t.phrase)
                      << QStringList{"--phrase"};
        row("french side") << QStringList{"cote_francais"} << QString() << QString() << QString::fromUtf8(t.french)
                           << QStringList{"--side", "french"};
        row("french form") << none << QString::fromUtf8(t.frenchForm) << QString() << QString::fromUtf8(t.filtered)
                           << QStringList{"--french-form", QString::fromUtf8(t.frenchForm)};
        row("french form among the aligned words")
            << QStringList{"filtre_aligne"} << QString::fromUtf8(t.frenchForm) << QString()
            << QString::fromUtf8(t.filtered) << QStringList{"--french-form", QString::fromUtf8(t.frenchForm), "--aligned"};
        row("forms left out") << QStringList{"lemme"} << QString() << QString::fromUtf8(t.leftOut) << lemma
                              << QStringList{"--lemma", "--exclude-form", QString::fromUtf8(t.leftOut)};
    }
}

void ToolWindowRowsTest::eachToolWindowShowsTheCommandLinesRowsForTheSameRequest()
{
    QFETCH(bool, newTestament);
    QFETCH(QStringList, items);
    QFETCH(QString, frenchForm);
    QFETCH(QString, leftOut);
    QFETCH(QString, query);
    QFETCH(QStringList, options);
    const bool lemma = items.contains(QStringLiteral("lemme"));
    if (lemma && QByteArray(QUORVEX_LEXICON_DIR).isEmpty())
        QSKIP("no Latin lexicon in this build");
    if (lemma)
        qputenv("QUORVEX_LEXICON", QUORVEX_LEXICON_DIR);
    if (newTestament) {
        const QByteArray latin = corpusFile("latin-nt.txt");
        if (latin.isEmpty())
            QSKIP("no New Testament in " QUORVEX_CORPUS_DIR);
        d->useTexts(latin, corpusFile("francais-nt.txt"));
    } else {
        d->useTexts(kShortLatin, kShortFrench);
    }
    trigger(d->windows.textWindow(), "concordance");
    SearchWindow* s = d->windows.searchWindowIfLoaded();
    // Open from the start, they follow every choice and the search.
    QWidget* kwic = openTool(s, "kwic", "frmKwic");
    QWidget* collocates = openTool(s, "cooccurrents", "frmCooccurrents");
    auto* dispersion = qobject_cast<DispersionWindow*>(openTool(s, "dispersion", "frmDispersion"));
    QVERIFY(dispersion);
    QWidget* translations = openTool(s, "traductions", "frmTraductions");
    for (const QString& item : items)
        trigger(s, qPrintable(item));
    if (!frenchForm.isEmpty()) {
        d->doubles.textInput.queueAnswer(frenchForm);
        trigger(s, "forme_francaise");
    }
    d->search(query);

    // Under a lemma search, the forms of the lemma with their counts in the list searched
    // without the form left out, as --list gives them; the form left out unchecked.
    if (lemma) {
        QWidget* forms = openTool(s, "formes_lemme", "frmFormes");
        auto* formTable = child<QTableView>(forms, "tableau");
        if (!leftOut.isEmpty()) {
            const QModelIndexList found = formTable->model()->match(formTable->model()->index(0, 0), Qt::DisplayRole,
                                                                    leftOut, 1, Qt::MatchFixedString);
            QCOMPARE(found.size(), 1);
            formTable->setCurrentIndex(found[0]);
            QTest::keyClick(formTable, Qt::Key_Space);
        }
        QStringList all = options;
        all.removeAll(QStringLiteral("--exclude-form"));
        all.removeAll(leftOut);
        std::map<std::string, int> at;  // folded form -> its row
        QList<QPair<QString, int>> counts;
        for (const QString& row : cliListRows(d->latinPath, d->frenchPath, all, query)) {
            const QString form = row.section(QLatin1Char('|'), 0, 0);
            const auto [it, added] = at.emplace(folded(toCp1252(form), Folding::Spelling), int(counts.size()));
            if (added)
                counts.append({form, 0});
            ++counts[it->second].second;
        }
        const std::string left = folded(toCp1252(leftOut), Folding::Spelling);
        QStringList expectedForms;
        for (const auto& [form, count] : counts)
            expectedForms << form + QLatin1Char('\t') + QString::number(count)
                    + (!leftOut.isEmpty() && folded(toCp1252(form), Folding::Spelling) == left ? "\t-" : "\tx");
        QStringList shownForms;
        for (int r = 0; r < formTable->model()->rowCount(); ++r) {
            const QModelIndex box = formTable->model()->index(r, 0);
            shownForms << box.data().toString() + QLatin1Char('\t') + formTable->model()->index(r, 1).data().toString()
                    + (box.data(Qt::CheckStateRole).toInt() == Qt::Checked ? "\tx" : "\t-");
        }
        QCOMPARE(shownForms, expectedForms);
    }
    QCOMPARE(d->rows(), cliListRows(d->latinPath, d->frenchPath, options, query));

    auto cli = [&](const QStringList& request) {
        return cliOutput(d->latinPath, d->frenchPath, request + options, query);
    };
    QCOMPARE(shownRows(child<QAbstractItemView>(kwic, "lignes")), cli({"--kwic"}).lines());

    QCOMPARE(shownRows(child<QTableView>(collocates, "tableau")), cli({"--collocates", "5"}).records());

    const CliOutput plot = cli({"--plot", "-"});
    QCOMPARE(plot.code, 0);
    QCOMPARE(dispersion->picture(), plot.out);
    QStringList shownBands;
    for (const QString& band : shownRows(child<QTableView>(dispersion, "tableau")))
        shownBands << band.section(QLatin1Char('\t'), 0, 0) + QLatin1Char('|') + band.section(QLatin1Char('\t'), 2, 2);
    QCOMPARE(shownBands, pictureBands(plot.out));

    const CliOutput ranked = cli({"--translations", "--top", "9999999"});
    auto* refusal = child<QLabel>(translations, "refus");
    // A refused ranking is not offered either.
    QCOMPARE(child<QAction>(s, "traductions")->isEnabled(), ranked.code == 0);
    if (ranked.code == 0) {
        QCOMPARE(shownRows(child<QTableView>(translations, "tableau")), ranked.records());
        QVERIFY(refusal->isHidden());
    } else {
        QCOMPARE(child<QTableView>(translations, "tableau")->model()->rowCount(), 0);
        QCOMPARE(refusal->text(), ranked.refusal());
        QVERIFY(!refusal->isHidden());
    }
}

QTEST_MAIN(ToolWindowRowsTest)
#include "ToolWindowRowsTest.moc"
