// The real save dialog offering several kinds: the filter the user selected comes back with
// the name, and a name typed without extension takes the selected kind's. Over an existing
// file it asks nothing: the command that saves asks its own one question.

#include "platform/QtFileDialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace quorvex;

class QtFileDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void saveAsGivesTheSelectedFilter_data();
    void saveAsGivesTheSelectedFilter();
    void anExistingFileIsChosenWithoutAQuestion();
};

void QtFileDialogsTest::saveAsGivesTheSelectedFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("selected");  // -1: the dialog is cancelled
    QTest::addColumn<QString>("expectedName");
    QTest::newRow("first kind, no extension typed") << "liste" << 0 << "liste.tsv";
    QTest::newRow("another kind selected, no extension typed") << "liste" << 2 << "liste.html";
    QTest::newRow("an extension typed is kept") << "liste.dat" << 1 << "liste.dat";
    QTest::newRow("cancelled") << "liste" << -1 << "";
}

void QtFileDialogsTest::saveAsGivesTheSelectedFilter()
{
    QFETCH(QString, typed);
    QFETCH(int, selected);
    QFETCH(QString, expectedName);
    QTemporaryDir dir;
    const QStringList filters{"TSV (*.tsv)|*.tsv", "CSV (*.csv)|*.csv", "HTML (*.html)|*.html"};
    QStringList offered;
    // The dialog is answered as a user would, once it is up.
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        offered = dialog->nameFilters();
        if (selected < 0) {
            dialog->reject();
            return;
        }
        dialog->selectNameFilter(offered.value(selected));
        emit dialog->filterSelected(offered.value(selected));
        dialog->selectFile(typed);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QtFileDialogs dialogs;
    const FileDialogs::SaveAnswer answer =
        dialogs.showSaveAs(nullptr, filters, dir.filePath(QStringLiteral("proposé")));
    QCOMPARE(offered, (QStringList{"TSV (*.tsv)", "CSV (*.csv)", "HTML (*.html)"}));
    QCOMPARE(answer.fileName, expectedName.isEmpty() ? QString() : dir.filePath(expectedName));
    if (selected >= 0)
        QCOMPARE(answer.filter, selected);
}

void QtFileDialogsTest::anExistingFileIsChosenWithoutAQuestion()
{
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("liste.pdf"));
    QFile file(existing);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    // Answers whatever comes up: the dialog with the existing file, and any question of Qt's
    // about it with "No" (after which the dialog would stay up, so it is then cancelled).
    int questions = 0;
    bool accepted = false;
    QTimer answering;
    connect(&answering, &QTimer::timeout, this, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            ++questions;
            box->reject();
        } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            if (!accepted) {
                accepted = true;
                dialog->selectFile(existing);
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            } else if (questions > 0) {
                dialog->reject();
            }
        }
    });
    answering.start(0);
    QtFileDialogs dialogs;
    const QString chosen =
        dialogs.showSave(nullptr, QStringLiteral("Fichiers PDF (*.pdf)|*.pdf"), dir.filePath(QStringLiteral("x.pdf")),
                         QStringLiteral("Imprimer dans un fichier PDF"));
    answering.stop();
    QCOMPARE(questions, 0);
    QCOMPARE(chosen, existing);
}

QTEST_MAIN(QtFileDialogsTest)
#include "QtFileDialogsTest.moc"
