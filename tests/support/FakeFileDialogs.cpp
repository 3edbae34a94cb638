#include "support/FakeFileDialogs.h"

namespace quorvex {

QString FakeFileDialogs::showOpen(QWidget* parent, const QString& filter, const QString& fileName)
{
    return answer(DialogCall::Open, parent, filter, fileName);
}

QString FakeFileDialogs::showSave(QWidget* parent, const QString& filter, const QString& fileName)
{
    return answer(DialogCall::Save, parent, filter, fileName);
}

QString FakeFileDialogs::answer(DialogCall::Kind kind, QWidget* parent, const QString& filter,
                                const QString& fileName)
{
    calls.append({kind, parent, filter, fileName, busyProbe ? busyProbe() : false});
    return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
}

} // namespace quorvex
