#pragma once
// Message boxes that are never shown: each one is recorded with what the user would have
// seen, and answered from a script (the default button when nothing is scripted).

#include "platform/MessageBoxes.h"

#include <QList>
#include <QString>
#include <QtDebug>

#include <functional>

namespace quorvex {

struct ShownMessage {
    Message message;
    QWidget* parent = nullptr;
    bool pointerBusy = false;  // was any busy pointer on while it was shown
};

class FakeMessageBoxes : public MessageBoxes {
public:
    MessageAnswer show(QWidget* parent, const Message& message) override
    {
        m_shown.append({message, parent, busyProbe ? busyProbe() : false});
        if (!m_answers.isEmpty())
            return m_answers.takeFirst();
        if (message.buttons == MessageButtons::YesNo)
            return message.defaultAnswer == MessageAnswer::No ? MessageAnswer::No : MessageAnswer::Yes;
        return MessageAnswer::Ok;
    }

    // The answers of the next boxes, in order.
    void queueAnswer(MessageAnswer answer) { m_answers.append(answer); }

    const QList<ShownMessage>& shown() const { return m_shown; }
    // Takes every box shown so far and drops the answers not used, as a hand that reads none.
    void forget()
    {
        m_shown.clear();
        m_answers.clear();
    }

    // True when the oldest box not yet taken has exactly this text, title, buttons, default
    // and icon; it is then removed. Otherwise false, saying what was shown instead (or that
    // no box was shown), so QVERIFY(boxes.expectNext(...)) fails the test.
    bool expectNext(const Message& expected)
    {
        return expectNextWhere(describe(expected), [&expected](const Message& got) {
            return got.text == expected.text && got.title == expected.title && got.buttons == expected.buttons
                && got.icon == expected.icon
                && (got.buttons == MessageButtons::Ok || got.defaultAnswer == expected.defaultAnswer);
        });
    }
    // The same for a box with OK only whose text holds `part` (a file's name, say).
    bool expectNextNaming(const QString& part)
    {
        return expectNextWhere(QStringLiteral("a box naming ") + part, [&part](const Message& got) {
            return got.text.contains(part) && got.buttons == MessageButtons::Ok;
        });
    }

    // True when every box shown has been taken; otherwise false, listing the others.
    bool noneLeft() const
    {
        for (const ShownMessage& m : m_shown)
            qWarning().noquote() << "unexpected message box:" << describe(m.message);
        return m_shown.isEmpty();
    }

    // Told whether a busy pointer is on; set by TestPlatform.
    std::function<bool()> busyProbe;

private:
    static QString describe(const Message& m)
    {
        static const char* const buttons[] = {"Ok", "YesNo"};
        static const char* const answers[] = {"Ok", "Yes", "No"};
        static const char* const icons[] = {"None", "Information", "Warning", "Critical", "Question"};
        QString text = m.text;
        text.replace(QLatin1Char('\r'), QLatin1String("\\r")).replace(QLatin1Char('\n'), QLatin1String("\\n"));
        return QStringLiteral("[%1] \"%2\" buttons=%3 default=%4 icon=%5")
            .arg(m.title, text, QLatin1String(buttons[int(m.buttons)]),
                 QLatin1String(answers[int(m.defaultAnswer)]), QLatin1String(icons[int(m.icon)]));
    }

    bool expectNextWhere(const QString& wanted, const std::function<bool(const Message&)>& matches)
    {
        if (m_shown.isEmpty()) {
            qWarning().noquote() << "expected message box was never shown:" << wanted;
            return false;
        }
        if (!matches(m_shown.first().message)) {
            qWarning().noquote() << "expected message box:" << wanted << "\nshown instead:"
                                 << describe(m_shown.first().message);
            return false;
        }
        m_shown.removeFirst();
        return true;
    }

    QList<ShownMessage> m_shown;
    QList<MessageAnswer> m_answers;
};

} // namespace quorvex
