#pragma once
// Drives a struck shot to its end for a host with a display: every step's
// events are handed to the host in order, frames are requested by the pacing
// rule and the end of the shot is announced after a last frame. The clock and
// the sleep are injected, so tests replay any timing without waiting.
//
// The desk control calls runWorkerLoop() on its shot worker with a host
// whose calls are blocking sends to the window thread; the window thread's
// shot-ended handler calls CShotEngine::finishShot().

#include "desk/physics/ShotEngine.h"

#include <cstdint>

namespace desk {

class IShotClock {
public:
    virtual ~IShotClock() = default;
    virtual int64_t nowMs() = 0;
    virtual void sleepMs(int ms) = 0;
};

// Monotonic wall time and a real sleep.
class CSystemClock final : public IShotClock {
public:
    int64_t nowMs() override;
    void sleepMs(int ms) override;
};

class IShotHost {
public:
    virtual ~IShotHost() = default;
    virtual void onShotEvent(const ShotEvent& event) = 0;
    // Right after every step, before its events: the balls are where this
    // step left them. A host that draws on its own occasions while the shot
    // runs takes its copy of the positions here.
    virtual void onStepDone(const StepReport& /*report*/) {}
    // Returns once the current step has been drawn.
    virtual void onFrameRequest() = 0;
    // Returns once the end of the shot has been handled.
    virtual void onShotEnded() = 0;
};

inline constexpr int64_t kFrameBudgetMs = 20; // wall time per step the display aims for
inline constexpr int64_t kQuickStepMs = 5;    // a step faster than this …
inline constexpr int kPauseMs = 15;           // … is followed by this pause

// The shot worker's loop. A frame is drawn only while the simulation is
// ahead of 20 ms per step; a step that took under 5 ms is followed by a 15 ms
// pause. At the end: one more frame, then shot-ended.
void runWorkerLoop(CShotEngine& engine, IShotHost& host, IShotClock& clock);

// The synchronous run on the calling thread (the host's CrashLoop): a frame
// before each step while (steps done + 1) × 20 ms is at least the time spent,
// never a pause; at the end one more frame, then shot-ended.
void runSynchronousLoop(CShotEngine& engine, IShotHost& host, IShotClock& clock);

} // namespace desk
