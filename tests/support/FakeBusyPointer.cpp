#include "support/FakeBusyPointer.h"

namespace quorvex {

void FakeBusyPointer::setBusy(QWidget* window, bool busy)
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

bool FakeBusyPointer::anyBusy() const
{
    for (int depth : m_depth)
        if (depth > 0)
            return true;
    return false;
}

int FakeBusyPointer::timesOn(QWidget* window) const
{
    int n = 0;
    for (const Switch& s : switches)
        if (s.window == window && s.busy)
            ++n;
    return n;
}

} // namespace quorvex
