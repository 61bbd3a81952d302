#pragma once
// The messages the user sees when the desk cannot get a graphics device, and
// the rules for showing them: one caption for all, a fatal message ends the
// desk (its window is asked to close) and silences every later message. The
// boxes go through platform::MessageBox, so a host's hook catches them.

#include <QPointer>
#include <QString>
#include <functional>

class QWidget;

namespace desk::render {

enum class DeviceError {
    NoGraphicsInterface,
    NoCompatibleDevice,
    NoWindowedMode,
    NoHardwareDevice,
    MissingCapability,
    NoWindowRendering,
    NoWindowRenderingInMode,
    MissingCapabilityInMode,
    ObjectsLeftAlive,
    MediaMissing,
    ResetFailed,
    ReducedReference,
    OutOfMemory,
    OutOfVideoMemory,
    DriverInternal,
    Generic,
};

QString deviceErrorText(DeviceError error);

inline constexpr const char* kDeviceCaption = "D3D9 Application";
inline constexpr const char* kFatalSuffix = "\n\nThis sample will now exit.";
inline constexpr const char* kSoftwareFallbackSuffix =
    "\n\nSwitching to the reference rasterizer,\na software device that implements the "
    "entire\nDirect3D feature set, but runs very slowly.";

enum class MessageKind { Warning, Fatal };

class CDeviceMessages {
public:
    // closeRequest: what a fatal message does to the desk; by default a queued
    // close of the owner window.
    explicit CDeviceMessages(QWidget* owner, std::function<void()> closeRequest = {});

    // Shows the message for error (with an optional addition) unless a fatal
    // message was shown before. Internal driver errors are always fatal.
    void Report(DeviceError error, MessageKind kind, const QString& addition = {});

    bool HasFailed() const { return m_bFailed; }

private:
    QPointer<QWidget> m_owner;
    std::function<void()> m_closeRequest;
    bool m_bFailed = false;
};

} // namespace desk::render
