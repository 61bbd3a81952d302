#pragma once
// Deciding, from what the OpenGL implementation offers, how the desk draws
// and which messages the user sees on the way.
//
// The desk draws every frame into an off-screen colour buffer of the client
// size and then puts it on screen. Normally the buffer is copied into the
// control's own GL window. When the driver cannot draw into a window at all,
// the frame is read back and painted as an image: slow, but the desk works.

#include "desk/render/DeviceMessages.h"

#include <vector>

namespace desk::render {

// What the driver gave us, probed once at creation.
struct GlCapabilities {
    bool contextCreated = false;
    int majorVersion = 0;
    int minorVersion = 0;
    int redBits = 0;
    int greenBits = 0;
    int blueBits = 0;
    bool drawsIntoWindow = false;
    bool drawsOffscreen = false;
};

enum class Presentation {
    None,      // no device: the desk cannot draw
    Window,    // frames are copied into the control's GL window
    ImageCopy, // frames are read back and painted as images (software path)
    Offscreen, // frames stay in the off-screen buffer (tests, benchmarks)
};

struct PlannedMessage {
    DeviceError error;
    MessageKind kind;
    bool softwareFallback; // the "switching to the reference rasterizer" addition
};

struct DevicePlan {
    Presentation presentation = Presentation::None;
    std::vector<PlannedMessage> messages;
};

inline constexpr int kRequiredMajor = 3;
inline constexpr int kRequiredMinor = 3;
inline constexpr int kMinColourBits = 5;

DevicePlan planDevice(const GlCapabilities& caps, bool onScreen);

} // namespace desk::render
