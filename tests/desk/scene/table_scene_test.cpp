// The table scene drawn offscreen and probed where a fault would show.
// Set DESK_SNAPSHOT_DIR=<dir> to keep the frames for looking at.

#include "desk/model/Balls.h"
#include "desk/scene/CTableScene.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/text/Gbk.h"

#include <QGuiApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace desk::scene {
namespace {

using control::DeskScene;
constexpr QRgb kClear = CTableScene::kClearColour;
constexpr QRgb kBar = CTableScene::kPowerBarColour;

// Largest difference of the three colour channels.
int distance(QRgb a, QRgb b) {
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                     std::abs(qBlue(a) - qBlue(b))});
}

// The pixels where two frames differ.
QRect differences(const QImage& a, const QImage& b) {
    QRect bounds;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (distance(a.pixel(x, y), b.pixel(x, y)) > 2)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

int darkPixels(const QImage& image, const QRect& area) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += qGray(image.pixel(x, y)) < 70;
    return n;
}

// A scene with nothing of the game in it: no balls, no cue, no input.
DeskScene emptyScene(int w, int h) {
    DeskScene s;
    s.width = w;
    s.height = h;
    s.status = DeskStatus::NoInput;
    s.spinMark = {-100, -100};
    return s;
}

void placeBall(DeskScene& s, int index, double x, double y) {
    control::SceneBall& b = s.balls[static_cast<std::size_t>(index)];
    b.shown = true;
    b.position = {x, y, kBallRadius};
    b.rotation = startOrientation();
}

class TableSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            GTEST_SKIP() << "needs a display with OpenGL (run under Xvfb)";
    }

    // A scene on the generated resources, or on a directory that holds nothing.
    CTableScene& make(int w, int h, bool withMedia = true) {
        media::CMediaDirectory dir;
        EXPECT_TRUE(dir.Set(withMedia ? BILLIARDS_RESOURCE_DIR : "/nonexistent/desk-res"));
        m_scene = std::make_unique<CTableScene>(render::CRenderDevice::Target::Offscreen);
        EXPECT_TRUE(m_scene->Create(m_owner.get(), w, h, dir));
        return *m_scene;
    }
    QImage draw(const DeskScene& s, const char* keep = nullptr) {
        m_scene->Render(s);
        QImage frame = m_scene->LastFrame();
        if (const QByteArray dir = qgetenv("DESK_SNAPSHOT_DIR"); keep && !dir.isEmpty())
            frame.save(QString::fromLocal8Bit(dir) + "/" + keep + ".png");
        return frame;
    }

    platform::CScopedMessageBoxHook m_boxes;
    std::unique_ptr<QWidget> m_owner = std::make_unique<QWidget>();
    std::unique_ptr<CTableScene> m_scene;
};

TEST_F(TableSceneTest, TheClearColourShowsWhereNothingIsDrawn) {
    make(800, 600, false);
    const QImage bare = draw(emptyScene(800, 600));
    for (const QPoint p : {QPoint(0, 0), QPoint(300, 300), QPoint(799, 599), QPoint(700, 50)})
        EXPECT_EQ(bare.pixel(p), kClear) << p.x() << "," << p.y();

    // The table picture is keyed clear in its corners.
    make(800, 600);
    const QImage table = draw(emptyScene(800, 600), "empty_table");
    EXPECT_EQ(table.pixel(2, 598), kClear);
    EXPECT_GT(qGreen(table.pixel(300, 300)), qRed(table.pixel(300, 300)) + 30) << "cloth";
    EXPECT_EQ(m_boxes.count(), 0u);
}

// A ball is drawn where the model puts it, in its own colours; without its
// picture it is drawn in the plain lit material.
TEST_F(TableSceneTest, ABallAtItsScreenPosition) {
    const CViewGeometry view(800, 600);
    DeskScene s = emptyScene(800, 600);
    placeBall(s, 4, 10.0, 5.0); // the orange 5
    const ScreenPoint p = view.worldToScreen(10.0, 5.0);
    const QPoint centre(int(p.x), int(p.y));

    make(800, 600, false);
    const QImage plain = draw(s);
    EXPECT_GT(qGray(plain.pixel(centre)), 150) << "lit material";
    EXPECT_NE(plain.pixel(centre), kClear);
    // The ball's disc is about 13 pixels in radius; beyond it, towards the
    // light (the shadow falls the other way), the clear colour.
    EXPECT_EQ(plain.pixel(centre + QPoint(-18, -18)), kClear);

    make(800, 600);
    const QImage table = draw(emptyScene(800, 600));
    const QImage coloured = draw(s, "one_ball");
    int orange = 0;
    for (int dy = -8; dy <= 8; dy += 4)
        for (int dx = -8; dx <= 8; dx += 4) {
            const QRgb c = coloured.pixel(centre + QPoint(dx, dy));
            orange += qRed(c) > 170 && qGreen(c) > 50 && qGreen(c) < qRed(c) - 40 && qBlue(c) < 90;
        }
    EXPECT_GE(orange, 12) << "of 25 samples on the ball";
    const QRect changed = differences(table, coloured);
    EXPECT_TRUE(changed.contains(centre));
    EXPECT_LE(changed.width(), 34) << "a ball and its shadow, nothing else";
    EXPECT_LE(changed.height(), 34);
}

TEST_F(TableSceneTest, PowerFillGrowsFromTheBottomOfTheBar) {
    make(800, 600);
    DeskScene s = emptyScene(800, 600);
    s.status = DeskStatus::Aiming;
    s.turnLoc = 0;
    s.power = 1000;
    const QImage half = draw(s, "power_1000");
    // The bar is a solid rectangle; the fill covers 11 × 50 of it from y = 534.
    EXPECT_EQ(half.pixel(30, 500), kBar);
    EXPECT_EQ(half.pixel(30, 533), kBar);
    EXPECT_EQ(half.pixel(35, 560), kBar) << "right of the fill";
    EXPECT_EQ(half.pixel(39, 583), kBar);
    for (const QPoint p :
         {QPoint(24, 534), QPoint(34, 534), QPoint(24, 583), QPoint(34, 583), QPoint(30, 560)})
        EXPECT_GT(distance(half.pixel(p), kBar), 40) << p.x() << "," << p.y();

    s.power = 0;
    const QImage none = draw(s);
    EXPECT_EQ(none.pixel(30, 560), kBar) << "the bar shows while aiming";

    // Not the local player's turn: no bar.
    s.turnLoc = 1;
    EXPECT_NE(draw(s).pixel(30, 560), kBar);
}

TEST_F(TableSceneTest, TurnClockGlyphs) {
    make(800, 600);
    DeskScene s = emptyScene(800, 600);
    s.turnLoc = 0;
    s.clockSeconds = 0;
    const QImage nothing = draw(s);
    s.clockSeconds = 75;
    const QImage at0115 = draw(s, "clock_0115");
    s.clockSeconds = 15;
    const QImage at0015 = draw(s);

    // 01:15: five glyphs of 8 × 12.8 from x = 468 in the 20-pixel row at 510.
    const QRect glyphs = differences(nothing, at0115);
    EXPECT_GE(glyphs.left(), 468);
    EXPECT_LE(glyphs.right(), 507);
    EXPECT_GE(glyphs.top(), 513);
    EXPECT_LE(glyphs.bottom(), 526);
    for (int k = 0; k < 5; ++k)
        EXPECT_FALSE(
            differences(nothing.copy(468 + 8 * k, 510, 8, 20), at0115.copy(468 + 8 * k, 510, 8, 20))
                .isEmpty())
            << "glyph " << k;
    // 00:15 differs from 01:15 in the minutes' units alone.
    const QRect minute = differences(at0015, at0115);
    EXPECT_GE(minute.left(), 476);
    EXPECT_LE(minute.right(), 483);

    // The other player's clock runs in the row below.
    s.turnLoc = 1;
    s.clockSeconds = 75;
    const QRect below = differences(nothing, draw(s));
    EXPECT_GE(below.top(), 526 + 3);
    EXPECT_LE(below.bottom(), 546);
}

TEST_F(TableSceneTest, StartButtonOnALargerClient) {
    make(1024, 768);
    DeskScene s = emptyScene(1024, 768);
    const QImage without = draw(s);
    s.status = DeskStatus::BeforeGame;
    const QImage with = draw(s, "start_button_1024");
    const QRect button = differences(without, with);
    // The 64 × 32 picture stretched by 1.28 from (512, 320).
    EXPECT_GE(button.left(), 512);
    EXPECT_GE(button.top(), 320);
    EXPECT_LE(button.right(), 593);
    EXPECT_LE(button.bottom(), 360);
    EXPECT_GE(button.width(), 70);
    EXPECT_GE(button.height(), 30);

    // A ready player gets the ready mark instead.
    s.players[0].ready = true;
    const QRect mark = differences(without, draw(s));
    EXPECT_GE(mark.left(), 289);
    EXPECT_GE(mark.top(), 652);
    EXPECT_LE(mark.right(), 289 + 20);
    EXPECT_LE(mark.bottom(), 652 + 21);
}

// Without any resource file the desk still shows the clear colour, its texts
// and the power bar, and says nothing.
TEST_F(TableSceneTest, AMissingMediaDirectoryStillDrawsTextsAndTheBar) {
    make(800, 600, false);
    DeskScene s = emptyScene(800, 600);
    s.status = DeskStatus::Aiming;
    s.turnLoc = 0;
    s.power = 1000;
    s.banner = {true, platform::gbk::fromUtf8("请练习者开始击球")};
    s.players[0].name = platform::gbk::fromUtf8("张三");
    s.players[0].score = 7;
    const QImage frame = draw(s, "no_media");
    EXPECT_EQ(frame.pixel(300, 300), kClear);
    EXPECT_EQ(frame.pixel(30, 500), kBar);
    EXPECT_EQ(frame.pixel(30, 560), kBar) << "no fill picture";
    EXPECT_GT(darkPixels(frame, QRect(160, 100, 445, 30)), 20) << "banner text";
    EXPECT_GT(darkPixels(frame, QRect(80, 510, 200, 20)), 10) << "name";
    EXPECT_GT(darkPixels(frame, QRect(368, 510, 26, 20)), 3) << "score";
    EXPECT_EQ(darkPixels(frame, QRect(80, 200, 300, 100)), 0);
    EXPECT_EQ(m_boxes.count(), 0u);
}

TEST_F(TableSceneTest, ScoreListKeepsItsPlaceAtAnySize) {
    make(1024, 768);
    DeskScene s = emptyScene(1024, 768);
    const QImage without = draw(s);
    s.scoreList.shown = true;
    s.scoreList.rowCount = 2;
    std::strcpy(s.scoreList.rows[0].m_szNickname, "Ann");
    s.scoreList.rows[0].m_nGameScore = 12;
    std::memset(s.scoreList.rows[1].m_szNickname, 'B', sizeof(s.scoreList.rows[1].m_szNickname));
    const QImage with = draw(s, "score_list_1024");
    EXPECT_EQ(differences(without, with), QRect(220, 120, 310, 96));
    EXPECT_GT(darkPixels(with, QRect(220, 152, 100, 30)), 5) << "the first name";
    EXPECT_GT(darkPixels(with, QRect(220, 184, 100, 30)), 5) << "an unterminated name, bounded";
}

// Display variant 1 draws a broad aim band and the target arrow; variant 2
// a thin line and no arrow.
TEST_F(TableSceneTest, DisplayVariants) {
    make(800, 600);
    const CViewGeometry view(800, 600);
    DeskScene s = emptyScene(800, 600);
    placeBall(s, kCueBall, -15.0, 0.0);
    placeBall(s, 2, 10.0, 0.0);
    s.cue.angle = 0.0;
    s.aimLine = {true, {-15.0, 0.0}, {5.0, 0.0}};
    s.targetBall = 2;
    s.targetLegal = true;
    s.arrow = {true, {10.0, 0.0}, {60.0, 0.0}};
    const QImage bare = [&] {
        DeskScene none = s;
        none.aimLine.shown = false;
        none.arrow.shown = false;
        return draw(none);
    }();
    const QImage broad = draw(s, "variant_1");
    s.subtype = 2;
    const QImage thin = draw(s, "variant_2");

    const int lineX = int(view.worldToScreen(-5.0, 0.0).x);
    const QRect broadCut = differences(bare.copy(lineX, 0, 1, 600), broad.copy(lineX, 0, 1, 600));
    const QRect thinCut = differences(bare.copy(lineX, 0, 1, 600), thin.copy(lineX, 0, 1, 600));
    EXPECT_GE(broadCut.height(), 3 * thinCut.height());
    EXPECT_LE(thinCut.height(), 9);
    EXPECT_GE(thinCut.height(), 1);

    const int arrowX = int(view.worldToScreen(17.0, 0.0).x);
    EXPECT_FALSE(
        differences(bare.copy(arrowX, 0, 1, 600), broad.copy(arrowX, 0, 1, 600)).isEmpty());
    EXPECT_TRUE(differences(bare.copy(arrowX, 0, 1, 600), thin.copy(arrowX, 0, 1, 600)).isEmpty());

    // An arrow pointing back against the aim is not drawn.
    s.subtype = 1;
    s.arrow.tip = {-40.0, 0.0};
    const int backX = int(view.worldToScreen(4.0, 0.0).x);
    DeskScene noArrow = s;
    noArrow.arrow.shown = false;
    EXPECT_TRUE(differences(draw(noArrow).copy(backX, 0, 1, 600), draw(s).copy(backX, 0, 1, 600))
                    .isEmpty());
}

// Pocket-light frames are drawn at half their size from the top-left of
// their field, scaled with the window only in where the field lies; the
// ring of a ball that is no legal target is tinted.
TEST_F(TableSceneTest, PocketLightsAndTheTargetRing) {
    make(1024, 768);
    DeskScene s = emptyScene(1024, 768);
    const QImage bare = draw(s);
    s.pocketLights[3] = {true, 4};
    const QRect light = differences(bare, draw(s, "pocket_light_3"));
    ASSERT_FALSE(light.isEmpty());
    EXPECT_TRUE(QRect(714, 366, 100, 100).contains(light)) << "field (714, 366), 100 × 100";
    EXPECT_GT(light.width(), 60) << "the last, largest frame";

    s = emptyScene(1024, 768);
    placeBall(s, 8, 0.0, 0.0);
    s.targetBall = 8;
    s.targetLegal = true;
    const QImage legal = draw(s);
    s.targetLegal = false;
    const QImage tinted = draw(s, "target_tinted");
    const QRect ring = differences(legal, tinted);
    const ScreenPoint c = CViewGeometry(1024, 768).worldToScreen(0.0, 0.0);
    // 32 × 32 stretched by 1.28 round the ball's centre (within a pixel).
    EXPECT_TRUE(QRect(int(c.x) - 21, int(c.y) - 21, 43, 43).contains(ring));
    EXPECT_FALSE(ring.isEmpty());
}

TEST_F(TableSceneTest, PointerPicturesBecomeTheControlsPointer) {
    CTableScene& scene = make(800, 600);
    scene.SetPointerPicture(1);
    EXPECT_EQ(m_owner->cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(m_owner->cursor().hotSpot(), QPoint(15, 15));
    EXPECT_EQ(m_owner->cursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
              scene.PointerImage(1));
    scene.SetPointerPicture(2);
    EXPECT_EQ(m_owner->cursor().pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
              scene.PointerImage(2));
    scene.SetPointerPicture(0);
    EXPECT_EQ(m_owner->cursor().shape(), Qt::ArrowCursor) << "the system arrow again";
    EXPECT_EQ(scene.PointerPicture(), 0);
}

// A lost device is recovered inside the frame; the next frame has the cue,
// the balls and every text again.
TEST_F(TableSceneTest, ALostDeviceIsRecoveredWithEverythingIntact) {
    CTableScene& scene = make(800, 600);
    scene.Device().SetSleep([](int) {});
    DeskScene s = emptyScene(800, 600);
    placeBall(s, kCueBall, -15.0, 0.0);
    s.cue = {true, {-15.0, 0.0, 1.0}, 0.3, 2.0};
    s.banner = {true, platform::gbk::fromUtf8("请击球")};
    s.players[0].name = "Ann";
    const QImage before = draw(s);
    scene.Device().SimulateLoss();
    draw(s); // finds the device lost and recovers
    EXPECT_EQ(scene.Device().GetState(), render::CRenderDevice::State::Ready);
    EXPECT_TRUE(differences(before, draw(s)).isEmpty());
    EXPECT_EQ(m_boxes.count(), 0u);
}

} // namespace
} // namespace desk::scene
