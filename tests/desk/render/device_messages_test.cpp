#include "desk/render/DeviceMessages.h"
#include "platform/msgbox/MessageBox.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

using namespace desk;
using namespace desk::render;

namespace {

TEST(DeviceMessages, AWarningKeepsTheDeskGoing) {
    platform::CScopedMessageBoxHook box;
    int closes = 0;
    CDeviceMessages messages(nullptr, [&] { ++closes; });
    messages.Report(DeviceError::NoWindowRendering, MessageKind::Warning,
                    QString::fromLatin1(kSoftwareFallbackSuffix));
    messages.Report(DeviceError::OutOfMemory, MessageKind::Warning);
    ASSERT_EQ(box.count(), 2u);
    EXPECT_EQ(box.calls()[0].caption, QStringLiteral("D3D9 Application"));
    EXPECT_EQ(box.calls()[0].icon, platform::MsgIcon::Warning);
    EXPECT_EQ(box.calls()[0].text,
              QStringLiteral("Your Direct3D hardware accelerator cannot\nrender into a window.\n"
                             "Press F2 while the app is running to see a\nlist of available "
                             "devices and modes.\n\nSwitching to the reference rasterizer,\na "
                             "software device that implements the entire\nDirect3D feature set, "
                             "but runs very slowly."));
    EXPECT_EQ(box.calls()[1].text, QStringLiteral("Not enough memory."));
    EXPECT_EQ(closes, 0);
    EXPECT_FALSE(messages.HasFailed());
}

TEST(DeviceMessages, AFatalMessageClosesTheWindowAndSilencesTheRest) {
    platform::CScopedMessageBoxHook box;
    QWidget owner;
    owner.show();
    CDeviceMessages messages(&owner);
    messages.Report(DeviceError::NoCompatibleDevice, MessageKind::Fatal);
    messages.Report(DeviceError::OutOfMemory, MessageKind::Warning);
    messages.Report(DeviceError::Generic, MessageKind::Fatal);
    ASSERT_EQ(box.count(), 1u);
    EXPECT_EQ(box.calls()[0].parent, &owner);
    EXPECT_EQ(box.calls()[0].icon, platform::MsgIcon::Error);
    EXPECT_EQ(box.calls()[0].text, QStringLiteral("Could not find any compatible Direct3D\n"
                                                  "devices.\n\nThis sample will now exit."));
    EXPECT_TRUE(messages.HasFailed());
    EXPECT_TRUE(owner.isVisible()) << "the close request is posted, not sent";
    QApplication::processEvents();
    EXPECT_FALSE(owner.isVisible());
}

TEST(DeviceMessages, AnInternalDriverErrorIsAlwaysFatal) {
    platform::CScopedMessageBoxHook box;
    int closes = 0;
    CDeviceMessages messages(nullptr, [&] { ++closes; });
    messages.Report(DeviceError::DriverInternal, MessageKind::Warning);
    ASSERT_EQ(box.count(), 1u);
    EXPECT_EQ(box.calls()[0].icon, platform::MsgIcon::Error);
    EXPECT_TRUE(box.calls()[0].text.endsWith(QStringLiteral("\n\nThis sample will now exit.")));
    EXPECT_EQ(closes, 1);
}

} // namespace
