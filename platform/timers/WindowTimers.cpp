#include "platform/timers/WindowTimers.h"

#include <QObject>
#include <QTimerEvent>
#include <algorithm>
#include <limits>
#include <tuple>
#include <vector>

namespace platform {

class ITimerBackend {
public:
    virtual ~ITimerBackend() = default;
    virtual void start(CWindowTimers* timers, int id, int intervalMs) = 0;
    virtual void stop(CWindowTimers* timers, int id) = 0;
    virtual void detach(CWindowTimers* timers) = 0;
};

// ---- event-loop backend ---------------------------------------------------

namespace {

class QtTimerBackend final : public QObject, public ITimerBackend {
public:
    explicit QtTimerBackend(CWindowTimers* timers) : m_timers(timers) {}

    void start(CWindowTimers*, int id, int intervalMs) override {
        stop(nullptr, id);
        m_qtIds[id] = startTimer(std::max(intervalMs, 0), Qt::PreciseTimer);
    }
    void stop(CWindowTimers*, int id) override {
        if (auto it = m_qtIds.find(id); it != m_qtIds.end()) {
            killTimer(it->second);
            m_qtIds.erase(it);
        }
    }
    void detach(CWindowTimers*) override {
        for (const auto& [id, qtId] : m_qtIds)
            killTimer(qtId);
        m_qtIds.clear();
        m_timers = nullptr;
    }

    bool inEvent() const { return m_bInEvent; }

protected:
    void timerEvent(QTimerEvent* event) override {
        for (const auto& [id, qtId] : m_qtIds) {
            if (qtId == event->timerId()) {
                if (m_timers) {
                    m_bInEvent = true;
                    m_timers->Fire(id);
                    m_bInEvent = false;
                }
                return;
            }
        }
    }

private:
    CWindowTimers* m_timers;
    std::map<int, int> m_qtIds; // our id → Qt's id
    bool m_bInEvent = false;
};

} // namespace

// ---- virtual-clock backend --------------------------------------------------

struct CManualTimerDriver::State final : ITimerBackend {
    struct Entry {
        int64_t deadline;
        uint64_t order;
        int interval;
    };
    int64_t now = 0;
    uint64_t nextOrder = 0;
    std::map<std::pair<CWindowTimers*, int>, Entry> entries;

    void start(CWindowTimers* timers, int id, int intervalMs) override {
        const int interval = std::max(intervalMs, 1);
        entries[{timers, id}] = Entry{now + interval, nextOrder++, interval};
    }
    void stop(CWindowTimers* timers, int id) override { entries.erase({timers, id}); }
    void detach(CWindowTimers* timers) override {
        std::erase_if(entries, [timers](const auto& e) { return e.first.first == timers; });
    }

    // The entry due first, or entries.end().
    auto earliest() {
        return std::min_element(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
            return std::tie(a.second.deadline, a.second.order) <
                   std::tie(b.second.deadline, b.second.order);
        });
    }

    // Fires the earliest timer if it falls due by `limit`.
    bool fireOne(int64_t limit) {
        auto it = earliest();
        if (it == entries.end() || it->second.deadline > limit)
            return false;
        auto [timers, id] = it->first;
        now = it->second.deadline;
        it->second.deadline += it->second.interval;
        it->second.order = nextOrder++;
        timers->Fire(id); // may set, kill or destroy any timer
        return true;
    }
};

namespace {
CManualTimerDriver* g_driver = nullptr;
}

CManualTimerDriver::CManualTimerDriver() : m_state(std::make_shared<State>()) {
    g_driver = this;
}

CManualTimerDriver::~CManualTimerDriver() {
    if (g_driver == this)
        g_driver = nullptr;
}

CManualTimerDriver* CManualTimerDriver::current() {
    return g_driver;
}

void CManualTimerDriver::advance(int64_t ms) {
    const int64_t target = m_state->now + std::max<int64_t>(ms, 0);
    while (m_state->fireOne(target)) {
    }
    m_state->now = target;
}

bool CManualTimerDriver::fireNext() {
    return m_state->fireOne(std::numeric_limits<int64_t>::max());
}

int64_t CManualTimerDriver::now() const {
    return m_state->now;
}

int CManualTimerDriver::activeCount() const {
    return int(m_state->entries.size());
}

// ---- the timers of one owner -----------------------------------------------

CWindowTimers::CWindowTimers(ITimerOwner& owner) : m_owner(owner) {}

CWindowTimers::~CWindowTimers() {
    if (m_backend)
        m_backend->detach(this);
}

void CWindowTimers::SetTimer(int id, int intervalMs) {
    if (!m_backend) {
        if (auto* driver = CManualTimerDriver::current())
            m_backend = std::shared_ptr<ITimerBackend>(driver->m_state, driver->m_state.get());
        else
            m_backend =
                std::shared_ptr<ITimerBackend>(new QtTimerBackend(this), [](ITimerBackend* b) {
                    // The owner may be destroyed inside its own OnTimer, while Qt
                    // is still delivering the backend's event: let the loop delete it.
                    auto* qt = static_cast<QtTimerBackend*>(b);
                    if (qt->inEvent())
                        qt->deleteLater();
                    else
                        delete qt;
                });
    }
    m_intervals[id] = intervalMs;
    m_backend->start(this, id, intervalMs);
}

void CWindowTimers::KillTimer(int id) {
    m_intervals.erase(id);
    if (m_backend)
        m_backend->stop(this, id);
}

void CWindowTimers::KillAll() {
    for (auto it = m_intervals.begin(); it != m_intervals.end();)
        KillTimer((it++)->first);
}

bool CWindowTimers::IsActive(int id) const {
    return m_intervals.count(id) != 0;
}

int CWindowTimers::Interval(int id) const {
    const auto it = m_intervals.find(id);
    return it == m_intervals.end() ? -1 : it->second;
}

void CWindowTimers::Fire(int id) {
    if (IsActive(id))
        m_owner.OnTimer(id);
}

} // namespace platform
