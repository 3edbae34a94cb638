#pragma once
// A printer that keeps every document played on it and answers with a scripted outcome. It
// sends a document page by page (its explicit page breaks), telling the progress the count
// first and each page after; a stop keeps the pages sent so far and nothing more.

#include "platform/PrintingSurface.h"

#include <functional>
#include <vector>

namespace quorvex {

class RecordingPrintingSurface : public PrintingSurface {
public:
    using PrintingSurface::play;
    PrintOutcome play(const PrintOperations& operations, const PageProgress& progress) override
    {
        documents.push_back(operations);
        pagesSent.push_back(0);
        const int total = int(countPages(operations));
        if (progress && !progress(0, total))
            return {PrintFailure::Cancelled, current.name};
        if (onPlay)
            onPlay();
        for (int page = 1; page <= total; ++page) {
            pagesSent.back() = page;
            if (progress && !progress(page, total))
                return {PrintFailure::Cancelled, current.name};
        }
        return outcome;
    }

    PrintTarget target() const override { return current; }
    void printToPdf(const QString& path) override { current = {true, path}; }

    // The operations of the last document, empty when nothing was printed.
    PrintOperations last() const { return documents.empty() ? PrintOperations() : documents.back(); }

    std::vector<PrintOperations> documents;
    std::vector<int> pagesSent;    // of each document
    PrintOutcome outcome;          // what play() answers
    PrintTarget current{false, QStringLiteral("Imprimante de test")};
    std::function<void()> onPlay;  // runs while the document plays
};

} // namespace quorvex
