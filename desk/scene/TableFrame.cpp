// One table frame, element by element, in the order they cover each other.
#include "desk/scene/CTableScene.h"

#include "desk/media/PictureLoader.h"

#include <QString>
#include <cmath>
#include <cstring>
#include <numbers>

namespace desk::scene {

using control::DeskScene;
using media::PictureId;

namespace {

QRect toRect(const PixelBox& box) {
    return QRect(box.left, box.top, box.width(), box.height());
}

QPointF toPoint(ScreenPoint p) {
    return {p.x, p.y};
}

bool aimingStatus(int16_t status) {
    return status == DeskStatus::BreakAiming || status == DeskStatus::Aiming;
}

// The local player may act on this desk: a player's desk whose turn it is.
bool ownTurn(const DeskScene& scene) {
    return !scene.watching && scene.turnLoc == 0;
}

std::string decimal(int value) {
    return std::to_string(value);
}

// A zero-terminated GBK name in its fixed field, never read past the field.
std::string_view fieldText(const char* field, std::size_t size) {
    return {field, strnlen(field, size)};
}

// The header of the score list.
const std::array<QString, ScoreListGeometry::kColumns>& scoreHeaders() {
    static const std::array<QString, ScoreListGeometry::kColumns> headers{
        QString::fromUtf8("玩家"), QString::fromUtf8("局分"), QString::fromUtf8("总分"),
        QString::fromUtf8("赢"), QString::fromUtf8("输")};
    return headers;
}

} // namespace

ScreenPoint CTableScene::OnScreen(double x, double y) const {
    return m_layout.geometry().worldToScreen(x, y);
}

void CTableScene::DrawFrame(const DeskScene& scene) {
    DrawBackground(scene);
    m_draw->Picture(Picture(PictureId::Desk), 0, {0, 0}, {m_layout.unitX(), m_layout.unitY()});
    DrawCue(scene);
    const QPointF aimDirection = DrawAimLine(scene);
    DrawBalls(scene);
    DrawScoreList(scene);
    DrawPowerBar(scene);
    m_draw->Picture(Picture(PictureId::Star), 0, QPointF(scene.spinMark.x, scene.spinMark.y),
                    {m_layout.unitX(), m_layout.unitY()});
    DrawBanner(scene);
    DrawPlayerPanel(scene);
    DrawTurnClock(scene);
    DrawReadyMarks(scene);
    DrawTarget(scene, aimDirection);
    DrawPocketLights(scene);
}

void CTableScene::DrawBackground(const DeskScene& scene) {
    if (scene.background.isNull()) {
        m_background = {};
        m_nBackgroundKey = 0;
        return;
    }
    if (scene.background.cacheKey() != m_nBackgroundKey) {
        m_nBackgroundKey = scene.background.cacheKey();
        m_background = render::CPicture(media::pictureFromBitmap(
            scene.background, scene.background.width(), scene.background.height()));
    }
    // The host's own pixels, not stretched to the window.
    m_draw->Picture(m_background, 0, {0, 0});
}

void CTableScene::DrawCue(const DeskScene& scene) {
    if (!scene.cue.shown || !m_cue)
        return;
    // The stick lies in the plane of the ball centres.
    const QVector3D ball(float(scene.cue.ballPoint.x), float(scene.cue.ballPoint.y),
                         float(kBallRadius));
    m_draw->Mesh(*m_cue,
                 render::cueModelMatrix(ball, float(scene.cue.angle), float(scene.cue.pullBack)),
                 &m_cueTexture, render::cueMaterial());
}

QPointF CTableScene::DrawAimLine(const DeskScene& scene) {
    const control::SceneBall& cueBall = scene.balls[kCueBall];
    if (!cueBall.shown)
        return {-1.0, 0.0};
    // World y runs up the screen, window y down.
    const QPointF direction(std::cos(scene.cue.angle), -std::sin(scene.cue.angle));
    if (!scene.aimLine.shown)
        return direction;
    const ScreenPoint anchor = OnScreen(cueBall.position.x, cueBall.position.y);
    const ScreenPoint from = OnScreen(scene.aimLine.from.x, scene.aimLine.from.y);
    const ScreenPoint to = OnScreen(scene.aimLine.to.x, scene.aimLine.to.y);
    const double length = std::hypot(to.x - from.x, to.y - from.y);
    render::CPicture& line = Picture(PictureId::Line);
    const double frameWidth = line.Grid().frameWidth > 0 ? line.Grid().frameWidth : 64;
    // Display variant 1 draws a broad band, any other a thin line.
    const double thickness = scene.subtype == 1 ? 2.0 : 0.4;
    m_draw->Strip(line, 0, toPoint(anchor), direction,
                  {length / frameWidth, thickness * m_layout.height() / kDesignHeight}, kStripTint);
    return direction;
}

void CTableScene::DrawBalls(const DeskScene& scene) {
    render::CPicture& shade = Picture(PictureId::Shade);
    const QPointF shadowScale(m_layout.shadowWidth() / 32.0, m_layout.shadowHeight() / 32.0);
    for (int i = 0; i < kBallCount; ++i) {
        const control::SceneBall& ball = scene.balls[static_cast<std::size_t>(i)];
        if (!ball.shown)
            continue;
        const CSceneLayout::Point shadow =
            m_layout.shadowTopLeft(OnScreen(ball.position.x, ball.position.y), ball.placedByHand);
        m_draw->Picture(shade, 0, QPointF(shadow.x, shadow.y), shadowScale, kShadowTint);
        if (!m_sphere)
            continue;
        // The engine's 3 × 4 rows (local → world) without their unused column.
        const Rotation& r = ball.rotation;
        const float rotation[9] = {float(r[0]), float(r[1]), float(r[2]), //
                                   float(r[4]), float(r[5]), float(r[6]), //
                                   float(r[8]), float(r[9]), float(r[10])};
        const QVector3D centre(float(ball.position.x), float(ball.position.y),
                               float(ball.position.z));
        m_draw->Mesh(*m_sphere, render::ballModelMatrix(centre, rotation),
                     &m_ballTextures[static_cast<std::size_t>(i)], render::ballMaterial());
    }
}

void CTableScene::DrawScoreList(const DeskScene& scene) {
    if (!scene.scoreList.shown)
        return;
    using G = ScoreListGeometry;
    render::CPicture& list = Picture(PictureId::List);
    const PixelBox frame = G::Frame();
    m_draw->Picture(list, 0, QPointF(frame.left, frame.top),
                    {frame.width() / 64.0, frame.height() / 64.0}, kListTint);
    for (int c = 0; c < G::kColumns; ++c)
        m_draw->Text(*m_label, scoreHeaders()[static_cast<std::size_t>(c)], toRect(G::Cell(0, c)),
                     kTextColour);
    render::CPicture& ver = Picture(PictureId::VerticalRule);
    for (int k = 0; k < G::kColumns - 1; ++k) {
        const PixelBox rule = G::VerticalRule(k);
        m_draw->Picture(ver, 0, QPointF(rule.left, rule.top),
                        {rule.width() / 2.0, rule.height() / 18.0});
    }
    render::CPicture& hor = Picture(PictureId::HorizontalRule);
    for (int k = 0; k < G::kItemRows; ++k) {
        const PixelBox rule = G::HorizontalRule(k);
        m_draw->Picture(hor, 0, QPointF(rule.left, rule.top),
                        {rule.width() / 18.0, rule.height() / 2.0});
    }
    const int rows = std::clamp(scene.scoreList.rowCount, 0, G::kItemRows);
    for (int n = 0; n < rows; ++n) {
        const CScoreListItem& item = scene.scoreList.rows[static_cast<std::size_t>(n)];
        const std::string cells[G::kColumns] = {
            std::string(fieldText(item.m_szNickname, sizeof(item.m_szNickname))),
            decimal(item.m_nGameScore), decimal(item.m_nTotalScore), decimal(item.m_nWins),
            decimal(item.m_nLosses)};
        for (int c = 0; c < G::kColumns; ++c)
            m_draw->TextGbk(*m_label, cells[c], toRect(G::Cell(n + 1, c)), kTextColour);
    }
}

void CTableScene::DrawPowerBar(const DeskScene& scene) {
    if (ownTurn(scene) && aimingStatus(scene.status))
        m_draw->Fill(toRect(m_layout.powerBar()), kPowerBarColour);
    if (scene.power <= 0 || !aimingStatus(scene.status))
        return;
    const PixelBox fill = m_layout.powerFill(scene.power);
    if (fill.empty())
        return;
    m_draw->Picture(Picture(PictureId::PowerFill), 0, QPointF(fill.left, fill.top),
                    {fill.width() / 32.0, fill.height() / 32.0});
}

void CTableScene::DrawBanner(const DeskScene& scene) {
    if (!scene.banner.shown)
        return;
    const PixelBox banner = m_layout.banner();
    m_draw->Picture(Picture(PictureId::List), 0, QPointF(banner.left, banner.top),
                    {banner.width() / 64.0, banner.height() / 64.0}, kListTint);
    m_draw->TextGbk(*m_bannerFace, scene.banner.text, toRect(banner), kTextColour);
}

void CTableScene::DrawPlayerPanel(const DeskScene& scene) {
    const QPointF unit(m_layout.unitX(), m_layout.unitY());
    render::CPicture& marks = Picture(PictureId::Marks);
    for (int loc = 0; loc < 2; ++loc) {
        const control::ScenePlayer& player = scene.players[static_cast<std::size_t>(loc)];
        m_draw->TextGbk(*m_label, player.name, toRect(m_layout.nameField(loc)), kTextColour);
        m_draw->TextGbk(*m_label, decimal(player.score), toRect(m_layout.scoreField(loc)),
                        kTextColour);
        m_draw->TextGbk(*m_label, decimal(player.chances), toRect(m_layout.chancesField(loc)),
                        kTextColour);
        if (scene.myGroup != kSolids && scene.myGroup != kStripes)
            continue;
        // The local player's row carries the own group's mark.
        const int mark = loc == 0 ? scene.myGroup : 1 - scene.myGroup;
        const PixelBox field = m_layout.groupField(loc);
        m_draw->Picture(marks, mark, QPointF(field.left, field.top), unit);
    }
}

void CTableScene::DrawTurnClock(const DeskScene& scene) {
    if ((scene.turnLoc != 0 && scene.turnLoc != 1) || scene.clockSeconds <= 0)
        return;
    render::CPicture& digits = Picture(PictureId::Digits);
    for (const GlyphPlacement& g : m_layout.clockGlyphs(scene.turnLoc, scene.clockSeconds))
        m_draw->Picture(digits, g.frame, QPointF(g.left, g.top),
                        {CSceneLayout::kGlyphScaleX, CSceneLayout::kGlyphScaleY});
}

void CTableScene::DrawReadyMarks(const DeskScene& scene) {
    if (scene.status != DeskStatus::BeforeGame)
        return;
    const QPointF unit(m_layout.unitX(), m_layout.unitY());
    constexpr int kReadyMark = 2;
    for (int loc = 0; loc < 2; ++loc) {
        if (scene.players[static_cast<std::size_t>(loc)].ready) {
            const PixelBox field = m_layout.readyField(loc);
            m_draw->Picture(Picture(PictureId::Marks), kReadyMark, QPointF(field.left, field.top),
                            unit);
        } else if (loc == 0) {
            const PixelBox button = m_layout.startButton();
            m_draw->Picture(Picture(PictureId::GameStart), 0, QPointF(button.left, button.top),
                            unit);
        }
    }
}

void CTableScene::DrawTarget(const DeskScene& scene, QPointF aimDirection) {
    const int target = scene.targetBall;
    if (target < 0 || target >= kObjectBallCount || scene.shotRunning)
        return;
    const control::SceneBall& ball = scene.balls[static_cast<std::size_t>(target)];
    // A ball off the table has no place on the screen to ring.
    if (!ball.shown)
        return;
    const ScreenPoint centre = OnScreen(ball.position.x, ball.position.y);
    const QPointF ring(centre.x - m_layout.sx(16), centre.y - m_layout.sy(16));
    m_draw->Picture(Picture(PictureId::MaskBall), 0, ring, {m_layout.unitX(), m_layout.unitY()},
                    scene.targetLegal ? 0xFFFFFFFF : kIllegalTargetTint);
    const QRect numberRect(int(ring.x()), int(ring.y()), m_layout.sx(32), m_layout.sy(32));
    m_draw->TextGbk(*m_label, decimal(target + 1), numberRect, kTextColour);

    if (!scene.arrow.shown || scene.subtype != 1)
        return;
    const ScreenPoint from = OnScreen(scene.arrow.ball.x, scene.arrow.ball.y);
    const ScreenPoint tip = OnScreen(scene.arrow.tip.x, scene.arrow.tip.y);
    const QPointF direction(tip.x - from.x, tip.y - from.y);
    const double norm = std::hypot(direction.x(), direction.y());
    if (norm == 0.0)
        return;
    // Only an arrow the cue could send the ball along: within a right angle
    // of the aim, the right angle itself included.
    const double cosine = (direction.x() * aimDirection.x() + direction.y() * aimDirection.y()) /
                          (norm * std::hypot(aimDirection.x(), aimDirection.y()));
    if (cosine < -1e-9)
        return;
    m_draw->Strip(Picture(PictureId::Arrow), 0, toPoint(centre), direction,
                  {2.0 * m_layout.unitX(), 2.0 * m_layout.unitY()}, kStripTint);
}

void CTableScene::DrawPocketLights(const DeskScene& scene) {
    render::CPicture& light = Picture(PictureId::Light);
    for (int k = 0; k < CSceneLayout::kPocketLights; ++k) {
        const control::ScenePocketLight& l = scene.pocketLights[static_cast<std::size_t>(k)];
        if (!l.shown)
            continue;
        const PixelBox field = m_layout.pocketLightField(k);
        m_draw->Picture(light, l.frame, QPointF(field.left, field.top),
                        {CSceneLayout::kLightScale, CSceneLayout::kLightScale});
    }
}

} // namespace desk::scene
