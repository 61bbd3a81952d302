// A whole table frame drawn from the generated resource directory with the
// drawing primitives, the way the table scene composes it: the pictures land
// where the layout puts them and the balls where the model puts them. Set
// DESK_SNAPSHOT=<file.png> to keep the frame for looking at.

#include "GlFixture.h"

#include "desk/media/PictureLoader.h"
#include "desk/model/Units.h"
#include "desk/render/CDrawContext.h"

#include <QDir>
#include <cmath>
#include <numbers>

using namespace desk;
using namespace desk::render;
using desk::scaleX;
using desk::scaleY;
using namespace desk::render::test;

namespace {

class SceneSnapshot : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(m_dir.Set(BILLIARDS_RESOURCE_DIR));
        for (const auto& sheet : media::pictureSheets())
            m_pictures.emplace_back(media::loadPicture(m_dir, sheet));
        for (int i = 0; i < media::kBallCount; ++i)
            m_balls.emplace_back(media::loadTexture(m_dir, media::ballFile(i)),
                                 TextureOptions{true, true, false});
    }
    CPicture& picture(media::PictureId id) { return m_pictures[std::size_t(id)]; }
    QPointF screen(float x, float y) { return CCamera::Project({x, y, 0.f}, m_width, m_height); }

    media::CMediaDirectory m_dir;
    std::vector<CPicture> m_pictures;
    std::vector<CGlTexture> m_balls;
};

// Turned about the world's y axis: shows one of the number discs from above.
void tilted(float angle, float rotation[9]) {
    const float c = std::cos(angle), s = std::sin(angle);
    const float r[9] = {c, 0, s, 0, 1, 0, -s, 0, c};
    std::copy(r, r + 9, rotation);
}

TEST_F(SceneSnapshot, ATableFrameFromTheGeneratedResources) {
    for (auto& p : m_pictures)
        ASSERT_FALSE(p.IsEmpty());
    CDrawContext draw(m_device);
    CMesh sphere(makeSphereMesh(1.f));
    CMesh cue(makeCueMesh());
    CGlTexture cueTexture(media::loadTexture(m_dir, media::kCueFile),
                          TextureOptions{true, true, true});
    CTextFace label(14, 7, 500);
    CTextFace banner(12, 6, 500);
    const int w = m_width, h = m_height;
    const QPointF unit(double(w) / 800, double(h) / 600);

    // A rack: the apex at x = 12.65, the cue ball behind the head string.
    std::vector<QVector3D> balls(16);
    const int order[15] = {0, 9, 2, 10, 7, 11, 4, 12, 5, 13, 3, 14, 6, 8, 1};
    int n = 0;
    for (int row = 0; row < 5; ++row)
        for (int k = 0; k <= row; ++k)
            balls[std::size_t(order[n++])] =
                QVector3D(12.65f + row * 1.7321f, 5.85f + (k - row / 2.f) * 2.0f, 1.f);
    balls[7] = QVector3D(balls[7].x(), balls[7].y(), 1.f);
    balls[15] = QVector3D(-13.35f, 3.f, 1.f);
    const float cueAngle = 0.08f;

    const QImage image = frame([&] {
        draw.Picture(picture(media::PictureId::Desk), 0, {0, 0}, unit);
        draw.Mesh(cue, cueModelMatrix(balls[15], cueAngle, 2.5f), &cueTexture, cueMaterial());
        const QPointF cueBall = screen(balls[15].x(), balls[15].y());
        draw.Strip(picture(media::PictureId::Line), 0, cueBall,
                   {std::cos(cueAngle), -std::sin(cueAngle)}, {330.0 / 64, 2.0 * h / 600},
                   0x7FFFFFFF);
        for (int i = 0; i < 16; ++i) {
            const QPointF p = screen(balls[std::size_t(i)].x(), balls[std::size_t(i)].y());
            const int s = scaleX(25, w);
            draw.Picture(picture(media::PictureId::Shade), 0,
                         QPointF(int(p.x()) - s / 2 + 3, int(p.y()) - s / 2 + 2),
                         {s / 32.0, scaleY(25, h) / 32.0}, 0x337F7F7F);
            float rotation[9];
            tilted(i % 2 ? 1.5708f : -1.5708f, rotation);
            draw.Mesh(sphere, ballModelMatrix(balls[std::size_t(i)], rotation),
                      &m_balls[std::size_t(i)], ballMaterial());
        }
        draw.Fill(QRect(scaleX(24, w), scaleY(484, h), scaleX(16, w), scaleY(100, h)), 0xFF794920);
        const int f = 1300 * scaleY(100, h) / 2000;
        draw.Picture(picture(media::PictureId::PowerFill), 0,
                     QPointF(scaleX(24, w), scaleY(484, h) + scaleY(100, h) - f),
                     {scaleX(11, w) / 32.0, f / 32.0});
        draw.Picture(picture(media::PictureId::Star), 0,
                     QPointF(scaleX(719, w) - 4 + 6, scaleY(520, h) - 4 - 5), unit);
        const QRect bannerRect(scaleX(160, w), scaleY(100, h), scaleX(445, w), scaleY(30, h));
        draw.Picture(picture(media::PictureId::List), 0, bannerRect.topLeft(),
                     {bannerRect.width() / 64.0, bannerRect.height() / 64.0}, 0x4CFFFFFF);
        draw.Text(banner, QString::fromUtf8("请击球"), bannerRect);
        draw.Text(label, QString::fromUtf8("张三"), QRect(80, 510, 200, 20));
        draw.Text(label, QString::fromUtf8("李四"), QRect(80, 526, 200, 20));
        draw.Picture(picture(media::PictureId::Marks), 0, {333, 510}, unit);
        draw.Picture(picture(media::PictureId::Marks), 1, {333, 526}, unit);
        draw.Picture(picture(media::PictureId::Marks), 2, {226, 510}, unit);
        draw.Text(label, QStringLiteral("3"), QRect(368, 510, 26, 20));
        draw.Text(label, QStringLiteral("1"), QRect(403, 510, 26, 20));
        draw.Text(label, QStringLiteral("2"), QRect(368, 526, 26, 20));
        draw.Text(label, QStringLiteral("0"), QRect(403, 526, 26, 20));
        // 01:15 in the clock field of loc 0.
        const int glyphs[5] = {0, 1, 10, 1, 5};
        for (int k = 0; k < 5; ++k)
            draw.Picture(picture(media::PictureId::Digits), glyphs[k],
                         QPointF((80 - 40) / 2 + 448 + 8 * k, (20 - 12.8) * 0.5 + 510),
                         {0.25, 0.4});
        // The target ring on ball 10 and its number.
        const QPointF target = screen(balls[9].x(), balls[9].y());
        draw.Picture(picture(media::PictureId::MaskBall), 0,
                     QPointF(target.x() - 16, target.y() - 16), unit, 0xFFB6C9B9);
        draw.Strip(picture(media::PictureId::Arrow), 0, target, {0.9, -0.4}, {2, 2}, 0x7FFFFFFF);
        draw.Picture(picture(media::PictureId::Light), 2, {556, 19}, {0.5, 0.5});
        draw.Flush();
    });
    if (const QByteArray path = qgetenv("DESK_SNAPSHOT"); !path.isEmpty())
        image.save(QString::fromLocal8Bit(path));

    // Cloth in the middle of the table, wood on the rail, the clear colour
    // where the table picture is keyed away, the band's power bar.
    const QRgb cloth = image.pixel(300, 300);
    EXPECT_GT(qGreen(cloth), qRed(cloth) + 30);
    EXPECT_EQ(image.pixel(2, 598), kClearColour);
    const QRgb rail = image.pixel(200, 30);
    EXPECT_GT(qRed(rail), qBlue(rail) + 20);
    EXPECT_EQ(image.pixel(30, 500), 0xFF794920u) << "above the fill";
    const QRgb fill = image.pixel(30, 570);
    EXPECT_GT(qRed(fill), 150);
    // The cue ball is white where the model puts it.
    const QPointF white = CCamera::Project(balls[15], w, h);
    EXPECT_GT(qGray(image.pixel(int(white.x()) - 4, int(white.y()) + 4)), 180);
}

} // namespace
