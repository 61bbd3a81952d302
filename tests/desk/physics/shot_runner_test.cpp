#include "desk/physics/ShotRunner.h"

#include "TableSetup.h"
#include "desk/model/StandardRack.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace desk {
namespace {

using test::TableSetup;

// Time moves only when the host draws (renderMs per frame) or the loop pauses.
class ScriptedClock final : public IShotClock {
public:
    int64_t nowMs() override { return now; }
    void sleepMs(int ms) override {
        pauses.push_back(ms);
        now += ms;
    }
    int64_t now = 1000;
    std::vector<int> pauses;
};

class RecordingHost final : public IShotHost {
public:
    // `ahead`: how many steps beyond those done a frame may be drawn for; the
    // worker draws after a step (0), the synchronous run before one (1).
    RecordingHost(CShotEngine& engine, ScriptedClock& clock, int renderMs, int ahead = 0)
        : m_engine(engine), m_clock(clock), m_renderMs(renderMs), m_ahead(ahead),
          m_start(clock.now) {}

    void onShotEvent(const ShotEvent& e) override {
        log.push_back("event");
        if (e.kind == ShotEvent::Kind::DetectRequest)
            ++detects;
    }
    void onFrameRequest() override {
        log.push_back("frame");
        ++frames;
        // While the shot runs, a frame is only drawn when the simulation is
        // not behind 20 ms per step.
        if (m_engine.running() && m_engine.stepCount() + m_ahead > 0) {
            EXPECT_LE(m_clock.now - m_start, 20 * (m_engine.stepCount() + m_ahead));
        }
        m_clock.now += m_renderMs;
    }
    void onShotEnded() override {
        log.push_back("ended");
        m_engine.finishShot();
    }

    std::vector<std::string> log;
    int frames = 0;
    int detects = 0;

private:
    CShotEngine& m_engine;
    ScriptedClock& m_clock;
    int m_renderMs;
    int m_ahead;
    int64_t m_start;
};

// A short shot of the cue ball alone: its number of steps, from a headless run.
SphereRecords loneCueBall() {
    return TableSetup().on(kCueBall, -10, 5.65).records;
}
constexpr Strike kSoftStrike{0, 150, 0};

int stepsOf(const SphereRecords& rack, const Strike& s) {
    CShotEngine e;
    e.placeRack(rack);
    return e.runShot(s).steps;
}

struct PacingCase {
    const char* name;
    int renderMs;
    bool everyStepDrawn;
    bool paused; // every step followed by a 15 ms pause
};

class WorkerPacing : public ::testing::TestWithParam<PacingCase> {};

TEST_P(WorkerPacing, FramesWhileAheadAndPausesAfterQuickSteps) {
    const PacingCase c = GetParam();
    const int steps = stepsOf(loneCueBall(), kSoftStrike);
    ASSERT_GT(steps, 10);
    CShotEngine e;
    e.placeRack(loneCueBall());
    e.strike(kSoftStrike);
    ScriptedClock clock;
    RecordingHost host(e, clock, c.renderMs);
    runWorkerLoop(e, host, clock);

    if (c.everyStepDrawn) {
        EXPECT_EQ(host.frames, steps + 1); // one per step and the last one
    } else {
        EXPECT_LT(host.frames, steps);
        EXPECT_GT(host.frames, 1);
    }
    if (c.paused) {
        EXPECT_EQ(clock.pauses, std::vector<int>(static_cast<std::size_t>(steps), 15));
    } else {
        EXPECT_LT(clock.pauses.size(), static_cast<std::size_t>(steps));
    }
    ASSERT_GE(host.log.size(), 2u);
    EXPECT_EQ(host.log[host.log.size() - 2], "frame");
    EXPECT_EQ(host.log.back(), "ended");
    EXPECT_FALSE(e.running());
}

INSTANTIATE_TEST_SUITE_P(Timings, WorkerPacing,
                         ::testing::Values(PacingCase{"headless_fast", 0, true, true},
                                           PacingCase{"quick_render", 4, true, true},
                                           PacingCase{"five_ms_render", 5, true, false},
                                           PacingCase{"slow_render", 30, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ShotRunner, WorkerLoopNeverPausesWhenEveryStepIsSlow) {
    CShotEngine e;
    e.placeRack(loneCueBall());
    e.strike(kSoftStrike);
    ScriptedClock clock;
    RecordingHost host(e, clock, 50);
    runWorkerLoop(e, host, clock);
    // A frame of 50 ms puts the simulation behind at once; the frames skipped
    // then take no time, so those steps are quick and followed by a pause.
    EXPECT_GT(host.frames, 1);
    EXPECT_FALSE(clock.pauses.empty());
}

TEST(ShotRunner, EventsReachTheHostBeforeTheFrameOfTheirStep) {
    CShotEngine e;
    e.placeRack(TableSetup().on(kCueBall, 0, 5.65).on(4, 26.9, -8.0).records);
    e.strike({0, 0, 0});
    ScriptedClock clock;
    RecordingHost host(e, clock, 0);
    runWorkerLoop(e, host, clock);
    // Step 1 pockets ball 4: sound and pocket light, then that step's frame.
    ASSERT_GE(host.log.size(), 3u);
    EXPECT_EQ(host.log[0], "event");
    EXPECT_EQ(host.log[1], "event");
    EXPECT_EQ(host.log[2], "frame");
    EXPECT_EQ(e.judge().m_bGone[4], 1);
    EXPECT_EQ(e.statuses()[4], kPocketedThisShot); // the end-of-shot handling ran
}

TEST(ShotRunner, SynchronousRunDrawsBeforeEachStepAndNeverPauses) {
    const int steps = stepsOf(loneCueBall(), kSoftStrike);
    CShotEngine e;
    e.placeRack(loneCueBall());
    e.strike(kSoftStrike);
    ScriptedClock clock;
    RecordingHost host(e, clock, 0, 1);
    runSynchronousLoop(e, host, clock);
    EXPECT_TRUE(clock.pauses.empty());
    EXPECT_EQ(host.frames, steps + 1);
    EXPECT_EQ(host.log.front(), "frame");
    EXPECT_EQ(host.log.back(), "ended");

    // With frames of 50 ms the run falls behind and skips most of them.
    CShotEngine slow;
    slow.placeRack(loneCueBall());
    slow.strike(kSoftStrike);
    ScriptedClock slowClock;
    RecordingHost slowHost(slow, slowClock, 50, 1);
    runSynchronousLoop(slow, slowHost, slowClock);
    EXPECT_LT(slowHost.frames, steps);
    EXPECT_TRUE(slowClock.pauses.empty());
}

TEST(ShotRunner, BothLoopsRequestDetectionOnceOnALongShot) {
    for (bool sync : {false, true}) {
        CShotEngine e;
        e.placeRack(standardRack(1));
        e.strike({0, 2000, 0});
        ScriptedClock clock;
        RecordingHost host(e, clock, 0, sync ? 1 : 0);
        if (sync)
            runSynchronousLoop(e, host, clock);
        else
            runWorkerLoop(e, host, clock);
        EXPECT_EQ(host.detects, 1) << (sync ? "synchronous" : "worker");
    }
}

TEST(ShotRunner, AShotSteppedOnAWorkerThreadEndsAsAHeadlessRunDoes) {
    const SphereRecords rack = standardRack(21);
    const Strike s{-12000, 2000, 300000};
    CShotEngine headless;
    headless.placeRack(rack);
    const ShotOutcome expected = headless.runShot(s);

    CShotEngine e;
    e.placeRack(rack);
    e.strike(s);
    ScriptedClock clock;
    RecordingHost host(e, clock, 3);
    std::thread worker([&] { runWorkerLoop(e, host, clock); });
    worker.join();
    const SphereRecords got = e.records();
    EXPECT_EQ(std::memcmp(got.data(), expected.balls.data(), sizeof got), 0);
    EXPECT_EQ(std::memcmp(&e.judge(), &expected.judge, sizeof expected.judge), 0);
}

} // namespace
} // namespace desk
