#pragma once
// The current printer, as a surface that plays a printout's operation list from the first
// operation to the end of the document. Failures come back as values; the command that
// printed turns them into a message.

#include "output/PrintLayout.h"

#include <QString>

#include <functional>

namespace quorvex {

enum class PrintFailure {
    None,
    NoPrinter,      // no printer installed and no PDF file chosen
    CannotWrite,    // the chosen PDF file cannot be created or written
    PrinterError,   // the printer refused the document or failed while printing
    Cancelled,      // the user stopped it: no further page was sent, a PDF file was not made
};

struct PrintOutcome {
    PrintFailure failure = PrintFailure::None;
    QString target;  // the printer's name or the PDF file's path
    explicit operator bool() const noexcept { return failure == PrintFailure::None; }
};

// Where the next printout goes: a printer by name, or a PDF file by path. Neither (no
// printer installed, no file chosen): toPdf false and an empty name.
struct PrintTarget {
    bool toPdf = false;
    QString name;
};

// Told the number of pages before the first one is sent (sent 0), then after each page;
// false stops the printing there.
using PageProgress = std::function<bool(int sent, int total)>;

class PrintingSurface {
public:
    virtual ~PrintingSurface() = default;
    virtual PrintOutcome play(const PrintOperations& operations, const PageProgress& progress) = 0;
    PrintOutcome play(const PrintOperations& operations) { return play(operations, PageProgress()); }
    virtual PrintTarget target() const = 0;
    // From now on the printouts go into this PDF file.
    virtual void printToPdf(const QString& path) = 0;
};

} // namespace quorvex
