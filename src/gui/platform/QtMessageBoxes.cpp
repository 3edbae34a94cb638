#include "platform/QtMessageBoxes.h"

#include "look/WindowLook.h"

#include <QMessageBox>

namespace quorvex {

namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Critical: return QMessageBox::Critical;
    case MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageAnswer QtMessageBoxes::show(QWidget* parent, const Message& message)
{
    QMessageBox box(parent);
    box.setIcon(toQt(message.icon));
    box.setWindowTitle(message.title.isEmpty() ? applicationTitle() : message.title);
    // The texts carry CR LF as the program writes them; a label wants a bare line feed.
    QString text = message.text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    if (message.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(message.defaultAnswer == MessageAnswer::No ? QMessageBox::No
                                                                        : QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    const int answer = box.exec();
    if (message.buttons == MessageButtons::YesNo)
        return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
    return MessageAnswer::Ok;
}

} // namespace quorvex
