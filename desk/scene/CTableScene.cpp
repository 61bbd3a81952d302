// The table scene's set-up: device, faces, meshes, pictures, the pointer
// pictures, and one frame from begin to present (the drawing of each element
// is in TableFrame.cpp).
#include "desk/scene/CTableScene.h"

#include "desk/media/PictureLoader.h"
#include "desk/scene/PointerPictures.h"

#include <QPixmap>
#include <QWidget>

namespace desk::scene {

using render::CRenderDevice;

namespace {

// The label face: 14 pixels high, 7 wide on average; the banner face 12 × 6.
constexpr int kLabelHeight = 14;
constexpr int kLabelWidth = 7;
constexpr int kBannerHeight = 12;
constexpr int kBannerWidth = 6;
constexpr int kFaceWeight = 500;

} // namespace

CTableScene::CTableScene(CRenderDevice::Target target)
    : m_target(target), m_device(std::make_unique<CRenderDevice>()) {}

CTableScene::~CTableScene() {
    m_device->RemoveListener(this);
    // GL objects are deleted on their own context where it still exists.
    m_device->MakeCurrent();
    if (m_label)
        m_label->Reset(*m_device);
    if (m_bannerFace)
        m_bannerFace->Reset(*m_device);
    m_draw.reset();
}

bool CTableScene::Create(QWidget* owner, int width, int height,
                         const media::CMediaDirectory& resources) {
    if (m_bCreated)
        return true;
    m_owner = owner;
    m_layout = CSceneLayout(width, height);
    if (!m_device->Create(owner, m_layout.width(), m_layout.height(), m_target))
        return false;
    m_device->AddListener(this);
    m_draw = std::make_unique<render::CDrawContext>(*m_device);
    m_label = std::make_unique<render::CTextFace>(kLabelHeight, kLabelWidth, kFaceWeight);
    m_bannerFace = std::make_unique<render::CTextFace>(kBannerHeight, kBannerWidth, kFaceWeight);
    m_draw->Meshes().SetLight(render::PointLight{});

    for (int picture = 1; picture <= 2; ++picture)
        m_pointerImages[static_cast<std::size_t>(picture - 1)] =
            placementPointer(placementBitmap(picture), m_layout.width(), m_layout.height());

    LoadMedia(resources);
    m_sphere = std::make_unique<render::CMesh>(render::makeSphereMesh(float(kBallRadius)));
    m_cue = std::make_unique<render::CMesh>(render::makeCueMesh());
    m_bCreated = true;
    return true;
}

void CTableScene::LoadMedia(const media::CMediaDirectory& resources) {
    m_pictures.clear();
    m_pictures.reserve(media::kPictureCount);
    for (const media::PictureSheet& sheet : media::pictureSheets())
        m_pictures.emplace_back(media::loadPicture(resources, sheet));
    m_ballTextures.clear();
    m_ballTextures.reserve(media::kBallCount);
    // Ball pictures wrap round the sphere: repeat across the seam, mipmapped
    // so that a ball in the distance does not shimmer as it rolls.
    for (int i = 0; i < media::kBallCount; ++i)
        m_ballTextures.emplace_back(media::loadTexture(resources, media::ballFile(i)),
                                    render::TextureOptions{true, true, false});
    m_cueTexture = render::CGlTexture(media::loadTexture(resources, media::kCueFile),
                                      render::TextureOptions{true, true, true});
}

void CTableScene::OnDeviceReset() {
    // Everything else uploads itself again on the new context; cached text
    // pictures belonged to the old one.
    if (m_label)
        m_label->Reset(*m_device);
    if (m_bannerFace)
        m_bannerFace->Reset(*m_device);
}

const QImage& CTableScene::PointerImage(int picture) const {
    static const QImage none;
    if (picture != 1 && picture != 2)
        return none;
    return m_pointerImages[static_cast<std::size_t>(picture - 1)];
}

void CTableScene::SetPointerPicture(int picture) {
    if (picture != 1 && picture != 2)
        picture = 0;
    m_nPointer = picture;
    if (!m_owner)
        return;
    if (picture == 0 || PointerImage(picture).isNull()) {
        m_owner->unsetCursor();
        return;
    }
    m_owner->setCursor(QCursor(QPixmap::fromImage(PointerImage(picture)), kPointerHotSpot.x(),
                               kPointerHotSpot.y()));
}

void CTableScene::Render(const control::DeskScene& scene) {
    if (!m_bCreated)
        return;
    if (m_device->BeginFrame()) {
        m_device->Clear(kClearColour);
        DrawFrame(scene);
        m_draw->Flush();
        m_device->EndFrame();
    }
    if (m_device->Present() == CRenderDevice::PresentResult::Lost)
        m_device->Recover();
}

} // namespace desk::scene
