#pragma once
// One user's session over the platform doubles: the windows, texts written into a temporary
// folder and named in the text window, and the steps that most window tests take.

#include "windows/SearchWindow.h"
#include "widgets/ResultGrid.h"
#include "platform/TextCodec.h"
#include "app/WindowManager.h"
#include "session/Session.h"
#include "windows/TextWindow.h"
#include "support/TestPlatform.h"
#include "windows/ContextViewer.h"

#include <QAbstractItemView>
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace quorvex {

// The control of that name in the window; a missing control ends the test run.
template <typename T = QWidget>
T* child(const QWidget* window, const char* name)
{
    T* found = window ? window->findChild<T*>(QLatin1String(name)) : nullptr;
    if (!found)
        qFatal("no control named %s", name);
    return found;
}
inline void click(const QWidget* window, const char* button) { child<QPushButton>(window, button)->click(); }
inline void trigger(const QWidget* window, const char* action) { child<QAction>(window, action)->trigger(); }

// Windows-1252 bytes from a UTF-8 literal, for texts with accents.
inline QByteArray cp1252(const char* utf8) { return QByteArray::fromStdString(toCp1252(QString::fromUtf8(utf8))); }

inline QByteArray readTestFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every row of a view's model in the order shown, its cells' text joined by tabs.
inline QStringList shownRows(const QAbstractItemView* view)
{
    const QAbstractItemModel* model = view->model();
    QStringList rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < model->columnCount(); ++c)
            cells << model->index(r, c).data().toString();
        rows << cells.join(QLatin1Char('\t'));
    }
    return rows;
}

// A box with OK only, as most boxes of the program are.
inline Message okBox(const QString& text, MessageIcon icon = MessageIcon::None, const QString& title = {})
{
    Message m;
    m.text = text;
    m.title = title;
    m.icon = icon;
    return m;
}

class WindowDriver {
public:
    QTemporaryDir dir;
    TestPlatform doubles;
    WindowManager windows{doubles.platform()};
    Session& session = windows.session();
    QString latinPath;
    QString frenchPath;

    // The choices kept between runs go to the test's folder, never the user's.
    WindowDriver() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path()); }

    // Writes the bytes as they are into the folder and returns the file's full path.
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file %s", qPrintable(file.fileName()));
        return file.fileName();
    }
    // Writes the texts and names them in the text window; a null French text leaves its box
    // empty.
    void useTexts(const QByteArray& latin, const QByteArray& french = {}, const QString& title = {})
    {
        latinPath = write(QStringLiteral("latin.txt"), latin);
        frenchPath = french.isNull() ? QString() : write(QStringLiteral("français.txt"), french);
        setBox("Text_latin", latinPath);
        setBox("Text_francais", frenchPath);
        setBox("References", title);
    }
    // Sets one of the text window's boxes as if typed.
    void setBox(const char* name, const QString& text) { child<QLineEdit>(windows.textWindow(), name)->setText(text); }
    // Opens the search window through "&Concordance" when it is not loaded, then searches.
    SearchWindow* search(const QString& query)
    {
        if (!windows.searchWindowIfLoaded())
            trigger(windows.textWindow(), "concordance");
        SearchWindow* s = windows.searchWindowIfLoaded();
        if (s) {
            child<QLineEdit>(s, "Text1")->setText(query);
            click(s, "Command1");
        }
        return s;
    }
    // The user's click on a row of the result grid (its form, column 0): the viewer, or
    // nullptr.
    ContextViewer* openRow(std::size_t row)
    {
        ResultGrid* grid = windows.searchWindowIfLoaded()->resultGrid();
        const QModelIndex cell = grid->model()->index(int(row) - 1, 0);
        grid->scrollTo(cell);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
        return windows.contextViewerIfLoaded();
    }
    // "form|reference" for every row under the header, as the session lists them.
    QStringList rows() const
    {
        QStringList out;
        for (std::size_t r = 1; r < session.rowCount(); ++r)
            out << fromCp1252(session.form(r)) + QLatin1Char('|') + fromCp1252(session.reference(r));
        return out;
    }
    // Every box shown was expected and taken, and no busy pointer is left on.
    bool settled() const
    {
        return doubles.messages.noneLeft() && !doubles.busy.anyBusy() && doubles.busy.unmatchedOffs() == 0;
    }
};

// A fresh session for every test function, which must end settled.
class WindowTest : public QObject {
    Q_OBJECT
protected:
    std::unique_ptr<WindowDriver> d;
protected slots:
    void init() { d = std::make_unique<WindowDriver>(); }
    void cleanup()
    {
        QVERIFY(d->settled());
        d.reset();
    }
};

} // namespace quorvex
