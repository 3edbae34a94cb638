#pragma once
// The busy pointer as a record: every switch on and off, per window.

#include "platform/BusyPointer.h"

#include <QHash>
#include <QList>

namespace quorvex {

class FakeBusyPointer : public BusyPointer {
public:
    void setBusy(QWidget* window, bool busy) override;

    struct Switch {
        QWidget* window;
        bool busy;
    };
    QList<Switch> switches;

    bool isBusy(QWidget* window) const { return m_depth.value(window) > 0; }
    bool anyBusy() const;
    // How many times the pointer of this window was switched on.
    int timesOn(QWidget* window) const;
    // An "off" for a window that was not busy: a command restored what it never set.
    int unmatchedOffs() const { return m_unmatchedOffs; }

private:
    QHash<QWidget*, int> m_depth;
    int m_unmatchedOffs = 0;
};

} // namespace quorvex
