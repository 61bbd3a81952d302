#include "platform/timers/WindowTimers.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using platform::CManualTimerDriver;
using platform::CWindowTimers;
using platform::ITimerOwner;

namespace {

struct Recorder : ITimerOwner {
    std::vector<std::pair<int64_t, int>> fired; // (virtual time, id)
    const CManualTimerDriver* clock = nullptr;
    std::function<void(int)> onTimer;
    void OnTimer(int id) override {
        fired.emplace_back(clock ? clock->now() : 0, id);
        if (onTimer)
            onTimer(id);
    }
};

TEST(WindowTimers, DueTimersFireInDeadlineOrder) {
    CManualTimerDriver driver;
    Recorder owner;
    owner.clock = &driver;
    CWindowTimers timers(owner);
    timers.SetTimer(110, 1000);
    timers.SetTimer(100, 50);
    timers.SetTimer(120, 5000);

    driver.advance(1000);
    ASSERT_EQ(owner.fired.size(), 21u); // 20 charge ticks and one clock tick
    EXPECT_EQ(owner.fired.front(), (std::pair<int64_t, int>{50, 100}));
    // At 1000 ms both are due; the charge timer was armed there first (its
    // previous expiry re-armed it at 950), then comes the clock armed at 0.
    EXPECT_EQ(owner.fired[19], (std::pair<int64_t, int>{1000, 110}));
    EXPECT_EQ(owner.fired[20], (std::pair<int64_t, int>{1000, 100}));
    EXPECT_EQ(driver.now(), 1000);
}

TEST(WindowTimers, KillStopsAndSetReArms) {
    CManualTimerDriver driver;
    Recorder owner;
    owner.clock = &driver;
    CWindowTimers timers(owner);

    timers.SetTimer(201, 100);
    driver.advance(90);
    timers.SetTimer(201, 100); // re-arm: the deadline moves to 190
    driver.advance(50);
    EXPECT_TRUE(owner.fired.empty());
    driver.advance(50);
    ASSERT_EQ(owner.fired.size(), 1u);
    EXPECT_EQ(owner.fired[0].first, 190);

    timers.KillTimer(201);
    EXPECT_FALSE(timers.IsActive(201));
    EXPECT_EQ(timers.Interval(201), -1);
    driver.advance(1000);
    EXPECT_EQ(owner.fired.size(), 1u);
    EXPECT_EQ(driver.activeCount(), 0);
}

TEST(WindowTimers, OwnerMayKillOrDestroyInsideOnTimer) {
    CManualTimerDriver driver;
    Recorder owner;
    auto timers = std::make_unique<CWindowTimers>(owner);
    owner.onTimer = [&](int id) {
        if (id == 1)
            timers->KillTimer(1); // one-shot use
        if (id == 2)
            timers.reset(); // the window goes away from its own timer
    };
    timers->SetTimer(1, 10);
    timers->SetTimer(2, 30);
    timers->SetTimer(3, 40);
    driver.advance(100);
    ASSERT_EQ(owner.fired.size(), 2u);
    EXPECT_EQ(owner.fired[0].second, 1);
    EXPECT_EQ(owner.fired[1].second, 2);
    EXPECT_EQ(driver.activeCount(), 0);
}

TEST(WindowTimers, FireNextJumpsToTheNextDeadline) {
    CManualTimerDriver driver;
    Recorder owner;
    owner.clock = &driver;
    CWindowTimers timers(owner);
    EXPECT_FALSE(driver.fireNext());
    timers.SetTimer(212, 3000);
    EXPECT_TRUE(driver.fireNext());
    EXPECT_EQ(driver.now(), 3000);
    EXPECT_EQ(owner.fired.size(), 1u);
}

TEST(WindowTimers, WithoutDriverTimersRunOnTheEventLoop) {
    Recorder owner;
    CWindowTimers timers(owner);
    owner.onTimer = [&](int) { timers.KillTimer(7); };
    timers.SetTimer(7, 1);
    QElapsedTimer waited;
    waited.start();
    while (owner.fired.empty() && waited.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    ASSERT_EQ(owner.fired.size(), 1u);
    EXPECT_EQ(owner.fired[0].second, 7);
}

} // namespace
