#pragma once
// A text input box that is never shown: each call is recorded and answered with the next
// scripted line (a cancel when nothing is scripted).

#include "platform/TextInput.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace quorvex {

struct TextInputCall {
    QWidget* parent = nullptr;
    QString title;
    QString prompt;
    QString proposed;
    bool pointerBusy = false;
};

class FakeTextInput : public TextInput {
public:
    std::optional<QString> ask(QWidget* parent, const QString& title, const QString& prompt,
                               const QString& proposed) override
    {
        calls.append({parent, title, prompt, proposed, busyProbe ? busyProbe() : false});
        return m_answers.isEmpty() ? std::nullopt : m_answers.takeFirst();
    }

    // The next answers, in order; none is a cancel.
    void queueAnswer(const std::optional<QString>& line) { m_answers.append(line); }
    // Drops the answers no question took, and the questions asked.
    void forget()
    {
        m_answers.clear();
        calls.clear();
    }

    QList<TextInputCall> calls;
    std::function<bool()> busyProbe;  // set by TestPlatform

private:
    QList<std::optional<QString>> m_answers;
};

} // namespace quorvex
