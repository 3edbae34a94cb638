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
    ~BusyGuard() { release(); }
    // The default pointer back before the guard ends, for a message shown meanwhile.
    void release()
    {
        if (m_on)
            m_pointer.setBusy(m_window, false);
        m_on = false;
    }
    // The hourglass again after such a message.
    void resume()
    {
        if (!m_on)
            m_pointer.setBusy(m_window, true);
        m_on = true;
    }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    BusyPointer& m_pointer;
    QWidget* m_window;
    bool m_on = true;
};

} // namespace quorvex
