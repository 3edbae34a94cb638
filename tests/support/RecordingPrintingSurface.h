#pragma once
// A printer that keeps every document played on it and answers with a scripted outcome.

#include "platform/PrintingSurface.h"

#include <functional>
#include <vector>

namespace quorvex {

class RecordingPrintingSurface : public PrintingSurface {
public:
    PrintOutcome play(const PrintOperations& operations) override
    {
        documents.push_back(operations);
        if (onPlay)
            onPlay();
        return outcome;
    }

    PrintTarget target() const override { return current; }
    void printToPdf(const QString& path) override { current = {true, path}; }

    // The operations of the last document, empty when nothing was printed.
    PrintOperations last() const { return documents.empty() ? PrintOperations() : documents.back(); }

    std::vector<PrintOperations> documents;
    PrintOutcome outcome;          // what play() answers
    PrintTarget current{false, QStringLiteral("Imprimante de test")};
    std::function<void()> onPlay;  // runs while the document plays
};

} // namespace quorvex
