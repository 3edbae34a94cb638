#pragma once
// File dialogs that are never shown: each call is recorded, and answered with the next
// scripted name (empty, the cancel, when nothing is scripted).

#include "platform/FileDialogs.h"

#include <QList>
#include <QString>

#include <functional>

namespace quorvex {

struct DialogCall {
    enum Kind { Open, Save } kind = Open;
    QWidget* parent = nullptr;
    QString filter;
    QString proposedName;
    bool pointerBusy = false;
    QString title;
};

class FakeFileDialogs : public FileDialogs {
public:
    QString showOpen(QWidget* parent, const QString& filter, const QString& fileName) override
    {
        return answer(DialogCall::Open, parent, filter, fileName);
    }
    QString showSave(QWidget* parent, const QString& filter, const QString& fileName,
                     const QString& title = QString()) override
    {
        return answer(DialogCall::Save, parent, filter, fileName, title);
    }

    // The names the next dialogs return, in order; an empty name is a cancel.
    void queueAnswer(const QString& name) { m_answers.append(name); }

    QList<DialogCall> calls;
    std::function<bool()> busyProbe;  // set by TestPlatform

private:
    QString answer(DialogCall::Kind kind, QWidget* parent, const QString& filter, const QString& name,
                   const QString& title = QString())
    {
        calls.append({kind, parent, filter, name, busyProbe ? busyProbe() : false, title});
        return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
    }
    QList<QString> m_answers;
};

} // namespace quorvex
