#pragma once
// The progress of a long command as an application-modal QProgressDialog with "Annuler".

#include "platform/ProgressIndicator.h"

#include <memory>

class QProgressDialog;

namespace quorvex {

class QtProgressIndicator : public ProgressIndicator {
public:
    QtProgressIndicator();
    ~QtProgressIndicator() override;
    void begin(QWidget* parent, const QString& label, std::uint64_t total,
               int showAfterMs = 1000) override;
    bool advance(std::uint64_t done) override;
    void end() override;

private:
    std::unique_ptr<QProgressDialog> m_dialog;
    std::uint64_t m_total = 0;
};

} // namespace quorvex
