#pragma once
// File dialogs that are never shown: each call is recorded, and answered with the next
// scripted name (empty, the cancel, when nothing is scripted) and, for a dialog offering
// several kinds of file, the filter scripted with it.

#include "platform/FileDialogs.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <functional>

namespace quorvex {

struct DialogCall {
    enum Kind { Open, Save } kind = Open;
    QWidget* parent = nullptr;
    QString filter;  // the one filter, or every filter joined by "\n"
    QString proposedName;
    bool pointerBusy = false;
    QString title;
};

class FakeFileDialogs : public FileDialogs {
public:
    QString showOpen(QWidget* parent, const QString& filter, const QString& fileName) override
    {
        return answer(DialogCall::Open, parent, filter, fileName).fileName;
    }
    QString showSave(QWidget* parent, const QString& filter, const QString& fileName,
                     const QString& title = QString()) override
    {
        return answer(DialogCall::Save, parent, filter, fileName, title).fileName;
    }
    SaveAnswer showSaveAs(QWidget* parent, const QStringList& filters, const QString& fileName,
                          const QString& title = QString()) override
    {
        return answer(DialogCall::Save, parent, filters.join(QLatin1Char('\n')), fileName, title);
    }

    // The names the next dialogs return, in order, with the filter selected (an index into
    // the filters offered); an empty name is a cancel.
    void queueAnswer(const QString& name, int filter = 0) { m_answers.append({name, filter}); }
    // Drops the answers no dialog took.
    void forget() { m_answers.clear(); }

    QList<DialogCall> calls;
    std::function<bool()> busyProbe;  // set by TestPlatform

private:
    SaveAnswer answer(DialogCall::Kind kind, QWidget* parent, const QString& filter, const QString& name,
                      const QString& title = QString())
    {
        calls.append({kind, parent, filter, name, busyProbe ? busyProbe() : false, title});
        if (m_answers.isEmpty())
            return {};
        const QPair<QString, int> next = m_answers.takeFirst();
        return {next.first, next.second};
    }
    QList<QPair<QString, int>> m_answers;
};

} // namespace quorvex
