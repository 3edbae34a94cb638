#include "support/FakeMessageBoxes.h"

#include <QtDebug>

namespace quorvex {

namespace {

const char* name(MessageButtons b) { return b == MessageButtons::Ok ? "Ok" : "YesNo"; }

const char* name(MessageAnswer a)
{
    switch (a) {
    case MessageAnswer::Ok: return "Ok";
    case MessageAnswer::Yes: return "Yes";
    case MessageAnswer::No: return "No";
    }
    return "?";
}

const char* name(MessageIcon i)
{
    switch (i) {
    case MessageIcon::None: return "None";
    case MessageIcon::Information: return "Information";
    case MessageIcon::Warning: return "Warning";
    case MessageIcon::Critical: return "Critical";
    case MessageIcon::Question: return "Question";
    }
    return "?";
}

} // namespace

MessageAnswer FakeMessageBoxes::show(QWidget* parent, const Message& message)
{
    m_shown.append({message, parent, busyProbe ? busyProbe() : false});
    if (onShow)
        onShow(message);
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    if (message.buttons == MessageButtons::YesNo)
        return message.defaultAnswer == MessageAnswer::No ? MessageAnswer::No : MessageAnswer::Yes;
    return MessageAnswer::Ok;
}

std::optional<ShownMessage> FakeMessageBoxes::take()
{
    if (m_shown.isEmpty())
        return std::nullopt;
    return m_shown.takeFirst();
}

bool FakeMessageBoxes::expectNext(const Message& expected)
{
    if (m_shown.isEmpty()) {
        qWarning().noquote() << "expected message box was never shown:" << describe(expected);
        return false;
    }
    const Message& got = m_shown.first().message;
    const bool same = got.text == expected.text && got.title == expected.title
        && got.buttons == expected.buttons && got.icon == expected.icon
        && (got.buttons == MessageButtons::Ok || got.defaultAnswer == expected.defaultAnswer);
    if (!same) {
        qWarning().noquote() << "expected message box:" << describe(expected)
                             << "\nshown instead:" << describe(got);
        return false;
    }
    m_shown.removeFirst();
    return true;
}

bool FakeMessageBoxes::noneLeft() const
{
    for (const ShownMessage& m : m_shown)
        qWarning().noquote() << "unexpected message box:" << describe(m.message);
    return m_shown.isEmpty();
}

QString FakeMessageBoxes::describe(const Message& m)
{
    QString text = m.text;
    text.replace(QLatin1String("\r"), QLatin1String("\\r")).replace(QLatin1String("\n"), QLatin1String("\\n"));
    return QStringLiteral("[%1] \"%2\" buttons=%3 default=%4 icon=%5")
        .arg(m.title, text, QLatin1String(name(m.buttons)), QLatin1String(name(m.defaultAnswer)),
             QLatin1String(name(m.icon)));
}

} // namespace quorvex
