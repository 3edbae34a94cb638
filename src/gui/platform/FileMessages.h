#pragma once
// The French message boxes that tell the user a file could not be used.

#include "text/TextFile.h"
#include "platform/MessageBoxes.h"

namespace quorvex {

// "Le fichier est trop volumineux." CR LF "Le fichier ne peut dépasser la taille de 60 KO",
// title "Fichier trop volumineux", information icon, OK.
Message tooLargeMessage();

// The message for any failure: the one above for a file too large for memory, otherwise
// the sentence naming the file and the reason, with the application's title.
Message fileErrorMessage(const FileError& error);

} // namespace quorvex
