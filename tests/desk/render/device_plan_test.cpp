#include "desk/render/DevicePlan.h"

#include <gtest/gtest.h>

using namespace desk::render;

namespace {

GlCapabilities good() {
    GlCapabilities caps;
    caps.contextCreated = true;
    caps.majorVersion = 4;
    caps.minorVersion = 5;
    caps.redBits = caps.greenBits = caps.blueBits = 8;
    caps.drawsIntoWindow = true;
    caps.drawsOffscreen = true;
    return caps;
}

TEST(DevicePlan, ChoosesHowToDrawAndWhatToSay) {
    struct Case {
        const char* name;
        void (*change)(GlCapabilities&);
        bool onScreen;
        Presentation presentation;
        std::vector<PlannedMessage> messages;
    };
    using E = DeviceError;
    const PlannedMessage noWindow{E::NoWindowRendering, MessageKind::Warning, true};
    const Case cases[] = {
        {"a usable driver draws into the window",
         [](GlCapabilities&) {},
         true,
         Presentation::Window,
         {}},
        {"tests draw offscreen", [](GlCapabilities&) {}, false, Presentation::Offscreen, {}},
        {"exactly 3.3 is enough",
         [](GlCapabilities& c) { c.majorVersion = 3, c.minorVersion = 3; },
         true,
         Presentation::Window,
         {}},
        {"no context at all",
         [](GlCapabilities& c) { c.contextCreated = false; },
         true,
         Presentation::None,
         {{E::NoGraphicsInterface, MessageKind::Fatal, false}}},
        {"OpenGL 3.2",
         [](GlCapabilities& c) { c.majorVersion = 3, c.minorVersion = 2; },
         true,
         Presentation::None,
         {{E::NoCompatibleDevice, MessageKind::Fatal, false}}},
        {"a 4-bit colour channel",
         [](GlCapabilities& c) { c.greenBits = 4; },
         true,
         Presentation::None,
         {{E::NoWindowedMode, MessageKind::Fatal, false}}},
        {"5 bits per channel are enough",
         [](GlCapabilities& c) { c.redBits = c.blueBits = 5; },
         true,
         Presentation::Window,
         {}},
        {"cannot draw into a window: software copy after a warning",
         [](GlCapabilities& c) { c.drawsIntoWindow = false; },
         true,
         Presentation::ImageCopy,
         {noWindow}},
        {"cannot draw anywhere",
         [](GlCapabilities& c) { c.drawsIntoWindow = c.drawsOffscreen = false; },
         true,
         Presentation::None,
         {{E::NoWindowRendering, MessageKind::Fatal, false}}},
        {"offscreen impossible",
         [](GlCapabilities& c) { c.drawsOffscreen = false; },
         false,
         Presentation::None,
         {{E::NoCompatibleDevice, MessageKind::Fatal, false}}},
    };
    for (const Case& c : cases) {
        GlCapabilities caps = good();
        c.change(caps);
        const DevicePlan plan = planDevice(caps, c.onScreen);
        EXPECT_EQ(plan.presentation, c.presentation) << c.name;
        ASSERT_EQ(plan.messages.size(), c.messages.size()) << c.name;
        for (std::size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(plan.messages[i].error, c.messages[i].error) << c.name;
            EXPECT_EQ(plan.messages[i].kind, c.messages[i].kind) << c.name;
            EXPECT_EQ(plan.messages[i].softwareFallback, c.messages[i].softwareFallback) << c.name;
        }
    }
}

} // namespace
