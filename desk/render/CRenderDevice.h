#pragma once
// The desk's graphics device: one OpenGL 3.3 core context bound to the
// control's own window, drawing on demand only (no render loop, no vertical
// synchronisation) into a colour buffer of the client size without depth
// buffer or multisampling.
//
// A lost context (driver reset, the GPU taken away) is handled the way the
// desk always handled a lost device: Present reports it and Recover makes a
// new context. Everything that lived on the old one is gone; resources notice
// the new Generation() and upload themselves again, and listeners are told so
// that the scene can redo its per-device set-up.

#include "desk/render/DevicePlan.h"

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QRgb>
#include <functional>
#include <memory>
#include <vector>

class QOpenGLContext;
class QOpenGLExtraFunctions;
class QOpenGLFramebufferObject;
class QOffscreenSurface;
class QSurface;
class QWidget;

namespace desk::render {

class IDeviceListener {
public:
    virtual ~IDeviceListener() = default;
    // The old context is gone: drop (do not delete) every GL name kept from it.
    virtual void OnDeviceLost() = 0;
    // A new context is current: make what the scene needs again.
    virtual void OnDeviceReset() = 0;
};

class CRenderDevice {
public:
    enum class Target { Window, Offscreen };
    enum class State { None, Ready, Lost, Failed };
    enum class PresentResult { Presented, Lost, NotReady };

    static constexpr int kRecoverAttempts = 5;
    static constexpr int kPollIntervalMs = 1000;
    // Polls per attempt before the attempt counts as failed. A context that
    // cannot be made for this long will not come back by waiting longer, and
    // the UI thread must not hang forever.
    static constexpr int kMaxPollsPerAttempt = 5;

    CRenderDevice();
    ~CRenderDevice();
    CRenderDevice(const CRenderDevice&) = delete;
    CRenderDevice& operator=(const CRenderDevice&) = delete;

    // At InitTable. owner is the control's widget: the GL window is placed in
    // it and it is closed after a fatal message. False when no device exists
    // (the messages have been shown).
    bool Create(QWidget* owner, int width, int height, Target target = Target::Window);

    // The widget showing the frames inside the owner (null when offscreen).
    QWidget* View() const;
    State GetState() const { return m_state; }
    Presentation GetPresentation() const { return m_presentation; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Changes every time a new context is made; resources compare it with the
    // generation they were uploaded for.
    int Generation() const { return m_generation; }

    QOpenGLExtraFunctions* Gl() const;
    bool HasAnisotropy() const { return m_bAnisotropy; }
    // Makes the context current (for loading resources outside a frame).
    bool MakeCurrent();

    // Frame operations. BeginFrame is false when nothing can be drawn (no
    // device, or the context is lost); Present and Recover still run then.
    bool BeginFrame();
    void Clear(QRgb colour);
    void Clear(const QRect& rect, QRgb colour);
    void EndFrame();
    PresentResult Present();
    // Up to five attempts to get a new context; false leaves the device lost
    // (the next frame tries again). Shows no message.
    bool Recover();

    // The last frame drawn, as an opaque image of the client size.
    QImage ReadFrame();

    // Called when the window needs its picture again (exposed); without a
    // handler the last frame is shown again.
    void SetExposeHandler(std::function<void()> handler);
    void AddListener(IDeviceListener* listener);
    void RemoveListener(IDeviceListener* listener);

    // Test seams: the sleep between polls, an override of the probed
    // capabilities, and dropping the context as a driver reset would.
    void SetSleep(std::function<void(int ms)> sleep) { m_sleep = std::move(sleep); }
    void SetCapabilityFilter(std::function<void(GlCapabilities&)> filter) {
        m_capabilityFilter = std::move(filter);
    }
    void SetContextFactoryFails(bool fails) { m_bFactoryFails = fails; }
    void SimulateLoss();

private:
    class CSurfaceWindow;
    class CImageView;

    std::unique_ptr<QOpenGLContext> MakeContext() const;
    QSurface* DrawSurface() const;
    GlCapabilities Probe(QOpenGLContext& context);
    bool MakeBackBuffer();
    void ShowLastFrame();

    std::unique_ptr<CDeviceMessages> m_messages;
    State m_state = State::None;
    Presentation m_presentation = Presentation::None;
    int m_width = 0;
    int m_height = 0;
    int m_generation = 0;
    bool m_bAnisotropy = false;
    bool m_bInFrame = false;

    std::unique_ptr<QOpenGLContext> m_context;
    std::unique_ptr<QOpenGLFramebufferObject> m_backBuffer;
    std::unique_ptr<QOffscreenSurface> m_offscreen;
    // Owned by the owner widget once shown in it; they may die with it.
    QPointer<CSurfaceWindow> m_window;
    QPointer<QWidget> m_view;
    QPointer<CImageView> m_imageView;

    std::vector<IDeviceListener*> m_listeners;
    std::function<void()> m_exposeHandler;
    std::function<void(int)> m_sleep;
    std::function<void(GlCapabilities&)> m_capabilityFilter;
    bool m_bFactoryFails = false;
};

} // namespace desk::render
