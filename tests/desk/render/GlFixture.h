#pragma once
// An offscreen desk device for drawing tests, and pixel probes on its frames.

#include "desk/render/CRenderDevice.h"
#include "platform/msgbox/MessageBox.h"

#include <QGuiApplication>
#include <QImage>
#include <gtest/gtest.h>
#include <vector>

namespace desk::render::test {

inline constexpr QRgb kClearColour = 0xFF3174BB;

class GlTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            GTEST_SKIP() << "needs a display with OpenGL (run under Xvfb)";
        ASSERT_TRUE(m_device.Create(nullptr, m_width, m_height, CRenderDevice::Target::Offscreen))
            << (m_box.calls().empty() ? std::string() : m_box.calls()[0].text.toStdString());
        ASSERT_TRUE(m_box.calls().empty());
    }

    // Draws one frame: clear, then whatever draw() does.
    template <typename Draw> QImage frame(Draw&& draw, QRgb clear = kClearColour) {
        EXPECT_TRUE(m_device.BeginFrame());
        m_device.Clear(clear);
        draw();
        m_device.EndFrame();
        EXPECT_EQ(m_device.Present(), CRenderDevice::PresentResult::Presented);
        return m_device.ReadFrame();
    }

    int m_width = 800;
    int m_height = 600;
    platform::CScopedMessageBoxHook m_box;
    CRenderDevice m_device;
};

// Colour equality within a small tolerance per channel (filtering, dithering).
inline ::testing::AssertionResult near(QRgb actual, QRgb expected, int tolerance = 3) {
    const int d = std::max({std::abs(qRed(actual) - qRed(expected)),
                            std::abs(qGreen(actual) - qGreen(expected)),
                            std::abs(qBlue(actual) - qBlue(expected))});
    if (d <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << QString::number(actual, 16).toStdString() << " is not "
                                         << QString::number(expected, 16).toStdString();
}

// A solid picture of size w × h in one colour.
inline QImage solidImage(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

} // namespace desk::render::test
