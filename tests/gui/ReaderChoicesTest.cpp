// The reader's choices of "Outils" driven through the doubles: each changes the grid as its
// quorvex-cli option changes the list, the count label says what was searched, the French
// form is asked in its box, the choices are kept in the test's INI file, and the save of such
// a list writes the command line's bytes.

#include "support/CliRows.h"
#include "support/SmallLexicon.h"
#include "support/WindowDriver.h"

#include "cli/CliRunner.h"
#include "widgets/ElidedLabel.h"
#include "session/SearchDate.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSettings>

#include <sstream>

using namespace quorvex;

namespace {

const QByteArray kLatin = cp1252("[1] Deus dixit et caelum est. [2] Filius Dei dixit cælum\r\n"
                                 "[3] Israel dicit, Israel est; deumque dicis. [4] Filius Dei est\r\n"
                                 "[5] Cor meum, opus sororum.");
// œ and Œ, letters of French words.
const QByteArray kFrench = cp1252("[1] Dieu dit et le ciel est. [2] Le Fils de Dieu dit le ciel\r\n"
                                  "[3] Israël dit ; Israël est. [4] Le Fils de Dieu est\r\n"
                                  "[5] Mon cœur, l'Œuvre de mes sœurs.");

} // namespace

class ReaderChoicesTest : public WindowTest {
    Q_OBJECT

private slots:
    void everyChoiceListsWhatTheCommandLineLists_data();
    void everyChoiceListsWhatTheCommandLineLists();
    void neighbourSortsOrderTheListAsTheCommandLineSorts_data();
    void neighbourSortsOrderTheListAsTheCommandLineSorts();
    void countLabelSaysHowTheLemmaWasUnderstood();
    void aLongFormIsPaintedElidedWithTheCountInSight();
    void frenchFormIsAskedAndAnEmptyAnswerRemovesIt();
    void choicesAreKeptInTheIniFileForTheNextRun();
    void unreadableFrenchTextKeepsTheListAndTheChoice();
    void unreadableLexiconLineIsSaidOnTheLemmaChoice();
    void analysisFilterListsWhatMorphLists();

private:
    SearchWindow* open()
    {
        writeSmallLexicon(*d);
        d->useTexts(kLatin, kFrench, QStringLiteral("Épreuve"));
        trigger(d->windows.textWindow(), "concordance");
        return s = d->windows.searchWindowIfLoaded();
    }
    // quorvex-cli --list for the same texts and options: "form|reference" rows.
    QStringList cliRows(const QStringList& options, const QString& query) const
    {
        return cliListRows(d->latinPath, d->frenchPath, options, query);
    }
    QLabel* label4() const { return child<QLabel>(s, "label4"); }
    // "Outils > Copier la commande", run: the rows that command lists.
    QStringList copiedCommandRows()
    {
        QGuiApplication::clipboard()->clear();
        trigger(s, "copier_commande");
        return cliRowsOfCommand(QGuiApplication::clipboard()->text());
    }

    QPointer<SearchWindow> s;
};

void ReaderChoicesTest::everyChoiceListsWhatTheCommandLineLists_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("frenchForm");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("expectedCount");
    QTest::newRow("no choice") << QStringList{} << QString() << "dixit" << QStringList{} << 2;
    QTest::newRow("normalized spelling finds cælum from caelum")
        << QStringList{"orthographe"} << QString() << "caelum" << QStringList{"--normalize"} << 2;
    QTest::newRow("phrase") << QStringList{"expression"} << QString() << "filius dei" << QStringList{"--phrase"} << 2;
    QTest::newRow("phrase folded")
        << QStringList{"expression", "orthographe"} << QString() << "dixit caelum"
        << QStringList{"--phrase", "--normalize"} << 1;
    QTest::newRow("French side") << QStringList{"cote_francais"} << QString() << "dit"
                                 << QStringList{"--side", "french"} << 3;
    QTest::newRow("French side: cœur a whole word")
        << QStringList{"cote_francais"} << QString() << QStringLiteral("cœur") << QStringList{"--side", "french"} << 1;
    QTest::newRow("French side: Œuvre found as œuvre")
        << QStringList{"cote_francais"} << QString() << QStringLiteral("œuvre") << QStringList{"--side", "french"} << 1;
    QTest::newRow("French side: sœurs with a star")
        << QStringList{"cote_francais"} << QString() << QStringLiteral("sœur*") << QStringList{"--side", "french"} << 1;
    QTest::newRow("French form with œ filters the Latin list")
        << QStringList{} << QStringLiteral("sœurs") << "opus" << QStringList{"--french-form", QStringLiteral("sœurs")}
        << 1;
    QTest::newRow("French form filters the Latin list")
        << QStringList{} << "ciel" << "dixit" << QStringList{"--french-form", "ciel"} << 2;
    QTest::newRow("French form on a phrase")
        << QStringList{"expression"} << "est" << "filius dei" << QStringList{"--phrase", "--french-form", "est"} << 1;
    // "dixit" is rendered by "dit"; "ciel" stands beside it.
    QTest::newRow("French form among the aligned words")
        << QStringList{"filtre_aligne"} << "dit" << "dixit" << QStringList{"--french-form", "dit", "--aligned"} << 2;
    QTest::newRow("French form beside the aligned words")
        << QStringList{"filtre_aligne"} << "ciel" << "dixit" << QStringList{"--french-form", "ciel", "--aligned"} << 0;
    QTest::newRow("lemma") << QStringList{"lemme"} << QString() << "dico" << QStringList{"--lemma"} << 4;
    QTest::newRow("lemma with quantities") << QStringList{"lemme"} << QString() << "dīco" << QStringList{"--lemma"} << 4;
    QTest::newRow("lemma of a case-folded form") << QStringList{"lemme"} << QString() << "Deus"
                                                 << QStringList{"--lemma"} << 4;
    QTest::newRow("strict lemma") << QStringList{"lemme", "lemme_strict"} << QString() << "edo"
                                  << QStringList{"--lemma-strict"} << 0;
    QTest::newRow("word unknown to the lexicon, held by the text")
        << QStringList{"lemme"} << QString() << "Israel" << QStringList{"--lemma"} << 2;
    QTest::newRow("lemma and French form") << QStringList{"lemme"} << "ciel" << "dico"
                                           << QStringList{"--lemma", "--french-form", "ciel"} << 2;
}

void ReaderChoicesTest::everyChoiceListsWhatTheCommandLineLists()
{
    QFETCH(QStringList, items);
    QFETCH(QString, frenchForm);
    QFETCH(QString, query);
    QFETCH(QStringList, options);
    QFETCH(int, expectedCount);
    QVERIFY(open());
    for (const QString& item : items)
        trigger(s, item.toLatin1().constData());
    if (!frenchForm.isNull()) {
        d->doubles.textInput.queueAnswer(frenchForm);
        trigger(s, "forme_francaise");
    }
    d->search(query);
    QCOMPARE(d->rows(), cliRows(options, query));
    QCOMPARE(d->rows().size(), expectedCount);
    QCOMPARE(d->session.results().size(), std::size_t(expectedCount));
    QCOMPARE(copiedCommandRows(), d->rows());

    // The save writes the command line's result file, byte for byte.
    const QString saved = d->dir.filePath(QStringLiteral("résultat.txt"));
    d->doubles.dialogs.queueAnswer(saved);
    trigger(s, "enregistrer");
    QVERIFY(d->doubles.messages.expectNext(okBox(QStringLiteral("L'enregistrement est terminé."))));
    const QString cli = d->dir.filePath(QStringLiteral("cli.txt"));
    std::vector<std::string> args = {"--latin", toPath(d->latinPath), "--french", toPath(d->frenchPath),
                                     "--title", "Épreuve", "--date",
                                     searchDateText(d->session.loadMoment()).toStdString(), "--output", toPath(cli)};
    for (const QString& o : options)
        args.push_back(o.toStdString());
    args.insert(args.end(), {"--", query.toStdString()});
    std::ostringstream out, err;
    runCli(args, out, err);
    QCOMPARE(readTestFile(saved), readTestFile(cli));

    // Every choice off again: the window's own search.
    for (const QString& item : items)
        if (child<QAction>(s, item.toLatin1().constData())->isChecked())
            trigger(s, item.toLatin1().constData());
    if (!frenchForm.isNull()) {
        d->doubles.textInput.queueAnswer(QString());
        trigger(s, "forme_francaise");
    }
    QVERIFY(!d->session.choices().any());
    QCOMPARE(d->rows(), cliRows({}, query));
}

void ReaderChoicesTest::neighbourSortsOrderTheListAsTheCommandLineSorts_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QStringList>("leftRows");  // the order by the word before, written out
    // est: after caelum, Israel, Dei; before Filius (over the marker), deumque, nothing.
    QTest::newRow("form") << QStringList{} << "est" << QStringList{}
                          << QStringList{"est|[1]", "est|[4]", "est|[3]"};
    QTest::newRow("form with a star") << QStringList{} << "d*" << QStringList{} << QStringList{};
    QTest::newRow("folded spelling") << QStringList{"orthographe"} << "caelum" << QStringList{"--normalize"}
                                     << QStringList{"cælum|[2]", "caelum|[1]"};
    QTest::newRow("phrase") << QStringList{"expression"} << "filius dei" << QStringList{"--phrase"}
                            << QStringList{};
    QTest::newRow("lemma") << QStringList{"lemme"} << "dico" << QStringList{"--lemma"} << QStringList{};
    QTest::newRow("French side") << QStringList{"cote_francais"} << "dit" << QStringList{"--side", "french"}
                                 << QStringList{};
}

void ReaderChoicesTest::neighbourSortsOrderTheListAsTheCommandLineSorts()
{
    QFETCH(QStringList, items);
    QFETCH(QString, query);
    QFETCH(QStringList, options);
    QFETCH(QStringList, leftRows);
    QVERIFY(open());
    for (const QString& item : items)
        trigger(s, item.toLatin1().constData());
    d->search(query);
    const QStringList textOrder = d->rows();
    QVERIFY(textOrder.size() > 1);
    trigger(s, "tri_gauche");
    QCOMPARE(d->rows(), cliRows(options + QStringList{"--sort", "left"}, query));
    if (!leftRows.isEmpty())
        QCOMPARE(d->rows(), leftRows);
    QCOMPARE(copiedCommandRows(), d->rows());
    trigger(s, "tri_droite");
    QCOMPARE(d->rows(), cliRows(options + QStringList{"--sort", "right"}, query));
    QCOMPARE(copiedCommandRows(), d->rows());
    // "Formes" keeps its meaning after them.
    click(s, "Command2");
    QCOMPARE(d->rows(), cliRows(options + QStringList{"--sort", "forms"}, query));
    QCOMPARE(copiedCommandRows(), d->rows());
    QCOMPARE(d->rows().size(), textOrder.size());
}

void ReaderChoicesTest::aLongFormIsPaintedElidedWithTheCountInSight()
{
    QVERIFY(open());
    auto* label = qobject_cast<ElidedLabel*>(label4());
    QVERIFY(label);
    d->search(QStringLiteral("dixit"));
    QCOMPARE(label->shownText(), QStringLiteral("dixit = 2"));

    const QString form = QString(2000, QLatin1Char('a'));
    d->search(form);
    // The label keeps the text; what it paints ends with the count and fits.
    QCOMPARE(label->text(), form + QStringLiteral(" = 0"));
    const QString shown = label->shownText();
    QVERIFY2(shown.startsWith(QStringLiteral("aaa")) && shown.endsWith(QStringLiteral("aaa = 0")), qPrintable(shown));
    QVERIFY(shown.contains(QChar(0x2026)));
    QVERIFY(label->fontMetrics().horizontalAdvance(shown) <= label->contentsRect().width());
    QCOMPARE(label->toolTip(), form + QStringLiteral(" = 0"));
}

void ReaderChoicesTest::countLabelSaysHowTheLemmaWasUnderstood()
{
    QVERIFY(open());
    d->search(QStringLiteral("dixit"));
    QCOMPARE(label4()->text(), QStringLiteral("dixit = 2"));
    QCOMPARE(label4()->toolTip(), QString());

    trigger(s, "lemme");  // the list follows at once: a form the lexicon lacks
    QCOMPARE(label4()->text(), QStringLiteral("dixit (forme) = 2"));
    d->search(QStringLiteral("dixi"));
    QCOMPARE(label4()->text(), QStringLiteral("dixi (lemme) = 0"));
    QCOMPARE(d->rows(), QStringList{});
    QVERIFY2(label4()->toolTip().startsWith(QStringLiteral("Lemme inconnu : « dixi ».\n« dixi » est une forme de : dico2")),
             qPrintable(label4()->toolTip()));
    d->search(QStringLiteral("dico"));
    QCOMPARE(label4()->text(), QStringLiteral("dico (lemme) = 4"));
    QCOMPARE(label4()->toolTip(), QStringLiteral("Recherche par lemme"));
    d->search(QStringLiteral("Israel"));
    QCOMPARE(label4()->text(), QStringLiteral("Israel (forme) = 2"));
    QVERIFY(label4()->toolTip().startsWith(QStringLiteral("« Israel » n'est pas dans le lexique : recherche de la forme.")));

    // Forms left out (as the forms window leaves them) show in the caption until another lemma.
    d->search(QStringLiteral("dico"));
    SearchChoices choices = d->session.choices();
    choices.asked.excludedForms = {"dicis", "dicit"};
    QCOMPARE(d->session.applyChoices(choices), SessionFailure::None);
    QCOMPARE(label4()->text(), QStringLiteral("dico (lemme, 2 exclues) = 2"));
    QCOMPARE(d->rows(), (QStringList{"dixit|[1]", "dixit|[2]"}));
    d->search(QStringLiteral("deus"));
    QCOMPARE(label4()->text(), QStringLiteral("deus (lemme) = 4"));
    QVERIFY(d->session.choices().asked.excludedForms.empty());

    // Another choice shows in the tool tip only.
    trigger(s, "lemme");
    trigger(s, "orthographe");
    d->search(QStringLiteral("caelum"));
    QCOMPARE(label4()->text(), QStringLiteral("caelum = 2"));
    QCOMPARE(label4()->toolTip(), QStringLiteral("Orthographe normalisée"));
}

void ReaderChoicesTest::frenchFormIsAskedAndAnEmptyAnswerRemovesIt()
{
    QVERIFY(open());
    d->search(QStringLiteral("dixit"));
    d->doubles.textInput.queueAnswer(QStringLiteral("ciel"));
    trigger(s, "forme_francaise");
    QCOMPARE(d->doubles.textInput.calls.size(), 1);
    const TextInputCall call = d->doubles.textInput.calls.first();
    QCOMPARE(call.title, QStringLiteral("Forme dans le passage français"));
    QCOMPARE(call.prompt, QStringLiteral("Forme à chercher dans le passage français (vide : aucun filtre) :"));
    QCOMPARE(call.parent, static_cast<QWidget*>(s));
    QVERIFY(!call.pointerBusy);
    QVERIFY(child<QAction>(s, "forme_francaise")->isChecked());
    QCOMPARE(d->rows(), (QStringList{"dixit|[1]", "dixit|[2]"}));
    QCOMPARE(label4()->toolTip(), QStringLiteral("Forme dans le passage français : ciel"));

    // A cancel changes nothing; the box proposes the form in effect.
    trigger(s, "forme_francaise");
    QCOMPARE(d->doubles.textInput.calls.last().proposed, QStringLiteral("ciel"));
    QCOMPARE(d->session.choices().asked.frenchForm, std::optional<std::string>("ciel"));
    QVERIFY(child<QAction>(s, "forme_francaise")->isChecked());

    d->doubles.textInput.queueAnswer(QStringLiteral("Israël"));
    trigger(s, "forme_francaise");
    QCOMPARE(d->rows(), QStringList{});
    d->doubles.textInput.queueAnswer(QString());
    trigger(s, "forme_francaise");
    QVERIFY(!child<QAction>(s, "forme_francaise")->isChecked());
    QCOMPARE(d->rows(), (QStringList{"dixit|[1]", "dixit|[2]"}));
}

void ReaderChoicesTest::choicesAreKeptInTheIniFileForTheNextRun()
{
    QVERIFY(open());
    trigger(s, "orthographe");
    trigger(s, "expression");
    d->doubles.textInput.queueAnswer(QStringLiteral("ciel"));
    trigger(s, "forme_francaise");
    trigger(s, "filtre_aligne");
    const QString ini = d->dir.filePath(QStringLiteral("Veltrano/Quorvex.ini"));
    QVERIFY(QFile::exists(ini));
    {
        QSettings file(ini, QSettings::IniFormat);
        // In quorvex-cli's words, so that a choice added to the command line is kept as well.
        QCOMPARE(file.value(QStringLiteral("Outils/requete")).toStringList(),
                 (QStringList{"--phrase", "--normalize", "--french-form", "ciel", "--aligned"}));
    }

    // The next run: a fresh session reads them when its search window loads.
    WindowDriver next;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, d->dir.path());
    next.useTexts(kLatin, kFrench);
    trigger(next.windows.textWindow(), "concordance");
    SearchWindow* again = next.windows.searchWindowIfLoaded();
    QVERIFY(again);
    QVERIFY(child<QAction>(again, "orthographe")->isChecked());
    QVERIFY(child<QAction>(again, "expression")->isChecked());
    QVERIFY(child<QAction>(again, "forme_francaise")->isChecked());
    QVERIFY(child<QAction>(again, "filtre_aligne")->isChecked());
    QVERIFY(!child<QAction>(again, "lemme")->isChecked());
    next.search(QStringLiteral("dixit caelum"));
    QCOMPARE(next.rows(), cliListRows(next.latinPath, next.frenchPath,
                                      {"--normalize", "--phrase", "--french-form", "ciel", "--aligned"},
                                      QStringLiteral("dixit caelum")));

    // Without a French text the French choices are not taken.
    WindowDriver latinOnly;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, d->dir.path());
    latinOnly.useTexts(kLatin);
    trigger(latinOnly.windows.textWindow(), "concordance");
    QVERIFY(!latinOnly.session.choices().asked.frenchForm);
    QVERIFY(!latinOnly.session.choices().asked.aligned);
    QVERIFY(latinOnly.session.choices().asked.phrase);

    // A line edited into words the command line refuses starts with no choice, not half of them.
    {
        QSettings file(ini, QSettings::IniFormat);
        file.setValue(QStringLiteral("Outils/requete"), QStringList{"--phrase", "--side", "grec"});
    }
    WindowDriver edited;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, d->dir.path());
    edited.useTexts(kLatin, kFrench);
    trigger(edited.windows.textWindow(), "concordance");
    QVERIFY(edited.windows.searchWindowIfLoaded());
    QVERIFY(!edited.session.choices().asked.phrase);
    QVERIFY(!child<QAction>(edited.windows.searchWindowIfLoaded(), "expression")->isChecked());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, d->dir.path());
}

void ReaderChoicesTest::unreadableFrenchTextKeepsTheListAndTheChoice()
{
    QVERIFY(open());
    d->search(QStringLiteral("dixit"));
    QVERIFY(QFile::remove(d->frenchPath));
    trigger(s, "cote_francais");
    QVERIFY(d->doubles.messages.expectNextNaming(QStringLiteral("français.txt")));
    QVERIFY(!child<QAction>(s, "cote_francais")->isChecked());
    QVERIFY(!d->session.choices().asked.frenchSide);
    QCOMPARE(d->rows(), (QStringList{"dixit|[1]", "dixit|[2]"}));
}

void ReaderChoicesTest::analysisFilterListsWhatMorphLists()
{
    QVERIFY(open());
    auto* analysis = child<QLineEdit>(s, "analyse");
    QVERIFY(!analysis->isEnabled());  // a lemma search's filter
    trigger(s, "lemme");
    QVERIFY(analysis->isEnabled());
    d->search(QStringLiteral("dico"));
    const QStringList all = d->rows();
    QCOMPARE(all.size(), 4);

    analysis->setText(QStringLiteral("parfait"));
    QTest::keyClick(analysis, Qt::Key_Return);
    QCOMPARE(d->rows(), cliRows({"--lemma", "--morph", "parfait"}, QStringLiteral("dico")));
    QCOMPARE(d->rows(), (QStringList{"dixit|[1]", "dixit|[2]"}));
    QCOMPARE(copiedCommandRows(), d->rows());
    QVERIFY(label4()->toolTip().contains(QStringLiteral("Analyse : parfait")));

    // Words in any order, as the command line takes them.
    analysis->setText(QStringLiteral("  indicatif présent "));
    QTest::keyClick(analysis, Qt::Key_Return);
    QCOMPARE(d->rows(), cliRows({"--lemma", "--morph", "indicatif présent"}, QStringLiteral("dico")));
    QCOMPARE(d->rows().size(), 2);

    // An unknown word: the command line's refusal, the list and the filter in effect kept.
    const QStringList before = d->rows();
    analysis->setText(QStringLiteral("subjonctif"));
    QTest::keyClick(analysis, Qt::Key_Return);
    const CliOutput refused =
        cliOutput(d->latinPath, d->frenchPath, {"--list", "--lemma", "--morph", "subjonctif"}, QStringLiteral("dico"));
    QCOMPARE(refused.code, 2);
    QVERIFY(d->doubles.messages.expectNextNaming(refused.refusal()));
    QCOMPARE(d->rows(), before);
    QCOMPARE(analysis->text(), QStringLiteral("indicatif présent"));

    // Emptied: no filter.
    analysis->clear();
    QTest::keyClick(analysis, Qt::Key_Return);
    QCOMPARE(d->rows(), all);
}

QTEST_MAIN(ReaderChoicesTest)
void ReaderChoicesTest::unreadableLexiconLineIsSaidOnTheLemmaChoice()
{
    QVERIFY(open());
    QVERIFY(!child<QAction>(s, "copier_commande")->isEnabled());  // no list to repeat yet
    // dico2's line cut short: the search goes on with the rest, and says so where it is chosen.
    d->write(QStringLiteral("lemmes.la"), "dĕus|lupus|||i, m.|2679\ndīco2|lego|dīx\n"
                                          "dĭco|lego|||as, are|42\nĕdo|edo|ēd|ēs|edis, esse|99\n");
    QCOMPARE(child<QAction>(s, "lemme")->toolTip(), QStringLiteral("Recherche par lemme"));  // its caption
    trigger(s, "lemme");
    d->search(QStringLiteral("Deus"));
    QCOMPARE(d->rows(), cliRows({"--lemma"}, QStringLiteral("Deus")));
    QCOMPARE(d->rows().size(), 4);
    const QString warning = QStringLiteral("lexique latin : 1 ligne illisible ignorée, la première à la ligne 2 de %1 "
                                           "(--lexicon-check les énumère).")
                                .arg(d->dir.filePath(QStringLiteral("lemmes.la")));
    QCOMPARE(child<QAction>(s, "lemme")->toolTip(), warning);
    QCOMPARE(child<QAction>(s, "lemme_strict")->toolTip(), warning);
    QVERIFY(child<QMenu>(s, "outils")->toolTipsVisible());
    QVERIFY(child<QAction>(s, "copier_commande")->isEnabled());
    QCOMPARE(copiedCommandRows(), d->rows());
}

#include "ReaderChoicesTest.moc"
