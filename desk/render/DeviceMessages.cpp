#include "desk/render/DeviceMessages.h"

#include "platform/msgbox/MessageBox.h"

#include <QWidget>

namespace desk::render {

QString deviceErrorText(DeviceError error) {
    const char* text = "";
    switch (error) {
    case DeviceError::NoGraphicsInterface:
        text = "Could not initialize Direct3D. You may\nwant to check that the latest version "
               "of\nDirectX is correctly installed on your\nsystem.  Also make sure that this "
               "program\nwas compiled with header files that match\nthe installed DirectX DLLs.";
        break;
    case DeviceError::NoCompatibleDevice:
        text = "Could not find any compatible Direct3D\ndevices.";
        break;
    case DeviceError::NoWindowedMode:
        text = "This sample cannot run in a desktop\nwindow with the current display "
               "settings.\nPlease change your desktop settings to a\n16- or 32-bit display mode "
               "and re-run this\nsample.";
        break;
    case DeviceError::NoHardwareDevice:
        text = "No hardware-accelerated Direct3D devices\nwere found.";
        break;
    case DeviceError::MissingCapability:
        text = "This sample requires functionality that is\nnot available on your Direct3D "
               "hardware\naccelerator.";
        break;
    case DeviceError::NoWindowRendering:
        text = "Your Direct3D hardware accelerator cannot\nrender into a window.\nPress F2 while "
               "the app is running to see a\nlist of available devices and modes.";
        break;
    case DeviceError::NoWindowRenderingInMode:
        text = "Your Direct3D hardware accelerator cannot\nrender into a window with the "
               "current\ndesktop display settings.\nPress F2 while the app is running to see "
               "a\nlist of available devices and modes.";
        break;
    case DeviceError::MissingCapabilityInMode:
        text = "This sample requires functionality that is\nnot available on your Direct3D "
               "hardware\naccelerator with the current desktop display\nsettings.\nPress F2 "
               "while the app is running to see a\nlist of available devices and modes.";
        break;
    case DeviceError::ObjectsLeftAlive:
        text = "A D3D object has a non-zero reference\ncount (meaning things were not "
               "properly\ncleaned up).";
        break;
    case DeviceError::MediaMissing:
        text = "Could not load required media.";
        break;
    case DeviceError::ResetFailed:
        text = "Could not reset the Direct3D device.";
        break;
    case DeviceError::ReducedReference:
        text = "Warning: Nothing will be rendered.\nThe reference rendering device was "
               "selected, but your\ncomputer only has a reduced-functionality reference "
               "device\ninstalled.  Install the DirectX SDK to get the full\nreference "
               "device.\n";
        break;
    case DeviceError::OutOfMemory:
        text = "Not enough memory.";
        break;
    case DeviceError::OutOfVideoMemory:
        text = "Not enough video memory.";
        break;
    case DeviceError::DriverInternal:
        text = "A serious problem occured inside the display driver.";
        break;
    case DeviceError::Generic:
        text = "Generic application error. Enable\ndebug output for detailed information.";
        break;
    }
    return QString::fromLatin1(text);
}

CDeviceMessages::CDeviceMessages(QWidget* owner, std::function<void()> closeRequest)
    : m_owner(owner), m_closeRequest(std::move(closeRequest)) {}

void CDeviceMessages::Report(DeviceError error, MessageKind kind, const QString& addition) {
    if (m_bFailed)
        return;
    if (error == DeviceError::DriverInternal)
        kind = MessageKind::Fatal;
    QString text = deviceErrorText(error) + addition;
    const bool fatal = kind == MessageKind::Fatal;
    if (fatal) {
        text += QString::fromLatin1(kFatalSuffix);
        // Set before showing: nothing said while the box is open may follow it.
        m_bFailed = true;
    }
    platform::MessageBox(m_owner, text, QString::fromLatin1(kDeviceCaption),
                         fatal ? platform::MsgIcon::Error : platform::MsgIcon::Warning);
    if (!fatal)
        return;
    if (m_closeRequest) {
        m_closeRequest();
    } else if (m_owner) {
        QMetaObject::invokeMethod(m_owner, &QWidget::close, Qt::QueuedConnection);
    }
}

} // namespace desk::render
