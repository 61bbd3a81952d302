#include "desk/physics/ShotRunner.h"

#include <chrono>
#include <thread>

namespace desk {

int64_t CSystemClock::nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void CSystemClock::sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void runWorkerLoop(CShotEngine& engine, IShotHost& host, IShotClock& clock) {
    const int64_t start = clock.nowMs();
    for (;;) {
        const int64_t stepStart = clock.nowMs();
        const StepReport& report = engine.step(LoopKind::Worker);
        host.onStepDone(report);
        for (const ShotEvent& e : report.events)
            host.onShotEvent(e);
        const bool finished = report.finished;
        if (clock.nowMs() - start <= report.step * kFrameBudgetMs)
            host.onFrameRequest();
        if (clock.nowMs() - stepStart < kQuickStepMs)
            clock.sleepMs(kPauseMs);
        if (finished)
            break;
    }
    host.onFrameRequest();
    host.onShotEnded();
}

void runSynchronousLoop(CShotEngine& engine, IShotHost& host, IShotClock& clock) {
    const int64_t start = clock.nowMs();
    for (int done = 0;; ++done) {
        if ((done + 1) * kFrameBudgetMs >= clock.nowMs() - start)
            host.onFrameRequest();
        const StepReport& report = engine.step(LoopKind::Synchronous);
        host.onStepDone(report);
        for (const ShotEvent& e : report.events)
            host.onShotEvent(e);
        if (report.finished)
            break;
    }
    host.onFrameRequest();
    host.onShotEnded();
}

} // namespace desk
