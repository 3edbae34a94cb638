#pragma once
// Message boxes that are never shown: each one is recorded with what the user would have
// seen, and answered from a script (the default button when nothing is scripted).

#include "platform/MessageBoxes.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace quorvex {

struct ShownMessage {
    Message message;
    QWidget* parent = nullptr;
    bool pointerBusy = false;  // was any busy pointer on while it was shown
};

class FakeMessageBoxes : public MessageBoxes {
public:
    MessageAnswer show(QWidget* parent, const Message& message) override;

    // The answers of the next boxes, in order.
    void queueAnswer(MessageAnswer answer) { m_answers.append(answer); }

    const QList<ShownMessage>& shown() const { return m_shown; }

    // The oldest box not yet taken, removed from the record; nothing when none is left.
    std::optional<ShownMessage> take();

    // True when the oldest box not yet taken has exactly this text, title, buttons, default
    // and icon; it is then removed. Otherwise false, saying what was shown instead (or that
    // no box was shown), so QVERIFY(boxes.expectNext(...)) fails the test.
    bool expectNext(const Message& expected);

    // True when every box shown has been taken; otherwise false, listing the others.
    bool noneLeft() const;

    // Told whether a busy pointer is on; set by TestPlatform.
    std::function<bool()> busyProbe;
    // Runs while the box is "open", before it is answered.
    std::function<void(const Message&)> onShow;

    static QString describe(const Message& message);

private:
    QList<ShownMessage> m_shown;
    QList<MessageAnswer> m_answers;
};

} // namespace quorvex
