#pragma once
// Message boxes on screen: QMessageBox with the text, title, buttons, default and icon asked.

#include "platform/MessageBoxes.h"

namespace quorvex {

class QtMessageBoxes : public MessageBoxes {
public:
    MessageAnswer show(QWidget* parent, const Message& message) override;
};

} // namespace quorvex
