#include "platform/QtProgressIndicator.h"

#include <QProgressDialog>

namespace quorvex {

namespace {

// The dialog counts in int: sizes go in thousandths of the whole.
constexpr int kSteps = 1000;

} // namespace

QtProgressIndicator::QtProgressIndicator() = default;
QtProgressIndicator::~QtProgressIndicator() = default;

void QtProgressIndicator::begin(QWidget* parent, const QString& label, std::uint64_t total,
                                int showAfterMs)
{
    m_total = total;
    m_dialog = std::make_unique<QProgressDialog>(label, QStringLiteral("Annuler"), 0, kSteps, parent);
    m_dialog->setWindowTitle(QStringLiteral("Veltrano - Quorvex"));
    // Wide enough for its caption beside the title bar's buttons: a short label would elide it.
    m_dialog->setMinimumWidth(360);
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setMinimumDuration(showAfterMs);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    m_dialog->setValue(0);
}

bool QtProgressIndicator::advance(std::uint64_t done)
{
    if (!m_dialog)
        return true;
    const int step = m_total == 0 ? kSteps
                                  : static_cast<int>(std::min<std::uint64_t>(done, m_total) * kSteps / m_total);
    // A modal progress dialog handles the events (its cancel button) as its value moves.
    if (step != m_dialog->value())
        m_dialog->setValue(step);
    return !m_dialog->wasCanceled();
}

void QtProgressIndicator::end() { m_dialog.reset(); }

} // namespace quorvex
