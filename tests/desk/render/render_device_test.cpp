#include "GlFixture.h"

#include "desk/render/CDrawContext.h"

#include <QApplication>
#include <QWidget>

using namespace desk;
using namespace desk::render;
using namespace desk::render::test;

namespace {

class CRecordingListener : public IDeviceListener {
public:
    void OnDeviceLost() override { events.push_back("lost"); }
    void OnDeviceReset() override { events.push_back("reset"); }
    std::vector<std::string> events;
};

using RenderDevice = GlTest;

TEST_F(RenderDevice, ClearsTheWholeFrameOrOneRectangle) {
    EXPECT_EQ(m_device.GetState(), CRenderDevice::State::Ready);
    const QImage image = frame([&] { m_device.Clear(QRect(24, 484, 16, 100), 0xFF794920); });
    ASSERT_EQ(image.size(), QSize(800, 600));
    EXPECT_EQ(image.pixel(0, 0), kClearColour);
    EXPECT_EQ(image.pixel(799, 599), kClearColour);
    EXPECT_EQ(image.pixel(24, 484), 0xFF794920u);
    EXPECT_EQ(image.pixel(39, 583), 0xFF794920u);
    EXPECT_EQ(image.pixel(40, 583), kClearColour);
    EXPECT_EQ(image.pixel(39, 584), kClearColour);
    EXPECT_EQ(image.pixel(23, 484), kClearColour);
    EXPECT_EQ(image.pixel(24, 483), kClearColour);
}

TEST_F(RenderDevice, ALostContextIsRecoveredAndPicturesComeBack) {
    CRecordingListener listener;
    m_device.AddListener(&listener);
    CDrawContext draw(m_device);
    CPicture picture(media::PictureImage{solidImage(32, 32, 0xFFFF0000), {32, 32, 1, 1}});
    CTextFace label(14, 7, 500);
    auto drawPicture = [&] {
        draw.Picture(picture, 0, {100, 100});
        draw.Text(label, QStringLiteral("8"), QRect(300, 300, 32, 32));
        draw.Flush();
    };
    EXPECT_EQ(frame(drawPicture).pixel(110, 110), 0xFFFF0000u);
    const int generation = m_device.Generation();

    m_device.SimulateLoss();
    EXPECT_FALSE(m_device.BeginFrame()) << "nothing can be drawn into a lost device";
    EXPECT_EQ(m_device.Present(), CRenderDevice::PresentResult::Lost);
    ASSERT_TRUE(m_device.Recover());
    EXPECT_EQ(listener.events, (std::vector<std::string>{"lost", "reset"}));
    EXPECT_GT(m_device.Generation(), generation);

    EXPECT_EQ(frame(drawPicture).pixel(110, 110), 0xFFFF0000u)
        << "the picture is uploaded again to the new context";
    m_device.RemoveListener(&listener);
}

TEST_F(RenderDevice, RecoveryWaitsASecondBetweenPollsAndGivesUpAfterFiveAttempts) {
    std::vector<int> sleeps;
    m_device.SetSleep([&](int ms) { sleeps.push_back(ms); });
    m_device.SimulateLoss();
    m_device.SetContextFactoryFails(true);
    EXPECT_FALSE(m_device.Recover());
    EXPECT_EQ(sleeps,
              std::vector<int>(CRenderDevice::kRecoverAttempts * CRenderDevice::kMaxPollsPerAttempt,
                               1000));
    EXPECT_EQ(m_device.GetState(), CRenderDevice::State::Lost);
    EXPECT_FALSE(m_device.BeginFrame());

    // The next frame tries again, and this time the driver is back.
    sleeps.clear();
    m_device.SetContextFactoryFails(false);
    EXPECT_TRUE(m_device.Recover());
    EXPECT_TRUE(sleeps.empty());
    EXPECT_EQ(frame([] {}).pixel(5, 5), kClearColour);
    EXPECT_TRUE(m_box.calls().empty()) << "recovery shows no message";
}

TEST(RenderDeviceCreation, NothingIsDrawnBeforeTheDeviceExists) {
    platform::CScopedMessageBoxHook box;
    CRenderDevice device;
    EXPECT_EQ(device.GetState(), CRenderDevice::State::None);
    EXPECT_FALSE(device.BeginFrame());
    EXPECT_EQ(device.Present(), CRenderDevice::PresentResult::NotReady);
    EXPECT_TRUE(device.ReadFrame().isNull());
}

TEST(RenderDeviceCreation, AFatalErrorClosesTheControlAndSaysNothingMore) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        GTEST_SKIP() << "needs a display with OpenGL";
    platform::CScopedMessageBoxHook box;
    QWidget control;
    control.show();
    CRenderDevice device;
    device.SetCapabilityFilter([](GlCapabilities& caps) { caps.majorVersion = 2; });
    EXPECT_FALSE(device.Create(&control, 800, 600));
    EXPECT_EQ(device.GetState(), CRenderDevice::State::Failed);
    ASSERT_EQ(box.count(), 1u);
    EXPECT_EQ(box.calls()[0].caption, QStringLiteral("D3D9 Application"));
    EXPECT_EQ(box.calls()[0].icon, platform::MsgIcon::Error);
    QApplication::processEvents();
    EXPECT_FALSE(control.isVisible());
    EXPECT_FALSE(device.Create(&control, 800, 600));
    EXPECT_EQ(box.count(), 1u);
    EXPECT_FALSE(device.BeginFrame());
}

TEST(RenderDeviceCreation, DrawsIntoTheControlsWindow) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        GTEST_SKIP() << "needs a display with OpenGL";
    platform::CScopedMessageBoxHook box;
    QWidget control;
    control.resize(624, 468);
    control.show();
    CRenderDevice device;
    int exposes = 0;
    device.SetExposeHandler([&] { ++exposes; });
    ASSERT_TRUE(device.Create(&control, 624, 468));
    EXPECT_TRUE(box.calls().empty());
    EXPECT_EQ(device.GetPresentation(), Presentation::Window);
    ASSERT_NE(device.View(), nullptr);
    EXPECT_EQ(device.View()->parentWidget(), &control);
    EXPECT_EQ(device.View()->size(), QSize(624, 468));
    ASSERT_TRUE(device.BeginFrame());
    device.Clear(0xFF102030);
    device.EndFrame();
    EXPECT_EQ(device.Present(), CRenderDevice::PresentResult::Presented);
    EXPECT_EQ(device.ReadFrame().pixel(600, 400), 0xFF102030u);
}

TEST(RenderDeviceCreation, WithoutWindowDrawingFramesAreCopiedAfterAWarning) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        GTEST_SKIP() << "needs a display with OpenGL";
    platform::CScopedMessageBoxHook box;
    QWidget control;
    control.show();
    CRenderDevice device;
    device.SetCapabilityFilter([](GlCapabilities& caps) { caps.drawsIntoWindow = false; });
    ASSERT_TRUE(device.Create(&control, 320, 240));
    ASSERT_EQ(box.count(), 1u);
    EXPECT_EQ(box.calls()[0].icon, platform::MsgIcon::Warning);
    EXPECT_TRUE(box.calls()[0].text.contains(QStringLiteral("Switching to the reference")));
    EXPECT_EQ(device.GetPresentation(), Presentation::ImageCopy);
    ASSERT_NE(device.View(), nullptr);
    ASSERT_TRUE(device.BeginFrame());
    device.Clear(0xFF204060);
    device.EndFrame();
    EXPECT_EQ(device.Present(), CRenderDevice::PresentResult::Presented);
    EXPECT_EQ(device.View()->grab().toImage().pixel(100, 100) | 0xFF000000u, 0xFF204060u);
    QApplication::processEvents();
    EXPECT_TRUE(control.isVisible());
}

TEST(RenderDeviceCreation, TheControlMayGoFirst) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        GTEST_SKIP() << "needs a display with OpenGL";
    platform::CScopedMessageBoxHook box;
    auto control = std::make_unique<QWidget>();
    CRenderDevice device;
    ASSERT_TRUE(device.Create(control.get(), 200, 150));
    control.reset(); // takes the view and the GL window with it
    EXPECT_EQ(device.View(), nullptr);
}

} // namespace
