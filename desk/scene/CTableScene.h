#pragma once
// The desk's table scene: the renderer the Bexlo control draws with.
//
// At Create it makes the graphics device inside the control's widget, the two
// text faces, the ball sphere and the cue stick, and loads the pictures and
// textures of the resource directory. Each Render composes one whole frame
// from a DeskScene: the table picture, the cue stick, the aim line, the
// sixteen balls with their shadows, and over them the heads-up elements (score
// list, power bar, spin mark, prompt banner, player panel, turn clock, start
// button, target ring and arrow, pocket lights), in that order, later ones
// covering earlier ones (there is no depth buffer).
//
// A picture that could not be loaded is simply not drawn; without any
// resources the frame still shows the clear colour, the texts and the power
// bar.

#include "desk/control/IDeskRenderer.h"
#include "desk/render/CDrawContext.h"
#include "desk/render/CRenderDevice.h"
#include "desk/scene/SceneLayout.h"

#include <QCursor>
#include <QPointer>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace desk::scene {

class CTableScene final : public control::IDeskRenderer, private render::IDeviceListener {
public:
    static constexpr QRgb kClearColour = 0xFF3174BB;
    static constexpr QRgb kPowerBarColour = 0xFF794920;
    static constexpr QRgb kShadowTint = 0x337F7F7F;
    static constexpr QRgb kIllegalTargetTint = 0xFFB6C9B9;
    static constexpr QRgb kStripTint = 0x7FFFFFFF;
    static constexpr QRgb kListTint = 0x4CFFFFFF;
    static constexpr QRgb kTextColour = 0xFF000000;

    // Offscreen draws into the device's own buffer only (tests, benchmarks);
    // Window shows the frames in the control's widget.
    explicit CTableScene(
        render::CRenderDevice::Target target = render::CRenderDevice::Target::Window);
    ~CTableScene() override;
    CTableScene(const CTableScene&) = delete;
    CTableScene& operator=(const CTableScene&) = delete;

    bool Create(QWidget* owner, int width, int height,
                const media::CMediaDirectory& resources) override;
    void Render(const control::DeskScene& scene) override;
    void SetPointerPicture(int picture) override;

    render::CRenderDevice& Device() { return *m_device; }
    // The last frame drawn (a null image before the first).
    QImage LastFrame() { return m_device->ReadFrame(); }
    // The pointer picture in use: 0 the system arrow, else 1 or 2.
    int PointerPicture() const { return m_nPointer; }
    const QImage& PointerImage(int picture) const;

private:
    void OnDeviceLost() override {}
    void OnDeviceReset() override;

    void LoadMedia(const media::CMediaDirectory& resources);
    render::CPicture& Picture(media::PictureId id) {
        return m_pictures[static_cast<std::size_t>(id)];
    }
    ScreenPoint OnScreen(double x, double y) const;

    // The frame, step by step.
    void DrawFrame(const control::DeskScene& scene);
    void DrawBackground(const control::DeskScene& scene);
    void DrawCue(const control::DeskScene& scene);
    // The aim direction on the screen (unit vector) the arrow is compared
    // with: the cue's, or straight left without a cue ball.
    QPointF DrawAimLine(const control::DeskScene& scene);
    void DrawBalls(const control::DeskScene& scene);
    void DrawScoreList(const control::DeskScene& scene);
    void DrawPowerBar(const control::DeskScene& scene);
    void DrawBanner(const control::DeskScene& scene);
    void DrawPlayerPanel(const control::DeskScene& scene);
    void DrawTurnClock(const control::DeskScene& scene);
    void DrawReadyMarks(const control::DeskScene& scene);
    void DrawTarget(const control::DeskScene& scene, QPointF aimDirection);
    void DrawPocketLights(const control::DeskScene& scene);

    render::CRenderDevice::Target m_target;
    std::unique_ptr<render::CRenderDevice> m_device;
    std::unique_ptr<render::CDrawContext> m_draw;
    std::unique_ptr<render::CTextFace> m_label;
    std::unique_ptr<render::CTextFace> m_bannerFace;
    std::unique_ptr<render::CMesh> m_sphere;
    std::unique_ptr<render::CMesh> m_cue;
    std::vector<render::CPicture> m_pictures;
    std::vector<render::CGlTexture> m_ballTextures;
    render::CGlTexture m_cueTexture;
    // The host's picture behind the table, made again when it changes.
    render::CPicture m_background;
    qint64 m_nBackgroundKey = 0;

    CSceneLayout m_layout{kDesignWidth, kDesignHeight};
    QPointer<QWidget> m_owner;
    std::array<QImage, 2> m_pointerImages;
    int m_nPointer = 0;
    bool m_bCreated = false;
};

} // namespace desk::scene
