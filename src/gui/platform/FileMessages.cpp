#include "platform/FileMessages.h"

namespace quorvex {

Message tooLargeMessage()
{
    Message m;
    m.text = QStringLiteral("Le fichier est trop volumineux.\r\n"
                            "Le fichier ne peut dépasser la taille de 60 KO");
    m.title = QStringLiteral("Fichier trop volumineux");
    m.icon = MessageIcon::Information;
    return m;
}

Message fileErrorMessage(const FileError& error)
{
    if (error.kind == FileErrorKind::TooLarge)
        return tooLargeMessage();
    Message m;
    m.text = QString::fromStdString(describeFileError(error));
    m.icon = MessageIcon::Warning;
    return m;
}

} // namespace quorvex
