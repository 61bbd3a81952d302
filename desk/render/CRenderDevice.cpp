#include "desk/render/CRenderDevice.h"

#include <QExposeEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QPainter>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace desk::render {

namespace {

QSurfaceFormat deviceFormat() {
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setVersion(kRequiredMajor, kRequiredMinor);
    format.setProfile(QSurfaceFormat::CoreProfile);
    format.setDepthBufferSize(0);
    format.setStencilBufferSize(0);
    format.setSamples(0);
    format.setAlphaBufferSize(0);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setSwapInterval(0); // present at once, never wait for the display
    // Ask to be told about driver resets, so a lost context is noticed.
    format.setOption(QSurfaceFormat::ResetNotification);
    return format;
}

void setClearColour(QOpenGLExtraFunctions* gl, QRgb colour) {
    gl->glClearColor(float(qRed(colour)) / 255.f, float(qGreen(colour)) / 255.f,
                     float(qBlue(colour)) / 255.f, float(qAlpha(colour)) / 255.f);
}

} // namespace

class CRenderDevice::CSurfaceWindow : public QWindow {
public:
    explicit CSurfaceWindow(std::function<void()> onExpose) : m_onExpose(std::move(onExpose)) {
        setSurfaceType(QSurface::OpenGLSurface);
        setFormat(deviceFormat());
    }

protected:
    void exposeEvent(QExposeEvent*) override {
        if (isExposed() && m_onExpose)
            m_onExpose();
    }

private:
    std::function<void()> m_onExpose;
};

class CRenderDevice::CImageView : public QWidget {
public:
    explicit CImageView(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void SetImage(QImage image) {
        m_image = std::move(image);
        repaint();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawImage(rect(), m_image);
    }

private:
    QImage m_image;
};

CRenderDevice::CRenderDevice() : m_sleep([](int ms) { QThread::msleep(ulong(ms)); }) {}

CRenderDevice::~CRenderDevice() {
    if (m_context && m_context->makeCurrent(DrawSurface())) {
        m_backBuffer.reset();
        m_context->doneCurrent();
    }
    m_context.reset();
    m_backBuffer.reset();
    // The view belongs to the owner widget, which may already be gone; when
    // it is not, take the view out now so that it cannot call back into us.
    delete m_view.data();
    delete m_window.data();
}

std::unique_ptr<QOpenGLContext> CRenderDevice::MakeContext() const {
    if (m_bFactoryFails)
        return nullptr;
    auto context = std::make_unique<QOpenGLContext>();
    context->setFormat(deviceFormat());
    if (!context->create())
        return nullptr;
    return context;
}

QSurface* CRenderDevice::DrawSurface() const {
    if (m_presentation == Presentation::Window && m_window)
        return m_window;
    return m_offscreen.get();
}

QOpenGLExtraFunctions* CRenderDevice::Gl() const {
    return m_context ? m_context->extraFunctions() : nullptr;
}

QWidget* CRenderDevice::View() const {
    return m_view;
}

GlCapabilities CRenderDevice::Probe(QOpenGLContext& context) {
    GlCapabilities caps;
    caps.contextCreated = true;
    const QSurfaceFormat format = context.format();
    caps.majorVersion = format.majorVersion();
    caps.minorVersion = format.minorVersion();
    caps.redBits = format.redBufferSize();
    caps.greenBits = format.greenBufferSize();
    caps.blueBits = format.blueBufferSize();
    caps.drawsOffscreen =
        m_offscreen && m_offscreen->isValid() && context.makeCurrent(m_offscreen.get());
    caps.drawsIntoWindow = m_window && context.makeCurrent(m_window);
    if (caps.drawsOffscreen || caps.drawsIntoWindow)
        m_bAnisotropy = context.hasExtension("GL_EXT_texture_filter_anisotropic") ||
                        context.hasExtension("GL_ARB_texture_filter_anisotropic");
    return caps;
}

bool CRenderDevice::Create(QWidget* owner, int width, int height, Target target) {
    if (m_state != State::None)
        return m_state == State::Ready;
    m_messages = std::make_unique<CDeviceMessages>(owner);
    m_width = std::max(1, width);
    m_height = std::max(1, height);

    m_offscreen = std::make_unique<QOffscreenSurface>();
    m_offscreen->setFormat(deviceFormat());
    m_offscreen->create();
    if (target == Target::Window) {
        m_window = new CSurfaceWindow([this] {
            if (m_state != State::Ready)
                return;
            if (m_exposeHandler)
                m_exposeHandler();
            else
                ShowLastFrame();
        });
        // The control under the GL window handles the pointer: clicks and
        // moves pass through to it, and its pointer picture shows.
        m_window->setFlag(Qt::WindowTransparentForInput);
        m_window->resize(m_width, m_height);
        m_window->create();
    }

    GlCapabilities caps;
    m_context = MakeContext();
    if (m_context)
        caps = Probe(*m_context);
    if (m_capabilityFilter)
        m_capabilityFilter(caps);

    const DevicePlan plan = planDevice(caps, target == Target::Window);
    for (const PlannedMessage& message : plan.messages) {
        m_messages->Report(message.error, message.kind,
                           message.softwareFallback ? QString::fromLatin1(kSoftwareFallbackSuffix)
                                                    : QString());
    }
    m_presentation = plan.presentation;
    if (m_presentation == Presentation::None) {
        m_state = State::Failed;
        m_context.reset();
        return false;
    }

    if (m_presentation == Presentation::Window) {
        m_view = QWidget::createWindowContainer(m_window, owner);
        m_view->setFocusPolicy(Qt::NoFocus);
        m_view->resize(m_width, m_height);
    } else {
        delete m_window.data();
        if (m_presentation == Presentation::ImageCopy) {
            m_imageView = new CImageView(owner);
            m_imageView->resize(m_width, m_height);
            m_view = m_imageView;
        }
    }
    if (m_view) {
        // The view ignores the pointer, which then reaches the control under
        // it; without tracking, Qt would drop plain moves at the view.
        m_view->setMouseTracking(true);
        if (owner)
            m_view->show();
    }

    if (!MakeBackBuffer()) {
        m_messages->Report(DeviceError::OutOfVideoMemory, MessageKind::Fatal);
        m_state = State::Failed;
        m_context.reset();
        return false;
    }
    ++m_generation;
    m_state = State::Ready;
    return true;
}

bool CRenderDevice::MakeBackBuffer() {
    m_backBuffer.reset();
    if (!m_context || !m_context->makeCurrent(DrawSurface()))
        return false;
    QOpenGLFramebufferObjectFormat format;
    format.setAttachment(QOpenGLFramebufferObject::NoAttachment);
    format.setSamples(0);
    format.setInternalTextureFormat(0x8058); // GL_RGBA8
    m_backBuffer = std::make_unique<QOpenGLFramebufferObject>(m_width, m_height, format);
    if (!m_backBuffer->isValid()) {
        m_backBuffer.reset();
        return false;
    }
    return true;
}

bool CRenderDevice::MakeCurrent() {
    if (m_state != State::Ready || !m_context)
        return false;
    if (!m_context->makeCurrent(DrawSurface()) || !m_context->isValid()) {
        m_state = State::Lost;
        return false;
    }
    return true;
}

bool CRenderDevice::BeginFrame() {
    if (!MakeCurrent())
        return false;
    m_backBuffer->bind();
    QOpenGLExtraFunctions* gl = Gl();
    gl->glViewport(0, 0, m_width, m_height);
    gl->glDepthRangef(0.f, 1.f);
    gl->glDisable(GL_SCISSOR_TEST);
    gl->glDisable(GL_DEPTH_TEST);
    m_bInFrame = true;
    return true;
}

void CRenderDevice::Clear(QRgb colour) {
    if (!m_bInFrame)
        return;
    QOpenGLExtraFunctions* gl = Gl();
    gl->glDisable(GL_SCISSOR_TEST);
    setClearColour(gl, colour);
    gl->glClear(GL_COLOR_BUFFER_BIT);
}

void CRenderDevice::Clear(const QRect& rect, QRgb colour) {
    const QRect area = rect.intersected(QRect(0, 0, m_width, m_height));
    if (!m_bInFrame || area.isEmpty())
        return;
    QOpenGLExtraFunctions* gl = Gl();
    gl->glEnable(GL_SCISSOR_TEST);
    gl->glScissor(area.x(), m_height - area.y() - area.height(), area.width(), area.height());
    setClearColour(gl, colour);
    gl->glClear(GL_COLOR_BUFFER_BIT);
    gl->glDisable(GL_SCISSOR_TEST);
}

void CRenderDevice::EndFrame() {
    if (!m_bInFrame)
        return;
    m_bInFrame = false;
    Gl()->glFlush();
}

void CRenderDevice::ShowLastFrame() {
    if (!m_window || !m_window->isExposed() || !m_backBuffer)
        return;
    if (!m_context->makeCurrent(m_window))
        return;
    const qreal ratio = m_window->devicePixelRatio();
    const QRect target(0, 0, int(m_window->width() * ratio), int(m_window->height() * ratio));
    // A window of another size than the back buffer gets the frame stretched.
    QOpenGLFramebufferObject::blitFramebuffer(nullptr, target, m_backBuffer.get(),
                                              QRect(0, 0, m_width, m_height), GL_COLOR_BUFFER_BIT,
                                              GL_LINEAR);
    m_context->swapBuffers(m_window);
}

CRenderDevice::PresentResult CRenderDevice::Present() {
    if (m_state == State::None || m_state == State::Failed)
        return PresentResult::NotReady;
    if (m_state == State::Lost || !m_context || !m_context->isValid()) {
        m_state = State::Lost;
        return PresentResult::Lost;
    }
    switch (m_presentation) {
    case Presentation::Window:
        ShowLastFrame();
        break;
    case Presentation::ImageCopy:
        if (m_imageView)
            m_imageView->SetImage(ReadFrame());
        break;
    case Presentation::Offscreen:
    case Presentation::None:
        break;
    }
    if (!m_context->isValid()) {
        m_state = State::Lost;
        return PresentResult::Lost;
    }
    return PresentResult::Presented;
}

bool CRenderDevice::Recover() {
    if (m_state != State::Lost)
        return m_state == State::Ready;
    for (int attempt = 0; attempt < kRecoverAttempts; ++attempt) {
        // Wait until a context can be made again.
        std::unique_ptr<QOpenGLContext> fresh = MakeContext();
        for (int poll = 0; !fresh && poll < kMaxPollsPerAttempt; ++poll) {
            m_sleep(kPollIntervalMs);
            fresh = MakeContext();
        }
        if (!fresh)
            continue;
        // The old context and everything on it goes.
        for (IDeviceListener* listener : m_listeners)
            listener->OnDeviceLost();
        if (m_context && m_context->makeCurrent(DrawSurface()))
            m_backBuffer.reset();
        m_context.reset();
        m_backBuffer.reset();

        m_context = std::move(fresh);
        if (!MakeBackBuffer()) {
            m_context.reset();
            continue;
        }
        ++m_generation;
        m_state = State::Ready;
        for (IDeviceListener* listener : m_listeners)
            listener->OnDeviceReset();
        return true;
    }
    return false;
}

QImage CRenderDevice::ReadFrame() {
    if (!MakeCurrent() || !m_backBuffer)
        return {};
    return m_backBuffer->toImage(true).convertToFormat(QImage::Format_RGB32);
}

void CRenderDevice::SetExposeHandler(std::function<void()> handler) {
    m_exposeHandler = std::move(handler);
}

void CRenderDevice::AddListener(IDeviceListener* listener) {
    if (std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
        m_listeners.push_back(listener);
}

void CRenderDevice::RemoveListener(IDeviceListener* listener) {
    m_listeners.erase(std::remove(m_listeners.begin(), m_listeners.end(), listener),
                      m_listeners.end());
}

void CRenderDevice::SimulateLoss() {
    if (m_state != State::Ready)
        return;
    if (m_context && m_context->makeCurrent(DrawSurface()))
        m_backBuffer.reset();
    m_context.reset();
    m_backBuffer.reset();
    m_state = State::Lost;
}

} // namespace desk::render
