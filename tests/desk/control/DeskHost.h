#pragma once
// A host for the desk control as the program holds it: the control comes
// from the Bexlo plugin through the component registry, a recording sink
// hears its events, and the site's seams carry a recording renderer,
// recording sound effects and a virtual shot clock. Timers and message boxes
// are caught by the platform's test driver and hook, which the test creates
// before any host.

#include "desk/control/Desk.h"
#include "desk/control/DeskSite.h"
#include "desk/control/RecordingDeskRenderer.h"
#include "desk/model/SphereRecords.h"
#include "desk/sound/CRecordingSoundEffects.h"
#include "platform/components/ComponentRegistry.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/timers/WindowTimers.h"

#include <QWidget>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace desk::test {

struct FiredEvent {
    std::string name;
    std::vector<int64_t> args;
    std::thread::id thread;
    SphereRecords records{}; // End_OnStart / End_OnPlay
    JudgeRecord judge{};
};

class CRecordingSink final : public _IDeskEvents {
public:
    std::vector<FiredEvent> events;
    // Runs after each event is recorded, e.g. to answer it as a host would.
    std::function<void(const FiredEvent&)> onEvent;

    std::vector<std::string> names() const;
    int count(const std::string& name) const;
    const FiredEvent* last(const std::string& name) const;
    void clear() { events.clear(); }

    void AgreeStart() override;
    void Turn_OnStart(int32_t arc) override;
    void Turn_OnPlay(int32_t arc) override;
    void Begin_OnStart(int32_t arc, int32_t speed, int32_t x, int32_t y, int32_t z) override;
    void Begin_OnPlay(int32_t arc, int32_t speed, int32_t x, int32_t y, int32_t z) override;
    void End_OnStart(int num, SphereRecordSpan info, const JudgeRecord& jginfo) override;
    void End_OnPlay(int num, SphereRecordSpan info, const JudgeRecord& jginfo) override;
    void Guo() override;
    void Guo_Moving() override;
    void Moving(int32_t x, int32_t y, int32_t z) override;
    void Moved(int32_t x, int32_t y, int32_t z) override;
    void EnableAdv(int16_t isenable) override;
    void EndCrash() override;
    void SendDetect() override;
    void StartCrash() override;
    void End_OnStart_NoSendJg() override;
    void End_OnPlay_NoSendJg() override;

private:
    void add(std::string name, std::vector<int64_t> args = {});
    void add(FiredEvent e);
};

// Shot time that moves only by the worker's own pauses: every step is ahead
// of the display, so every step is drawn, and nothing sleeps.
class CVirtualShotClock final : public IShotClock {
public:
    int64_t nowMs() override { return m_now; }
    void sleepMs(int ms) override { m_now += ms; }

private:
    std::atomic<int64_t> m_now{1000};
};

// Shot time that runs away: the worker is always behind, draws nothing and
// never pauses, so it steps freely while the UI thread does other things.
class CRunawayShotClock final : public IShotClock {
public:
    int64_t nowMs() override { return m_now += 1000; }
    void sleepMs(int ms) override { m_now += ms; }

private:
    std::atomic<int64_t> m_now{0};
};

class CDeskHost {
public:
    // With `init`, SetResourceDir and InitTable(width × height) are called.
    explicit CDeskHost(int width = 800, int height = 600, bool init = true);
    ~CDeskHost();

    platform::CComponentRegistry registry;
    std::unique_ptr<QWidget> widget;
    IDesk* desk = nullptr;
    control::IDeskSite* site = nullptr;
    CRecordingSink sink;
    std::shared_ptr<control::CRecordingDeskRenderer::CRecord> frames;
    std::shared_ptr<sound::CRecordingSoundEffects> sounds;

    // Pointer input in window pixels.
    void move(int x, int y);
    void press(int x, int y);
    void release(int x, int y);

    // Runs the UI thread's event loop until no shot runs any more.
    void waitForShot();
    control::DeskScene scene() const { return site->CurrentScene(); }
    // The window pixel over a world point (truncated).
    QPoint pixelAt(double x, double y) const;
};

// Sixteen records: the object balls given in `on` at their points, every
// other object ball pocketed earlier and in its tray slot, the cue ball at (cx, cy).
struct BallAt {
    int index;
    double x;
    double y;
};
SphereRecords tableWith(double cx, double cy, std::initializer_list<BallAt> on = {},
                        int16_t cueStatus = kOnTable);

// A player desk of 800 × 600 with the players "Ann" (loc 0, score 3) and
// "Bob" (loc 1, score 5).
class DeskFixture : public ::testing::Test {
protected:
    void SetUp() override;

    // A rack dealt to loc in the given status, as the host deals one.
    void rack(int16_t loc, int16_t status, const SphereRecords& records);
    void rack(int16_t loc, int16_t status = DeskStatus::BreakAiming);
    control::DeskScene scene() const { return host.scene(); }

    platform::CManualTimerDriver timers;
    platform::CScopedMessageBoxHook boxes;
    CDeskHost host;
    IDesk& desk = *host.desk;
};

std::string gbk(const char* utf8);

} // namespace desk::test
