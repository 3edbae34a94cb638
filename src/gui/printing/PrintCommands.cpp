#include "printing/PrintCommands.h"

#include "output/PrintLayout.h"
#include "platform/BusyPointer.h"
#include "session/Session.h"
#include "platform/MessageBoxes.h"
#include "platform/PrintSetupDialog.h"
#include "platform/PrintingSurface.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QTextDocument>
#include <QTextEdit>

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
    if (!outcome)
        platform.messages.show(window, failureMessage(outcome));
}

} // namespace

void printAttestations(QWidget* window, const Platform& platform, Session& session)
{
    platform.printSetup.showPrinter(window);
    layOutAndPlay(window, platform, [&session] {
        PrintOperations operations = attestationListLayout(session.results());
        session.leaveCurrentCellAfterReadingRows();
        return operations;
    });
}

void printContext(QWidget* window, const Platform& platform, const std::string& latinCp1252,
                  const std::string& frenchCp1252)
{
    platform.printSetup.showPrinter(window);
    layOutAndPlay(window, platform,
                  [&] { return contextLayout(latinCp1252, frenchCp1252); });
}

std::string paneTextCp1252(const QTextEdit& pane)
{
    // The raw text, unlike toPlainText(), keeps non-breaking spaces, which must not become
    // break points of the French lines. Each paragraph end is a line break of the file.
    QString raw = pane.document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    raw.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return toCp1252(raw);
}

} // namespace quorvex
