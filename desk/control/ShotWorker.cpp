#include "desk/control/ShotWorker.h"

#include <QCoreApplication>
#include <QObject>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <ode/ode.h>

namespace desk::control {

namespace {
// Thrown on the worker to leave the shot loop once the shot was stopped.
struct Aborted {};
} // namespace

// Shared by the UI side and the worker thread, so that a worker left to
// finish on its own never outlives what it touches.
struct CShotWorker::State {
    std::atomic<bool> stop{false};
    std::atomic<bool> ended{false}; // the end of the shot has been handed over
    int inHandler = 0;              // UI thread only: handlers of this worker running

    std::mutex mutex;
    std::condition_variable finishedCv;
    bool finished = false; // the thread function has returned

    mutable std::mutex snapshotMutex;
    BallSnapshot balls{};

    Handlers handlers;
    std::shared_ptr<IShotClock> clock;
};

namespace {

// The injected clock, giving up as soon as the shot is stopped; a pause is
// at most 15 ms, so a stop is seen promptly.
class CStoppableClock final : public IShotClock {
public:
    CStoppableClock(std::shared_ptr<IShotClock> inner, const std::atomic<bool>& stop)
        : m_inner(std::move(inner)), m_stop(stop) {}
    int64_t nowMs() override {
        check();
        return m_inner->nowMs();
    }
    void sleepMs(int ms) override {
        check();
        m_inner->sleepMs(ms);
        check();
    }

private:
    void check() const {
        if (m_stop)
            throw Aborted{};
    }
    std::shared_ptr<IShotClock> m_inner;
    const std::atomic<bool>& m_stop;
};

} // namespace

class CShotWorker::Host final : public IShotHost {
public:
    Host(std::shared_ptr<State> state, CShotEngine& engine, QObject* context)
        : m_state(std::move(state)), m_engine(engine), m_context(context) {}

    void onStepDone(const StepReport&) override {
        if (m_state->stop)
            throw Aborted{};
        BallSnapshot balls;
        for (int i = 0; i < kBallCount; ++i)
            balls[static_cast<std::size_t>(i)] = m_engine.ball(i);
        const std::lock_guard lock(m_state->snapshotMutex);
        m_state->balls = balls;
    }

    void onShotEvent(const ShotEvent& event) override {
        send([event](State& s) { s.handlers.event(event); });
    }

    void onFrameRequest() override {
        send([](State& s) { s.handlers.frame(); });
    }

    void onShotEnded() override {
        send([](State& s) {
            s.ended = true;
            s.handlers.ended();
        });
    }

private:
    // One blocking hand-over to the UI thread. The stop flag is checked on
    // both sides of the send: once the shot is stopped the worker returns
    // straight out of the loop, without reading the engine again.
    template <class F> void send(F handler) {
        if (m_state->stop)
            throw Aborted{};
        QMetaObject::invokeMethod(
            m_context,
            [state = m_state, handler] {
                if (state->stop)
                    return;
                ++state->inHandler;
                struct Leave {
                    State& s;
                    ~Leave() { --s.inHandler; }
                } leave{*state};
                handler(*state);
            },
            Qt::BlockingQueuedConnection);
        if (m_state->stop)
            throw Aborted{};
    }

    std::shared_ptr<State> m_state;
    CShotEngine& m_engine;
    QObject* m_context;
};

CShotWorker::CShotWorker() = default;

CShotWorker::~CShotWorker() {
    stop();
}

void CShotWorker::start(CShotEngine& engine, std::shared_ptr<IShotClock> clock, Handlers handlers) {
    stop();
    auto state = std::make_shared<State>();
    state->handlers = std::move(handlers);
    state->clock = clock ? std::move(clock) : std::make_shared<CSystemClock>();
    for (int i = 0; i < kBallCount; ++i)
        state->balls[static_cast<std::size_t>(i)] = engine.ball(i);

    m_state = state;
    m_context = std::make_unique<QObject>();
    QObject* context = m_context.get();
    m_thread = std::thread([state, &engine, context] {
        Host host(state, engine, context);
        CStoppableClock clock(state->clock, state->stop);
        try {
            runWorkerLoop(engine, host, clock);
        } catch (const Aborted&) {
        }
        dCleanupODEAllDataForThread();
        {
            const std::lock_guard lock(state->mutex);
            state->finished = true;
        }
        state->finishedCv.notify_all();
    });
}

void CShotWorker::stop() {
    if (m_state)
        m_state->stop = true;
    reap();
    m_state.reset();
}

bool CShotWorker::active() const {
    return m_state && !m_state->ended && !m_state->stop;
}

BallSnapshot CShotWorker::snapshot() const {
    if (!m_state)
        return {};
    const std::lock_guard lock(m_state->snapshotMutex);
    return m_state->balls;
}

void CShotWorker::reap() {
    if (!m_thread.joinable()) {
        m_context.reset();
        return;
    }
    if (m_state->inHandler > 0) {
        // The worker waits for the handler this call comes from; it will
        // see the stop (or its ended shot) when the handler returns and then
        // only finish. Its state stays alive with it.
        m_thread.detach();
        m_context.release()->deleteLater();
        return;
    }
    // A send may be waiting for this thread: drop it, which releases the
    // worker, until the worker has left.
    std::unique_lock lock(m_state->mutex);
    while (!m_state->finished) {
        lock.unlock();
        QCoreApplication::removePostedEvents(m_context.get(), QEvent::MetaCall);
        lock.lock();
        m_state->finishedCv.wait_for(lock, std::chrono::milliseconds(1),
                                     [this] { return m_state->finished; });
    }
    lock.unlock();
    m_thread.join();
    m_context.reset();
}

} // namespace desk::control
