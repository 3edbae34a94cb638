#include "platform/QtTextInput.h"

#include <QInputDialog>

namespace quorvex {

std::optional<QString> QtTextInput::ask(QWidget* parent, const QString& title, const QString& prompt,
                                        const QString& proposed)
{
    bool accepted = false;
    const QString text = QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, proposed, &accepted);
    if (!accepted)
        return std::nullopt;
    return text;
}

} // namespace quorvex
