#pragma once
// What the control asks of its drawing. The control decides what is shown
// and when a frame is due; the renderer turns a DeskScene into pixels on its
// own device. The control makes its renderer at InitTable through a factory,
// so tests run the whole control with a renderer that only records frames,
// while the table scene draws with the graphics device.

#include "desk/control/DeskScene.h"
#include "desk/media/MediaDirectory.h"

#include <functional>
#include <memory>

class QWidget;

namespace desk::control {

class IDeskRenderer {
public:
    virtual ~IDeskRenderer() = default;

    // At InitTable: make the device, fonts and pictures for a client area of
    // width × height inside `owner` (the control's widget), with the pictures
    // of the resource directory (which may be unset). False when nothing can
    // be drawn; the control then goes on without frames.
    virtual bool Create(QWidget* owner, int width, int height,
                        const media::CMediaDirectory& resources) = 0;
    // One complete frame. Only called after Create.
    virtual void Render(const DeskScene& scene) = 0;
    // The pointer picture over the table: 0 the system arrow, 1 the placement
    // picture for a legal spot (also the aiming pointer), 2 for a refused spot.
    virtual void SetPointerPicture(int picture) = 0;
};

using DeskRendererFactory = std::function<std::unique_ptr<IDeskRenderer>()>;

// Draws nothing: the control without a display, until the scene is there.
class CNullDeskRenderer final : public IDeskRenderer {
public:
    bool Create(QWidget*, int, int, const media::CMediaDirectory&) override { return true; }
    void Render(const DeskScene&) override {}
    void SetPointerPicture(int) override {}
};

} // namespace desk::control
