#pragma once
// The text input box as Qt's input dialog.

#include "platform/TextInput.h"

namespace quorvex {

class QtTextInput : public TextInput {
public:
    std::optional<QString> ask(QWidget* parent, const QString& title, const QString& prompt,
                               const QString& proposed) override;
};

} // namespace quorvex
