#pragma once
// Timers kept by numeric id, as the window code uses them: SetTimer(id, ms)
// starts or re-arms timer `id`, KillTimer(id) stops it, and each expiry calls
// the owner's OnTimer(id) on the thread that owns the timers (the UI thread).
//
// Tests install a CManualTimerDriver; every timer set while it is installed
// is driven by its virtual clock instead of the event loop, so a test
// advances time and sees due timers fire in order without ever sleeping.

#include <cstdint>
#include <map>
#include <memory>

namespace platform {

class ITimerOwner {
public:
    virtual ~ITimerOwner() = default;
    virtual void OnTimer(int id) = 0;
};

class ITimerBackend;

class CWindowTimers {
public:
    explicit CWindowTimers(ITimerOwner& owner);
    ~CWindowTimers();
    CWindowTimers(const CWindowTimers&) = delete;
    CWindowTimers& operator=(const CWindowTimers&) = delete;

    // Starts timer `id`, or restarts it with the new interval when it runs.
    void SetTimer(int id, int intervalMs);
    void KillTimer(int id);
    void KillAll();
    bool IsActive(int id) const;
    // The interval of an active timer, −1 when `id` is not running.
    int Interval(int id) const;

    // Called by the backends.
    void Fire(int id);

private:
    ITimerOwner& m_owner;
    std::shared_ptr<ITimerBackend> m_backend;
    std::map<int, int> m_intervals;
};

// A virtual clock for tests. While one exists, all timers set anywhere in the
// process run on it. Timers fire in deadline order; equal deadlines fire in
// the order they were armed. A periodic timer fires once per elapsed period.
class CManualTimerDriver {
public:
    CManualTimerDriver();
    ~CManualTimerDriver();
    CManualTimerDriver(const CManualTimerDriver&) = delete;
    CManualTimerDriver& operator=(const CManualTimerDriver&) = delete;

    // Moves the clock forward by ms, firing every timer that falls due.
    void advance(int64_t ms);
    // Moves the clock to the next deadline and fires what is due there;
    // false when no timer runs.
    bool fireNext();
    int64_t now() const;
    int activeCount() const;

    static CManualTimerDriver* current();

    struct State;

private:
    friend class CWindowTimers;
    std::shared_ptr<State> m_state;
};

} // namespace platform
