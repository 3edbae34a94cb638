#pragma once
// The hourglass pointer of one window.

class QWidget;

namespace quorvex {

class BusyPointer {
public:
    virtual ~BusyPointer() = default;
    virtual void setBusy(QWidget* window, bool busy) = 0;
};

// Sets the busy pointer for the lifetime of the guard, so no early return leaves it on.
class BusyGuard {
public:
    BusyGuard(BusyPointer& pointer, QWidget* window) : m_pointer(pointer), m_window(window)
    {
        m_pointer.setBusy(m_window, true);
    }
    ~BusyGuard() { m_pointer.setBusy(m_window, false); }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    BusyPointer& m_pointer;
    QWidget* m_window;
};

} // namespace quorvex
