// "Formes du lemme" driven through the doubles: it lists the core's forms of the lemma with
// their counts, a box unchecked gives the grid quorvex-cli's --exclude-form list and label4
// its caption, a box checked again takes the form back, another lemma brings every form
// back, the window follows the list and closes with the search window, and a lack of memory
// keeps the list, the boxes and the choices.

#include "support/AllocationLimit.h"
#include "support/CliRows.h"
#include "support/SmallLexicon.h"
#include "support/WindowDriver.h"

#include "cli/CliRunner.h"
#include "concordance/FormExclusion.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QTableView>

#include <sstream>

using namespace quorvex;

namespace {

// "DIXIT" and "dixit" are one form; "Dei" and "DEI" too.
const QByteArray kLatin = cp1252("[1] Deus dixit et caelum est. [2] Filius Dei DIXIT caelum\r\n"
                                 "[3] Israel dicit, Israel est; deumque dicis. [4] Filius DEI dixit");
const QByteArray kFrench = cp1252("[1] Dieu dit. [2] Le Fils de Dieu dit\r\n[3] Israël dit. [4] Le Fils de Dieu dit");

QStringList shownForms(const QTableView* table)
{
    QStringList rows;
    const QAbstractItemModel* model = table->model();
    for (int r = 0; r < model->rowCount(); ++r)
        rows << model->index(r, 0).data().toString() + QLatin1Char('|') + model->index(r, 1).data().toString()
                + (model->index(r, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked ? "|x" : "|-");
    return rows;
}

} // namespace

class FormsWindowTest : public WindowTest {
    Q_OBJECT

private slots:
    void uncheckedFormsLeaveTheListAsTheCommandLineLeavesThem();
    void theWindowFollowsTheListAndAnotherLemmaBringsTheFormsBack();
    void greyedOutsideLemmaSearchesAndSaysSoWhenTheListIsNoLongerALemmas();
    void exclusionsAreNotKeptForTheNextRun();
    void lackOfMemoryKeepsTheListTheBoxesAndTheChoices();
    void aCancelKeepsTheFormsShownUntilTheNextRefill();
    void theSpaceBarTogglesTheFirstFormAsSoonAsTheWindowOpens();

private:
    SearchWindow* open(const QByteArray& latin = kLatin)
    {
        writeSmallLexicon(*d);
        d->useTexts(latin, kFrench, QStringLiteral("Épreuve"));
        trigger(d->windows.textWindow(), "concordance");
        return s = d->windows.searchWindowIfLoaded();
    }
    // Searches the lemma and opens the forms window through its menu item.
    QWidget* openFormsOf(const QString& lemma)
    {
        if (!d->session.choices().asked.lemma)
            trigger(s, "lemme");
        d->search(lemma);
        trigger(s, "formes_lemme");
        return child(s, "frmFormes");
    }
    QTableView* table(QWidget* window) const { return child<QTableView>(window, "tableau"); }
    // The user's keyboard on a form's box: the row made current, then the space bar.
    void toggle(QWidget* window, const QString& form)
    {
        QTableView* view = table(window);
        for (int r = 0; r < view->model()->rowCount(); ++r)
            if (view->model()->index(r, 0).data().toString() == form) {
                view->setCurrentIndex(view->model()->index(r, 0));
                QTest::keyClick(view, Qt::Key_Space);
                return;
            }
        QFAIL(qPrintable(QStringLiteral("no form %1 in the window").arg(form)));
    }
    // quorvex-cli --list --lemma for the same texts and options: "form|reference" rows.
    QStringList cliRows(QStringList options, const QString& query) const
    {
        options.prepend(QStringLiteral("--lemma"));
        return cliListRows(d->latinPath, d->frenchPath, options, query);
    }
    // The core's forms of the session's list, with every box checked.
    QStringList coreForms() const
    {
        QStringList rows;
        for (const AttestedForm& f : attestedForms(d->session.searchedWords(), d->session.results(), Folding::Spelling))
            rows << fromCp1252(f.form) + QLatin1Char('|') + QString::number(f.count) + "|x";
        return rows;
    }
    QString label4() const { return child<QLabel>(s, "label4")->text(); }

    QPointer<SearchWindow> s;
};

void FormsWindowTest::uncheckedFormsLeaveTheListAsTheCommandLineLeavesThem()
{
    QVERIFY(open());
    QWidget* forms = openFormsOf(QStringLiteral("dico"));
    QVERIFY(forms->isVisible());
    QVERIFY(forms->isWindow());
    QCOMPARE(forms->windowModality(), Qt::NonModal);
    QCOMPARE(forms->windowTitle(), QStringLiteral("Veltrano - Quorvex - Formes"));
    QCOMPARE(table(forms)->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Forme"));
    QCOMPARE(table(forms)->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Attestations"));
    QCOMPARE(shownForms(table(forms)), coreForms());
    QCOMPARE(shownForms(table(forms)), (QStringList{"dixit|3|x", "dicit|1|x", "dicis|1|x"}));
    QCOMPARE(label4(), QStringLiteral("dico (lemme) = 5"));
    const ResultList whole = d->session.results();

    struct Step {
        const char* form;
        QStringList shown;     // the window's rows after the step
        QStringList excluded;  // the same as --exclude-form options
        QString caption;
    };
    const Step steps[] = {
        {"dicit", {"dixit|3|x", "dicit|1|-", "dicis|1|x"}, {"dicit"}, "dico (lemme, 1 exclue) = 4"},
        // A form of several spellings goes with all of them, and stays listed to be taken back.
        {"dixit", {"dixit|3|-", "dicit|1|-", "dicis|1|x"}, {"dicit", "DIXIT"}, "dico (lemme, 2 exclues) = 1"},
        {"dicis", {"dixit|3|-", "dicit|1|-", "dicis|1|-"}, {"dicit", "dixit", "dicis"}, "dico (lemme, 3 exclues) = 0"},
        {"dicit", {"dixit|3|-", "dicit|1|x", "dicis|1|-"}, {"dixit", "dicis"}, "dico (lemme, 2 exclues) = 1"},
        {"dixit", {"dixit|3|x", "dicit|1|x", "dicis|1|-"}, {"dicis"}, "dico (lemme, 1 exclue) = 4"},
    };
    for (const Step& step : steps) {
        toggle(forms, QString::fromUtf8(step.form));
        QStringList options;
        std::vector<std::string> excluded;
        for (const QString& f : step.excluded) {
            options << QStringLiteral("--exclude-form") << f;
            excluded.push_back(toCp1252(f));
        }
        QCOMPARE(d->rows(), cliRows(options, QStringLiteral("dico")));
        QCOMPARE(withoutForms(d->session.searchedWords(), whole, excluded, Folding::Spelling), d->session.results());
        QCOMPARE(shownForms(table(forms)), step.shown);
        QCOMPARE(label4(), step.caption);
        QCOMPARE(int(d->session.choices().asked.excludedForms.size()), int(step.excluded.size()));
    }
    QCOMPARE(d->rows(), (QStringList{"dixit|[1]", "DIXIT|[2]", "dicit|[3]", "dixit|[4]"}));
    QCOMPARE(child<QLabel>(s, "label4")->toolTip(), QStringLiteral("Recherche par lemme\nFormes exclues : dicis"));

    // The refill leaves the cursor on the form toggled: the space bar again takes it back.
    QCOMPARE(table(forms)->currentIndex().data().toString(), QStringLiteral("dixit"));
    QTest::keyClick(table(forms), Qt::Key_Space);
    QCOMPARE(shownForms(table(forms)), (QStringList{"dixit|3|-", "dicit|1|x", "dicis|1|-"}));
}

void FormsWindowTest::theWindowFollowsTheListAndAnotherLemmaBringsTheFormsBack()
{
    QVERIFY(open());
    QWidget* forms = openFormsOf(QStringLiteral("dico"));
    QPointer<QWidget> alive(forms);
    toggle(forms, QStringLiteral("dixit"));
    const QStringList without = {"dixit|3|-", "dicit|1|x", "dicis|1|x"};
    QCOMPARE(shownForms(table(forms)), without);

    // A sort of the list keeps the forms, their counts and their boxes, in text order.
    trigger(s, "tri_droite");
    QCOMPARE(d->rows(), (QStringList{"dicis|[3]", "dicit|[3]"}));
    QCOMPARE(shownForms(table(forms)), without);
    QCOMPARE(label4(), QStringLiteral("dico (lemme, 1 exclue) = 2"));

    // The same lemma searched again keeps its forms left out; the item again brings the same
    // window forward.
    d->search(QStringLiteral("dico"));
    QCOMPARE(shownForms(table(forms)), without);
    trigger(s, "formes_lemme");
    QCOMPARE(child(s, "frmFormes"), forms);

    // A lemma the search refuses leaves the list, the forms it left out and their boxes
    // together: the command copied and a box toggled still mean that list.
    const QStringList rows = d->rows();
    d->search(QStringLiteral("*veront"));
    QVERIFY(d->doubles.messages.expectNextNaming(QStringLiteral("« *veront »")));
    QCOMPARE(d->rows(), rows);
    trigger(s, "tri_droite");  // the window refilled
    QCOMPARE(shownForms(table(forms)), without);
    QCOMPARE(label4(), QStringLiteral("dico (lemme, 1 exclue) = 2"));
    QCOMPARE(int(d->session.choices().asked.excludedForms.size()), 1);

    // Another lemma: its own forms, every one in the list.
    d->search(QStringLiteral("deus"));
    QCOMPARE(shownForms(table(forms)), coreForms());
    QCOMPARE(shownForms(table(forms)), (QStringList{"Deus|1|x", "Dei|2|x", "deumque|1|x"}));
    QCOMPARE(label4(), QStringLiteral("deus (lemme) = 4"));
    QVERIFY(d->session.choices().asked.excludedForms.empty());
    d->search(QStringLiteral("dico"));
    QCOMPARE(shownForms(table(forms)), (QStringList{"dixit|3|x", "dicit|1|x", "dicis|1|x"}));
    QCOMPARE(d->rows(), cliRows({}, QStringLiteral("dico")));

    trigger(s, "quitter");
    QTRY_VERIFY(alive.isNull());
}

void FormsWindowTest::greyedOutsideLemmaSearchesAndSaysSoWhenTheListIsNoLongerALemmas()
{
    QVERIFY(open());
    d->search(QStringLiteral("dixit"));
    QVERIFY(!child<QAction>(s, "formes_lemme")->isEnabled());
    QWidget* forms = openFormsOf(QStringLiteral("dico"));
    QVERIFY(child<QAction>(s, "formes_lemme")->isEnabled());
    QVERIFY(child<QLabel>(forms, "legende")->text().contains(QStringLiteral("« dico »")));

    // The lemma choice off: the list is the form's, the window says why it lists nothing.
    trigger(s, "lemme");
    QVERIFY(!child<QAction>(s, "formes_lemme")->isEnabled());
    QCOMPARE(table(forms)->model()->rowCount(), 0);
    QVERIFY(child<QLabel>(forms, "legende")->text().startsWith(QStringLiteral("La liste n'est pas celle d'un lemme")));
    trigger(s, "lemme");
    QCOMPARE(shownForms(table(forms)), coreForms());
}

void FormsWindowTest::exclusionsAreNotKeptForTheNextRun()
{
    QVERIFY(open());
    QWidget* forms = openFormsOf(QStringLiteral("dico"));
    toggle(forms, QStringLiteral("dicis"));
    QCOMPARE(d->session.choices().asked.excludedForms, std::vector<std::string>{"dicis"});
    const QString ini = d->dir.filePath(QStringLiteral("Veltrano/Quorvex.ini"));
    QVERIFY(QFile::exists(ini));
    QVERIFY(!readTestFile(ini).contains("dicis"));

    WindowDriver next;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, d->dir.path());
    next.useTexts(kLatin, kFrench);
    trigger(next.windows.textWindow(), "concordance");
    QVERIFY(next.windows.searchWindowIfLoaded());
    QVERIFY(next.session.choices().asked.lemma);
    QVERIFY(next.session.choices().asked.excludedForms.empty());
    next.search(QStringLiteral("dico"));
    QCOMPARE(next.session.results().size(), std::size_t(5));
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, d->dir.path());
}

void FormsWindowTest::lackOfMemoryKeepsTheListTheBoxesAndTheChoices()
{
#ifdef __SANITIZE_ADDRESS__
    QSKIP("the allocation limit replaces operator new in the plain build only");
#else
    // Enough attestations of the lemma for its list to need more than the limit below.
    QByteArray latin = "[1] dicit ";
    for (int i = 0; i < 200000; ++i)
        latin += "dixit ";
    QVERIFY(open(latin));
    QWidget* forms = openFormsOf(QStringLiteral("dico"));
    const QStringList before = {"dicit|1|x", "dixit|200000|x"};
    QCOMPARE(shownForms(table(forms)), before);

    g_allocationLimit = 1 << 20;
    toggle(forms, QStringLiteral("dicit"));
    g_allocationLimit = 0;
    QVERIFY(d->doubles.messages.expectNext(okBox(
        QStringLiteral("Mémoire insuffisante pour retirer ou remettre la forme : la liste est conservée."),
        MessageIcon::Warning)));
    QCOMPARE(shownForms(table(forms)), before);
    QCOMPARE(d->session.results().size(), std::size_t(200001));
    QVERIFY(d->session.choices().asked.excludedForms.empty());
    QCOMPARE(label4(), QStringLiteral("dico (lemme) = 200001"));

    // With the memory back the same box works.
    toggle(forms, QStringLiteral("dicit"));
    QCOMPARE(shownForms(table(forms)), (QStringList{"dicit|1|-", "dixit|200000|x"}));
    QCOMPARE(d->session.results().size(), std::size_t(200000));
#endif
}

void FormsWindowTest::aCancelKeepsTheFormsShownUntilTheNextRefill()
{
    QVERIFY(open());
    QWidget* forms = openFormsOf(QStringLiteral("dico"));
    const QStringList dico = shownForms(table(forms));
    d->doubles.progress.cancelAt = 1;
    d->search(QStringLiteral("deus"));
    QCOMPARE(d->rows().size(), 4);
    QCOMPARE(shownForms(table(forms)), dico);
    QCOMPARE(d->doubles.progress.showAfter, 500);
    QCOMPARE(d->doubles.progress.label, QStringLiteral("Calcul des formes du lemme"));
    QVERIFY(!d->doubles.progress.open);
    d->doubles.progress.cancelAt = 0;
    trigger(s, "tri_gauche");
    // In the order of their first attestation in the text, whatever the list's order.
    QCOMPARE(shownForms(table(forms)), (QStringList{"Deus|1|x", "Dei|2|x", "deumque|1|x"}));
}

void FormsWindowTest::theSpaceBarTogglesTheFirstFormAsSoonAsTheWindowOpens()
{
    QVERIFY(open());
    QWidget* forms = openFormsOf(QStringLiteral("dico"));
    QTableView* view = table(forms);
    QTRY_COMPARE(QApplication::focusWidget(), view);
    QCOMPARE(view->currentIndex(), view->model()->index(0, 0));
    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(shownForms(view), (QStringList{"dixit|3|-", "dicit|1|x", "dicis|1|x"}));
    QCOMPARE(d->rows(), cliRows({"--exclude-form", "dixit"}, QStringLiteral("dico")));
    // The cursor stays on the box: a second space takes the form back.
    QTest::keyClick(view, Qt::Key_Space);
    QCOMPARE(shownForms(view), (QStringList{"dixit|3|x", "dicit|1|x", "dicis|1|x"}));
}

QTEST_MAIN(FormsWindowTest)
#include "FormsWindowTest.moc"
