#include "printing/PrintCommands.h"

#include "output/PrintLayout.h"
#include "platform/BusyPointer.h"
#include "platform/FileMessages.h"
#include "platform/FileTest.h"
#include "platform/FileDialogs.h"
#include "platform/ProgressIndicator.h"
#include "session/Session.h"
#include "platform/MessageBoxes.h"
#include "platform/PrintSetupDialog.h"
#include "platform/PrintingSurface.h"
#include "platform/TextCodec.h"

#include <QDir>
#include <QFileInfo>

#include <new>
#include <stdexcept>

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
    case PrintFailure::Cancelled:
    case PrintFailure::None:
        m.text = QString::fromUtf8("L'imprimante « %1 » a signalé une erreur : "
                                   "l'impression n'a pas abouti.")
                     .arg(outcome.target);
        break;
    }
    return m;
}

// The folder of the last PDF (the printer still names it), else the Latin text's; none when
// neither is an ordinary folder, where a file dialog could block.
QString pdfFolder(const Platform& platform, const Session& session, const PrintTarget& target)
{
    for (const QString& file : {target.toPdf ? target.name : QString(), session.latinPath()}) {
        if (file.isEmpty())
            continue;
        const QString folder = QFileInfo(file).absolutePath();
        if (platform.files.isOrdinaryFolder(folder))
            return folder;
    }
    return {};
}

// Shows the setup dialog over the current printer; a PDF output then asks for its file,
// every time. false when the user gave no file or kept an existing one: nothing is printed.
bool choosePrinter(QWidget* window, const Platform& platform, const Session& session,
                   const QString& form)
{
    const bool confirmed = platform.printSetup.showPrinter(window);
    const PrintTarget target = platform.printing.target();
    if (!target.toPdf && !target.name.isEmpty())
        return true;
    // A file just confirmed in the setup dialog is proposed as it is.
    const QString fileName = pdfFileName(session.title(), form);
    const QString folder = pdfFolder(platform, session, target);
    const QString proposed = confirmed && target.toPdf
        ? target.name
        : (folder.isEmpty() ? fileName : QDir(folder).filePath(fileName));
    QString name = platform.fileDialogs.showSave(window, QStringLiteral("Fichiers PDF (*.pdf)|*.pdf"), proposed,
                                                 QStringLiteral("Imprimer dans un fichier PDF"));
    if (name.isEmpty())
        return false;
    // A name typed without extension is a PDF's all the same; the question below then
    // concerns the file that will be written.
    if (QFileInfo(name).suffix().isEmpty())
        name += name.endsWith(QLatin1Char('.')) ? QStringLiteral("pdf") : QStringLiteral(".pdf");
    if (const FileError input = refuseInputAsOutput(toPath(name), toPath(session.latinPath()),
                                                    toPath(session.frenchPath()))) {
        platform.messages.show(window, fileErrorMessage(input));
        return false;
    }
    if (platform.files.fileExists(name)) {
        Message question;
        question.text = QDir::toNativeSeparators(name) + QStringLiteral(" existe.\r\nDésirez-vous l'écraser?");
        question.title = QStringLiteral("Fichier existant");
        question.buttons = MessageButtons::YesNo;
        question.defaultAnswer = MessageAnswer::Yes;
        if (platform.messages.show(window, question) != MessageAnswer::Yes)
            return false;
    }
    platform.printing.printToPdf(name);
    return true;
}

QString progressLabel(int pages, const PrintTarget& target)
{
    const QString count = pages == 1 ? QStringLiteral("1 page") : QStringLiteral("%1 pages").arg(pages);
    return target.toPdf ? QStringLiteral("Impression de %1 dans « %2 »").arg(count, QDir::toNativeSeparators(target.name))
                        : QStringLiteral("Impression de %1 sur « %2 »").arg(count, target.name);
}

// The busy pointer covers the layout (a long list takes a moment) and the printing, and is
// off again before any message, whatever the printer did. The progress appears once the
// pages are counted; its stop sends no further page and is no failure to report.
template <typename Layout>
void layOutAndPlay(QWidget* window, const Platform& platform, Layout layout)
{
    PrintOutcome outcome;
    bool memoryShort = false;
    {
        BusyGuard busy(platform.busy, window);
        const PrintTarget target = platform.printing.target();
        bool progressShown = false;
        try {
            const PrintOperations operations = layout();
            outcome = platform.printing.play(operations, [&](int sent, int total) {
                if (!progressShown) {
                    platform.progress.begin(window, progressLabel(total, target), std::uint64_t(total));
                    progressShown = true;
                }
                return platform.progress.advance(std::uint64_t(sent));
            });
        } catch (const std::bad_alloc&) {
            memoryShort = true;
        } catch (const std::length_error&) {
            memoryShort = true;
        }
        if (progressShown)
            platform.progress.end();
    }
    if (memoryShort) {
        Message m;
        m.text = QStringLiteral("Mémoire insuffisante pour l'impression : rien n'a été imprimé.");
        m.icon = MessageIcon::Warning;
        platform.messages.show(window, m);
        return;
    }
    if (outcome.failure == PrintFailure::Cancelled)
        return;
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

QString pdfFileName(const QString& title, const QString& form)
{
    QString name = title.trimmed();
    if (name.isEmpty())
        name = form.trimmed();
    if (name.isEmpty())
        name = QStringLiteral("quorvex");
    for (QChar& c : name)
        if (c.unicode() < 0x20 || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    return name + QStringLiteral(".pdf");
}

void printAttestations(QWidget* window, const Platform& platform, Session& session)
{
    if (!choosePrinter(window, platform, session, session.listQuery()))
        return;
    layOutAndPlay(window, platform, [&session] {
        PrintOperations operations = session.attestationListLayout();
        session.leaveCurrentCellAfterReadingRows();
        return operations;
    });
}

void printContext(QWidget* window, const Platform& platform, const Session& session,
                  const std::string& latinCp1252, const std::string& frenchCp1252,
                  const std::string& formCp1252)
{
    if (!choosePrinter(window, platform, session, fromCp1252(formCp1252)))
        return;
    layOutAndPlay(window, platform,
                  [&] { return contextLayout(paneLineBreaks(latinCp1252), paneLineBreaks(frenchCp1252)); });
}

} // namespace quorvex
