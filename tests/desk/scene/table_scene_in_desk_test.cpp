// The table scene as the desk control uses it: the Bexlo plugin draws with
// it into its own window, and a break played with the mouse on a desk drawn
// by it sounds the effects in the order the shot makes them.

#include "desk/model/StandardRack.h"
#include "desk/physics/ShotEngine.h"
#include "desk/scene/CTableScene.h"
#include "tests/desk/control/DeskHost.h"

#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

namespace desk {
namespace {

using sound::Effect;

bool needsDisplay() {
    return QGuiApplication::platformName() == QLatin1String("offscreen");
}

// Runs the event loop until the window is on screen (or 10 s have passed).
bool waitUntilExposed(QWidget& window) {
    const QDeadlineTimer deadline(10000);
    while (!(window.windowHandle() && window.windowHandle()->isExposed()) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents();
    return window.windowHandle() && window.windowHandle()->isExposed();
}

QImage onScreen(QWidget& window) {
    QCoreApplication::processEvents();
    return window.screen()
        ->grabWindow(window.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

TEST(TableSceneInDesk, TheBexloPluginDrawsTheTableInItsWindow) {
    if (needsDisplay())
        GTEST_SKIP() << "needs a display with OpenGL (run under Xvfb)";
    platform::CScopedMessageBoxHook boxes;
    platform::CComponentRegistry registry(QStringList{QStringLiteral(BEXLO_PLUGIN_DIR)});
    QWidget window;
    window.resize(800, 600);
    const auto created = registry.createControl(kDeskClassId, &window);
    IDesk* desk = deskOf(created.control);
    ASSERT_NE(desk, nullptr);
    desk->SetSound(0);
    desk->SetResourceDir(BILLIARDS_RESOURCE_DIR);
    desk->InitTable(nullptr, 0, 800, 600, 0);
    window.show();
    ASSERT_TRUE(waitUntilExposed(window));
    desk->StartGame();

    const QImage table = onScreen(window);
    ASSERT_EQ(table.size(), QSize(800, 600));
    const QRgb cloth = table.pixel(300, 300);
    EXPECT_GT(qGreen(cloth), qRed(cloth) + 30) << "cloth";
    EXPECT_EQ(table.pixel(2, 598), scene::CTableScene::kClearColour) << "keyed corner";
    const QRgb rail = table.pixel(200, 30);
    EXPECT_GT(qRed(rail), qBlue(rail) + 20) << "wooden rail";

    // The start button goes when the player is ready.
    desk->StartDeal(0);
    const QImage ready = onScreen(window);
    EXPECT_NE(ready.pixel(432, 266), table.pixel(432, 266));
    EXPECT_EQ(ready.pixel(300, 300), cloth);
    EXPECT_EQ(boxes.count(), 0u);
}

// The effects of a break as the engine's own report orders them: the strike,
// then every cue-ball contact and pocketing as they happen.
std::vector<Effect> expectedSounds(const SphereRecords& rack, const Strike& strike) {
    CShotEngine engine;
    engine.placeRack(rack);
    std::vector<Effect> sounds;
    if (strike.speed > 500)
        sounds.push_back(Effect::Strike);
    engine.runShot(strike, [&](const StepReport& report) {
        for (const ShotEvent& e : report.events) {
            if (e.kind != ShotEvent::Kind::PlaySound)
                continue;
            switch (static_cast<Sound>(e.value)) {
            case Sound::StrongShot:
                sounds.push_back(Effect::Strike);
                break;
            case Sound::CueContact:
                sounds.push_back(Effect::CueContact);
                break;
            case Sound::CuePocketed:
                sounds.push_back(Effect::CueBallDown);
                break;
            case Sound::BallPocketed:
                sounds.push_back(Effect::BallDown);
                break;
            }
        }
    });
    return sounds;
}

TEST(TableSceneInDesk, ABreakSoundsItsEffectsInOrder) {
    if (needsDisplay())
        GTEST_SKIP() << "needs a display with OpenGL (run under Xvfb)";
    platform::CManualTimerDriver timers;
    platform::CScopedMessageBoxHook boxes;
    test::CDeskHost host(800, 600, false);
    scene::CTableScene* drawn = nullptr;
    host.site->SetRendererFactory([&drawn] {
        auto scene = std::make_unique<scene::CTableScene>(render::CRenderDevice::Target::Offscreen);
        drawn = scene.get();
        return scene;
    });
    host.desk->SetResourceDir(BILLIARDS_RESOURCE_DIR);
    host.desk->InitTable(nullptr, 0, 800, 600, 0);
    ASSERT_NE(drawn, nullptr);

    constexpr uint32_t kSeed = 5;
    const SphereRecords rack = standardRack(kSeed);
    host.desk->SetStatus(DeskStatus::BreakAiming);
    host.desk->StartOneHand(0, 16, rack);
    host.desk->StartChoice(0);
    const QImage before = drawn->LastFrame();

    const BallPosition foot = footSpot();
    const QPoint apex = host.pixelAt(foot.x, foot.y + 0.2);
    host.move(apex.x(), apex.y());
    host.press(apex.x(), apex.y());
    timers.advance(1000); // charged to full power
    host.release(apex.x(), apex.y());
    const test::FiredEvent* begin = host.sink.last("Begin_OnStart");
    ASSERT_NE(begin, nullptr);
    const Strike strike{static_cast<int32_t>(begin->args[0]), static_cast<int32_t>(begin->args[1]),
                        static_cast<int32_t>(begin->args[4])};
    host.waitForShot();

    const std::vector<Effect> played = host.sounds->Played();
    EXPECT_EQ(played, expectedSounds(rack, strike));
    ASSERT_GE(played.size(), 2u);
    EXPECT_EQ(played[0], Effect::Strike);
    EXPECT_EQ(played[1], Effect::CueContact) << "the cue ball reaches the rack first";

    // The last frame shows the broken rack, not the rack as it stood.
    const ScreenPoint apexOnScreen = CViewGeometry(800, 600).worldToScreen(foot.x, foot.y);
    const QPoint p(int(apexOnScreen.x), int(apexOnScreen.y));
    EXPECT_NE(drawn->LastFrame().pixel(p), before.pixel(p));
    EXPECT_EQ(boxes.count(), 0u);
}

} // namespace
} // namespace desk
