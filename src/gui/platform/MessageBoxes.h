#pragma once
// Every modal message of the program goes through this one interface, so tests can script
// the answers and see what was shown.

#include <QString>

class QWidget;

namespace quorvex {

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Information, Warning, Critical, Question };
enum class MessageAnswer { Ok, Yes, No };

struct Message {
    QString text;
    QString title;  // empty: the application's title
    MessageButtons buttons = MessageButtons::Ok;
    MessageAnswer defaultAnswer = MessageAnswer::Ok;
    MessageIcon icon = MessageIcon::None;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    virtual MessageAnswer show(QWidget* parent, const Message& message) = 0;
};

} // namespace quorvex
