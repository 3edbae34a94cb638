#include "support/RecordingPrintingSurface.h"

namespace quorvex {

PrintOutcome RecordingPrintingSurface::play(const PrintOperations& operations)
{
    documents.push_back(operations);
    if (onPlay)
        onPlay();
    return outcome;
}

const PrintOperations& RecordingPrintingSurface::last() const
{
    static const PrintOperations none;
    return documents.empty() ? none : documents.back();
}

} // namespace quorvex
