#pragma once
// A progress indicator never shown: records what it was told, and stops the command when
// the test says so.

#include "platform/ProgressIndicator.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace quorvex {

class FakeProgressIndicator : public ProgressIndicator {
public:
    void begin(QWidget* parent, const QString& text, std::uint64_t size, int showAfterMs = 1000) override
    {
        ++begun;
        showAfter = showAfterMs;
        lastParent = parent;
        label = text;
        total = size;
        open = true;
    }
    bool advance(std::uint64_t done) override
    {
        last = done;
        ++advances;
        if (onAdvance)
            onAdvance();
        return !(cancelAt > 0 && done >= cancelAt);
    }
    void end() override { open = false; }

    int begun = 0;
    int advances = 0;
    bool open = false;
    QWidget* lastParent = nullptr;
    QString label;
    std::uint64_t total = 0;
    int showAfter = 0;  // milliseconds before a real indicator would appear
    std::uint64_t last = 0;
    std::uint64_t cancelAt = 0;  // stop once this much is written; 0: never
    std::function<void()> onAdvance;  // runs inside the command, as the user's input would
};

} // namespace quorvex
