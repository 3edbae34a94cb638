#include "windows/ListSave.h"

#include "look/WindowLook.h"
#include "platform/BusyPointer.h"
#include "platform/FileMessages.h"
#include "platform/FileTest.h"
#include "platform/MessageBoxes.h"
#include "platform/Platform.h"
#include "platform/ProgressIndicator.h"
#include "platform/TextCodec.h"
#include "session/Session.h"

namespace quorvex {

namespace {

// Saves larger than this (decimal bytes) ask before writing.
constexpr std::uint64_t kSizeWorthAsking = 1'000'000'000;

} // namespace

bool writeListFile(QWidget* parent, const Platform& platform, Session& session, const QString& name,
                   const ListFileWriter& write)
{
    // Before the question about replacing it: a text of the search is never written over.
    if (const FileError input = refuseInputAsOutput(toPath(name), toPath(session.latinPath()),
                                                    toPath(session.frenchPath()))) {
        platform.messages.show(parent, fileErrorMessage(input));
        return false;
    }
    if (platform.files.fileExists(name)) {
        Message question;
        question.text = name + QStringLiteral(" existe.\r\nDésirez-vous l'écraser?");
        question.title = QStringLiteral("Fichier existant");
        question.buttons = MessageButtons::YesNo;
        question.defaultAnswer = MessageAnswer::Yes;
        if (platform.messages.show(parent, question) != MessageAnswer::Yes)
            return false;
        // The old file is not deleted here: it is replaced only once the new one is
        // complete, so a failed write leaves it as it was.
    }

    FileError error;
    bool declined = false;
    {
        BusyGuard busy(platform.busy, parent);
        SaveControl control;
        // Past a gigabyte the user has a last word, once the size is known and fits the disk.
        control.confirmSize = [&](std::uint64_t size) {
            if (size <= kSizeWorthAsking)
                return true;
            busy.release();
            Message question;
            question.text = QStringLiteral("Le fichier fera %1. Continuer ?")
                                .arg(QString::fromStdString(formatByteSize(size)));
            question.title = applicationTitle();
            question.buttons = MessageButtons::YesNo;
            question.defaultAnswer = MessageAnswer::No;
            declined = platform.messages.show(parent, question) != MessageAnswer::Yes;
            busy.resume();
            return !declined;
        };
        bool progressShown = false;
        control.progress = [&](std::uint64_t written, std::uint64_t size) {
            if (!progressShown) {
                platform.progress.begin(parent, QStringLiteral("Enregistrement de %1").arg(name), size);
                progressShown = true;
            }
            return platform.progress.advance(written);
        };
        error = write(toPath(name), control);
        if (progressShown)
            platform.progress.end();
        if (!error)
            session.leaveCurrentCellAfterReadingRows();
    }
    if (declined)
        return false;
    if (error.kind == FileErrorKind::OutOfMemory) {
        Message message;
        message.text = QStringLiteral("Mémoire insuffisante pour enregistrer la liste dans « %1 » : "
                                      "rien n'a été écrit.")
                           .arg(name);
        message.icon = MessageIcon::Warning;
        platform.messages.show(parent, message);
        return false;
    }
    if (error) {
        platform.messages.show(parent, fileErrorMessage(error));
        return false;
    }
    Message done;
    done.text = QStringLiteral("L'enregistrement est terminé.");
    platform.messages.show(parent, done);
    return true;
}

} // namespace quorvex
