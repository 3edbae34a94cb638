#pragma once
// The current printer, as a surface that plays a printout's operation list from the first
// operation to the end of the document. Failures come back as values; the command that
// printed turns them into a message.

#include "output/PrintLayout.h"

#include <QString>

namespace quorvex {

enum class PrintFailure {
    None,
    NoPrinter,      // no printer installed and no PDF file chosen
    CannotWrite,    // the chosen PDF file cannot be created or written
    PrinterError,   // the printer refused the document or failed while printing
};

struct PrintOutcome {
    PrintFailure failure = PrintFailure::None;
    QString target;  // the printer's name or the PDF file's path
    explicit operator bool() const noexcept { return failure == PrintFailure::None; }
};

class PrintingSurface {
public:
    virtual ~PrintingSurface() = default;
    virtual PrintOutcome play(const PrintOperations& operations) = 0;
};

} // namespace quorvex
