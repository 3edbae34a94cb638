#pragma once
// The busy pointer as a record: every switch on and off, per window.

#include "platform/BusyPointer.h"

#include <QHash>
#include <QList>

#include <algorithm>

namespace quorvex {

class FakeBusyPointer : public BusyPointer {
public:
    void setBusy(QWidget* window, bool busy) override
    {
        switches.append({window, busy});
        int& depth = m_depth[window];
        if (busy)
            ++depth;
        else if (depth > 0)
            --depth;
        else
            ++m_unmatchedOffs;
    }

    struct Switch {
        QWidget* window;
        bool busy;
    };
    QList<Switch> switches;

    bool isBusy(QWidget* window) const { return m_depth.value(window) > 0; }
    bool anyBusy() const { return std::any_of(m_depth.begin(), m_depth.end(), [](int d) { return d > 0; }); }
    // How many times the pointer of this window was switched on.
    int timesOn(QWidget* window) const
    {
        return int(std::count_if(switches.begin(), switches.end(),
                                 [window](const Switch& s) { return s.window == window && s.busy; }));
    }
    // An "off" for a window that was not busy: a command restored what it never set.
    int unmatchedOffs() const { return m_unmatchedOffs; }

private:
    QHash<QWidget*, int> m_depth;
    int m_unmatchedOffs = 0;
};

} // namespace quorvex
