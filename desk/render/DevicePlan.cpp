#include "desk/render/DevicePlan.h"

#include <algorithm>

namespace desk::render {

DevicePlan planDevice(const GlCapabilities& caps, bool onScreen) {
    DevicePlan plan;
    auto fail = [&plan](DeviceError error) {
        plan.presentation = Presentation::None;
        plan.messages.push_back({error, MessageKind::Fatal, false});
        return plan;
    };
    if (!caps.contextCreated)
        return fail(DeviceError::NoGraphicsInterface);
    if (caps.majorVersion < kRequiredMajor ||
        (caps.majorVersion == kRequiredMajor && caps.minorVersion < kRequiredMinor))
        return fail(DeviceError::NoCompatibleDevice);
    if (std::min({caps.redBits, caps.greenBits, caps.blueBits}) < kMinColourBits)
        return fail(DeviceError::NoWindowedMode);
    if (!onScreen) {
        if (!caps.drawsOffscreen)
            return fail(DeviceError::NoCompatibleDevice);
        plan.presentation = Presentation::Offscreen;
        return plan;
    }
    if (caps.drawsIntoWindow) {
        plan.presentation = Presentation::Window;
        return plan;
    }
    if (!caps.drawsOffscreen)
        return fail(DeviceError::NoWindowRendering);
    plan.presentation = Presentation::ImageCopy;
    plan.messages.push_back({DeviceError::NoWindowRendering, MessageKind::Warning, true});
    return plan;
}

} // namespace desk::render
