#pragma once
// Plays a printout's operation list on a QPrinter with QPainter. Positions start at the
// top-left corner of the printable area; a line advances by the height of the current type;
// a line that would pass the bottom of the page starts a further page, so a long passage is
// continued rather than lost. A PDF is written to a temporary file first and renamed over
// the chosen name only once complete, so a failure leaves any earlier file as it was. With a
// progress, the pages are counted first (a pass that draws nothing), then reported one by
// one; a stop aborts the document, and a PDF being made is left out.

#include "platform/PrintingSurface.h"

class QPrinter;

namespace quorvex {

class QtPrintingSurface : public PrintingSurface {
public:
    explicit QtPrintingSurface(QPrinter& printer);
    using PrintingSurface::play;
    PrintOutcome play(const PrintOperations& operations, const PageProgress& progress) override;
    // A PDF file counts as chosen only when it came through printToPdf: the name Qt's print
    // dialog puts there by itself ("~/<document>.pdf") is no choice of the user's, so the
    // program's own file dialog proposes its name and folder instead.
    PrintTarget target() const override;
    void printToPdf(const QString& path) override;

    // The family Qt matched for a type name on this printer (the fonts of the machine
    // decide it; "verdana" is often absent outside Windows).
    QString matchedFamily(const QString& typeName) const;

private:
    PrintOutcome playOnPrinter(const PrintOperations& operations, const QString& target,
                               const PageProgress& progress);
    PrintOutcome playToPdf(const PrintOperations& operations, const PageProgress& progress);
    // Where the printer sends its pages now, whoever set it.
    PrintTarget printerTarget() const;

    QPrinter& m_printer;
    QString m_pdfChosen;  // the last file given to printToPdf
};

} // namespace quorvex
