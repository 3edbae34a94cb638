#pragma once
// The hourglass as the window's own pointer: the window shows it while a command runs,
// message boxes shown meanwhile keep the normal pointer. Nested commands on one window
// (a click that opens another window) keep it until the outermost one ends.

#include "platform/BusyPointer.h"

#include <QHash>

namespace quorvex {

class QtBusyPointer : public BusyPointer {
public:
    void setBusy(QWidget* window, bool busy) override;

private:
    QHash<QWidget*, int> m_depth;
};

} // namespace quorvex
