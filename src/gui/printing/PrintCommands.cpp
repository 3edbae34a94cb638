#include "printing/PrintCommands.h"

#include "output/PrintLayout.h"
#include "platform/BusyPointer.h"
#include "platform/FileTest.h"
#include "session/Session.h"
#include "platform/MessageBoxes.h"
#include "platform/PrintSetupDialog.h"
#include "platform/PrintingSurface.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QFileInfo>

namespace quorvex {

namespace {

Message failureMessage(const PrintOutcome& outcome)
{
    Message m;
    m.icon = MessageIcon::Critical;
    switch (outcome.failure) {
    case PrintFailure::NoPrinter:
        m.icon = MessageIcon::Warning;
        m.text = QString::fromUtf8(
            "Aucune imprimante n'est installée et aucun fichier PDF n'a été choisi : "
            "rien n'a été imprimé.\n\nChoisissez une imprimante ou l'impression dans un "
            "fichier PDF, puis relancez l'impression.");
        break;
    case PrintFailure::CannotWrite:
        m.text = QString::fromUtf8("Le fichier PDF « %1 » ne peut pas être écrit (dossier "
                                   "absent, accès refusé ou disque plein) : l'impression "
                                   "n'a pas abouti.")
                     .arg(QDir::toNativeSeparators(outcome.target));
        break;
    case PrintFailure::PrinterError:
    case PrintFailure::None:
        m.text = QString::fromUtf8("L'imprimante « %1 » a signalé une erreur : "
                                   "l'impression n'a pas abouti.")
                     .arg(outcome.target);
        break;
    }
    return m;
}

// Without a printer the printout goes into a PDF file named after the title, beside the
// Latin text; characters no file name may hold become "_".
QString defaultPdfPath(const Session& session)
{
    QString name = session.title().trimmed().isEmpty() ? QStringLiteral("Veltrano - Quorvex")
                                                       : session.title();
    for (QChar& c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    const QFileInfo latin(session.latinPath());
    return QDir(latin.absolutePath()).filePath(name + QStringLiteral(".pdf"));
}

// Shows the setup dialog over the current printer (the default PDF file when there is no
// printer). false when the user declined to replace an existing PDF file: nothing is printed.
bool choosePrinter(QWidget* window, const Platform& platform, const Session& session)
{
    if (const PrintTarget current = platform.printing.target(); !current.toPdf && current.name.isEmpty())
        platform.printing.printToPdf(defaultPdfPath(session));
    // A file confirmed in the dialog was confirmed there; a kept one is asked about here.
    const bool confirmed = platform.printSetup.showPrinter(window);
    const PrintTarget target = platform.printing.target();
    if (confirmed || !target.toPdf || !platform.files.fileExists(target.name))
        return true;
    Message question;
    question.text = QDir::toNativeSeparators(target.name)
        + QStringLiteral(" existe.\r\nDésirez-vous l'écraser?");
    question.title = QStringLiteral("Fichier existant");
    question.buttons = MessageButtons::YesNo;
    question.defaultAnswer = MessageAnswer::Yes;
    return platform.messages.show(window, question) == MessageAnswer::Yes;
}

// The busy pointer covers the layout (a long list takes a moment) and the printing, and is
// off again before any message, whatever the printer did.
template <typename Layout>
void layOutAndPlay(QWidget* window, const Platform& platform, Layout layout)
{
    PrintOutcome outcome;
    {
        BusyGuard busy(platform.busy, window);
        outcome = platform.printing.play(layout());
    }
    if (!outcome) {
        platform.messages.show(window, failureMessage(outcome));
        return;
    }
    // A file is no printer: say where the pages went.
    if (const PrintTarget target = platform.printing.target(); target.toPdf) {
        Message written;
        written.text = QStringLiteral("L'impression a été enregistrée dans le fichier PDF « %1 ».")
                           .arg(QDir::toNativeSeparators(target.name));
        platform.messages.show(window, written);
    }
}

} // namespace

void printAttestations(QWidget* window, const Platform& platform, Session& session)
{
    if (!choosePrinter(window, platform, session))
        return;
    layOutAndPlay(window, platform, [&session] {
        PrintOperations operations = session.attestationListLayout();
        session.leaveCurrentCellAfterReadingRows();
        return operations;
    });
}

void printContext(QWidget* window, const Platform& platform, const Session& session,
                  const std::string& latinCp1252, const std::string& frenchCp1252)
{
    if (!choosePrinter(window, platform, session))
        return;
    layOutAndPlay(window, platform,
                  [&] { return contextLayout(latinCp1252, frenchCp1252); });
}

} // namespace quorvex
