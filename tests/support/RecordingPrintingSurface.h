#pragma once
// A printer that keeps every document played on it and answers with a scripted outcome.

#include "platform/PrintingSurface.h"

#include <functional>
#include <vector>

namespace quorvex {

class RecordingPrintingSurface : public PrintingSurface {
public:
    PrintOutcome play(const PrintOperations& operations) override;

    // The operations of the last document, empty when nothing was printed.
    const PrintOperations& last() const;

    std::vector<PrintOperations> documents;
    PrintOutcome outcome;            // what play() answers
    std::function<void()> onPlay;    // runs while the document plays
};

} // namespace quorvex
