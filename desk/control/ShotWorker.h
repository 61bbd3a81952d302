#pragma once
// The thread that steps one shot. The worker runs the core's shot loop and
// hands every shot event, every frame request and the end of the shot to the
// UI thread with blocking sends (QMetaObject::invokeMethod with
// Qt::BlockingQueuedConnection), so the UI thread draws and reacts while the
// worker waits, and the two never touch the engine at the same time. The
// worker itself never calls anything outside the engine and its own state.
//
// After every step the worker copies the balls into a snapshot; frames the UI
// thread draws for other reasons (timers, repaints) read that copy instead of
// the engine the worker is writing.
//
// stop() ends a shot early: the worker gives up at its next hand-over (a
// hand-over already waiting is dropped) and never touches the engine again.
// stop() may be called from inside a handler of this worker, when the worker
// is waiting for that very handler: it is then left to finish on its own.

#include "desk/physics/ShotEngine.h"
#include "desk/physics/ShotRunner.h"

#include <array>
#include <functional>
#include <memory>
#include <thread>

class QObject;

namespace desk::control {

using BallSnapshot = std::array<BallView, kBallCount>;

class CShotWorker {
public:
    // Called on the UI thread while the worker waits.
    struct Handlers {
        std::function<void(const ShotEvent&)> event;
        std::function<void()> frame;
        std::function<void()> ended; // the last call of a shot
    };

    CShotWorker();
    ~CShotWorker();
    CShotWorker(const CShotWorker&) = delete;
    CShotWorker& operator=(const CShotWorker&) = delete;

    // Starts a worker for the shot just struck on `engine`; a previous worker
    // must have ended or been stopped. UI thread.
    void start(CShotEngine& engine, std::shared_ptr<IShotClock> clock, Handlers handlers);
    // Ends the current worker, if any. UI thread.
    void stop();
    // A worker has been started and has not yet delivered its end or been stopped.
    bool active() const;

    // The balls as the last completed step left them.
    BallSnapshot snapshot() const;

private:
    struct State;
    class Host;

    void reap();

    std::shared_ptr<State> m_state;
    std::unique_ptr<QObject> m_context; // lives on the UI thread; receives the sends
    std::thread m_thread;
};

} // namespace desk::control
