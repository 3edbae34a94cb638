#pragma once
// The box that asks the user for a line of text.

#include <QString>

#include <optional>

class QWidget;

namespace quorvex {

class TextInput {
public:
    virtual ~TextInput() = default;
    // The line typed (possibly empty), or none when the user cancelled.
    virtual std::optional<QString> ask(QWidget* parent, const QString& title, const QString& prompt,
                                       const QString& proposed) = 0;
};

} // namespace quorvex
