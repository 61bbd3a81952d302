#include "desk/render/DeviceMessages.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

using namespace desk;
using namespace desk::render;

namespace {

class CRecordingBox : public IDeskMessageBox {
public:
    void Show(QWidget* owner, const QString& caption, const QString& text,
              MessageIcon icon) override {
        shown.push_back({owner, caption, text, icon});
    }
    struct Shown {
        QWidget* owner;
        QString caption;
        QString text;
        MessageIcon icon;
    };
    std::vector<Shown> shown;
};

TEST(DeviceMessages, AWarningKeepsTheDeskGoing) {
    CRecordingBox box;
    int closes = 0;
    CDeviceMessages messages(box, nullptr, [&] { ++closes; });
    messages.Report(DeviceError::NoWindowRendering, MessageKind::Warning,
                    QString::fromLatin1(kSoftwareFallbackSuffix));
    messages.Report(DeviceError::OutOfMemory, MessageKind::Warning);
    ASSERT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(box.shown[0].caption, QStringLiteral("D3D9 Application"));
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(box.shown[0].text,
              QStringLiteral("Your Direct3D hardware accelerator cannot\nrender into a window.\n"
                             "Press F2 while the app is running to see a\nlist of available "
                             "devices and modes.\n\nSwitching to the reference rasterizer,\na "
                             "software device that implements the entire\nDirect3D feature set, "
                             "but runs very slowly."));
    EXPECT_EQ(box.shown[1].text, QStringLiteral("Not enough memory."));
    EXPECT_EQ(closes, 0);
    EXPECT_FALSE(messages.HasFailed());
}

TEST(DeviceMessages, AFatalMessageClosesTheWindowAndSilencesTheRest) {
    CRecordingBox box;
    QWidget owner;
    owner.show();
    CDeviceMessages messages(box, &owner);
    messages.Report(DeviceError::NoCompatibleDevice, MessageKind::Fatal);
    messages.Report(DeviceError::OutOfMemory, MessageKind::Warning);
    messages.Report(DeviceError::Generic, MessageKind::Fatal);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].owner, &owner);
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(box.shown[0].text, QStringLiteral("Could not find any compatible Direct3D\n"
                                                "devices.\n\nThis sample will now exit."));
    EXPECT_TRUE(messages.HasFailed());
    EXPECT_TRUE(owner.isVisible()) << "the close request is posted, not sent";
    QApplication::processEvents();
    EXPECT_FALSE(owner.isVisible());
}

TEST(DeviceMessages, AnInternalDriverErrorIsAlwaysFatal) {
    CRecordingBox box;
    int closes = 0;
    CDeviceMessages messages(box, nullptr, [&] { ++closes; });
    messages.Report(DeviceError::DriverInternal, MessageKind::Warning);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, MessageIcon::Error);
    EXPECT_TRUE(box.shown[0].text.endsWith(QStringLiteral("\n\nThis sample will now exit.")));
    EXPECT_EQ(closes, 1);
}

} // namespace
