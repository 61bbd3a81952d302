#include "GlFixture.h"

#include "desk/render/CDrawContext.h"

#include <cmath>

using namespace desk;
using namespace desk::render;
using namespace desk::render::test;

namespace {

constexpr float kIdentity[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

// Four colours: u < 0.5 / u ≥ 0.5 across, northern / southern half down.
QImage quadrantTexture() {
    QImage image(64, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y,
                           y < 16 ? (x < 32 ? 0xFFC00000 : 0xFF00C000)
                                  : (x < 32 ? 0xFF0000C0 : 0xFFC0C000));
    return image;
}

class MeshDrawing : public GlTest {
protected:
    QPoint screen(QVector3D world) {
        const QPointF p = CCamera::Project(world, m_width, m_height);
        return {int(p.x()), int(p.y())};
    }
};

TEST(Camera, SeesTheBedAsTheTableModelMapsIt) {
    // On the bed plane the view agrees with the model's screen mapping:
    // 60.7352 × 45.5514 world units fill an 800 × 600 window.
    const float h = 2.f * 85.f * std::tan(15.f * 3.14159265f / 180.f);
    const float w = h * 800.f / 600.f;
    const QPointF corner = CCamera::Project(QVector3D(-w / 2, h / 2, 0), 800, 600);
    EXPECT_NEAR(corner.x(), 0.0, 1e-3);
    EXPECT_NEAR(corner.y(), 0.0, 1e-3);
    const QPointF p = CCamera::Project(QVector3D(10, -5, 0), 800, 600);
    EXPECT_NEAR(p.x(), (w / 2 + 10) * 800 / w, 1e-2);
    EXPECT_NEAR(p.y(), (h / 2 + 5) * 600 / h, 1e-2);
}

TEST_F(MeshDrawing, ABallLandsAtItsScreenPositionWithItsPicture) {
    CDrawContext draw(m_device);
    CMesh sphere(makeSphereMesh(1.f));
    CGlTexture picture(quadrantTexture(), TextureOptions{true, true, false});
    const QVector3D centre(-12.f, 6.f, 1.f);
    const QImage image = frame(
        [&] { draw.Mesh(sphere, ballModelMatrix(centre, kIdentity), &picture, ballMaterial()); });
    const QPoint c = screen(centre);
    const int radius = screen(centre + QVector3D(1, 0, 0)).x() - c.x();
    EXPECT_GE(radius, 13);
    EXPECT_EQ(image.pixel(c.x() + radius + 2, c.y()), kClearColour);
    EXPECT_EQ(image.pixel(c.x(), c.y() - radius - 2), kClearColour);
    // The north pole (+y) at the top of the screen; moving right on the
    // screen runs forward through the picture.
    const QRgb upperRight = image.pixel(c.x() + radius / 2, c.y() - radius / 2);
    const QRgb upperLeft = image.pixel(c.x() - radius / 2, c.y() - radius / 2);
    const QRgb lowerRight = image.pixel(c.x() + radius / 2, c.y() + radius / 2);
    EXPECT_GT(qRed(upperRight), 2 * qGreen(upperRight)) << "u < 0.5, north: red";
    EXPECT_GT(qGreen(upperLeft), 2 * qRed(upperLeft)) << "u ≥ 0.5, north: green";
    EXPECT_GT(qBlue(lowerRight), 2 * qRed(lowerRight)) << "u < 0.5, south: blue";
}

TEST_F(MeshDrawing, TheLightFallsFromAboveWithAHighlightFacingTheCamera) {
    CDrawContext draw(m_device);
    CMesh sphere(makeSphereMesh(1.f));
    CGlTexture grey(solidImage(8, 8, 0xFF808080), TextureOptions{});
    const QVector3D centre(0.f, 0.f, 1.f);
    const QImage image = frame(
        [&] { draw.Mesh(sphere, ballModelMatrix(centre, kIdentity), &grey, ballMaterial()); });
    const QPoint c = screen(centre);
    // Facing the light: (0.6 + 0.7) saturates, times 0.5 grey, plus the
    // specular highlight 0.8 → almost white at the centre.
    EXPECT_GT(qRed(image.pixel(c)), 240);
    // Near the rim the light grazes: ambient 0.6 and a little diffuse.
    const QRgb rim = image.pixel(c.x() + 12, c.y());
    EXPECT_GT(qRed(rim), 70);
    EXPECT_LT(qRed(rim), 120);
    // A ball without a picture is drawn in its lit material alone.
    const QImage plain = frame(
        [&] { draw.Mesh(sphere, ballModelMatrix(centre, kIdentity), nullptr, ballMaterial()); });
    EXPECT_EQ(plain.pixel(c.x() + 6, c.y()), 0xFFFFFFFFu);
}

TEST_F(MeshDrawing, TheCueRunsFromTheBallAgainstTheCueAngle) {
    CDrawContext draw(m_device);
    CMesh cue(makeCueMesh());
    CGlTexture wood(solidImage(64, 8, 0xFFC08040), TextureOptions{true, true, true});
    const QVector3D ball(0.f, 0.f, 1.f);
    const QImage image = frame([&] {
        // Cue angle 0: the ball will go right, the stick lies to its left.
        draw.Mesh(cue, cueModelMatrix(ball, 0.f, 3.f), &wood, cueMaterial());
    });
    const int y = screen(ball).y();
    EXPECT_EQ(image.pixel(screen(ball + QVector3D(-2, 0, 0)).x(), y), kClearColour);
    EXPECT_NE(image.pixel(screen(ball + QVector3D(-4, 0, 0)).x(), y), kClearColour);
    EXPECT_NE(image.pixel(screen(ball + QVector3D(-28, 0, 0)).x(), y), kClearColour);
    EXPECT_EQ(image.pixel(screen(ball + QVector3D(-30, 0, 0)).x(), y), kClearColour);
    EXPECT_EQ(image.pixel(screen(ball + QVector3D(4, 0, 0)).x(), y), kClearColour);
    const QRgb lit = image.pixel(screen(ball + QVector3D(-15, 0, 0)).x(), y);
    EXPECT_TRUE(near(lit, 0xFFC08040, 4)) << "ambient + diffuse saturate on the upper side";
}

TEST_F(MeshDrawing, MeshesAndPicturesKeepTheirDrawingOrder) {
    CDrawContext draw(m_device);
    CMesh sphere(makeSphereMesh(1.f));
    CPicture cover(media::PictureImage{solidImage(8, 8, 0xFF00FF00), {8, 8, 1, 1}});
    const QVector3D centre(0.f, 0.f, 1.f);
    const QPoint c = screen(centre);
    const QImage image = frame([&] {
        draw.Picture(cover, 0, QPointF(c.x() - 30, c.y() - 30), {2, 2}); // under the ball
        draw.Mesh(sphere, ballModelMatrix(centre, kIdentity), nullptr, ballMaterial());
        draw.Picture(cover, 0, QPointF(c.x() + 2, c.y() + 2), {1, 1}); // over it
        draw.Flush();
    });
    EXPECT_TRUE(near(image.pixel(c.x() - 28, c.y() - 28), 0xFF00FF00));
    EXPECT_EQ(image.pixel(c.x() - 3, c.y() - 3), 0xFFFFFFFFu);
    EXPECT_TRUE(near(image.pixel(c.x() + 5, c.y() + 5), 0xFF00FF00));
}

} // namespace
