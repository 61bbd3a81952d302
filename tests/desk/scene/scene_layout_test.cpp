#include "desk/scene/SceneLayout.h"

#include <gtest/gtest.h>

namespace desk::scene {
namespace {

// The fields of the bottom band at the design size and at 1024 × 768, where
// every value goes through the integer scaling (e.g. 510 × 768 / 600 = 652).
TEST(SceneLayout, PlayerPanelFieldsScaleWithTheWindow) {
    struct Case {
        int w, h, loc;
        PixelBox name, group, score, chances, clock, ready;
    };
    const Case cases[] = {
        {800,
         600,
         0,
         {80, 510, 280, 530},
         {333, 510, 359, 530},
         {368, 510, 394, 530},
         {403, 510, 429, 530},
         {448, 510, 528, 530},
         {226, 510, 242, 530}},
        {800,
         600,
         1,
         {80, 526, 280, 546},
         {333, 526, 359, 546},
         {368, 526, 394, 546},
         {403, 526, 429, 546},
         {448, 526, 528, 546},
         {226, 526, 242, 546}},
        {1024,
         768,
         0,
         {102, 652, 358, 678},
         {426, 652, 459, 678},
         {470, 652, 503, 678},
         {514, 652, 547, 678},
         {571, 652, 651, 678},
         {289, 652, 309, 678}},
        {1024,
         768,
         1,
         {102, 672, 358, 698},
         {426, 672, 459, 698},
         {470, 672, 503, 698},
         {514, 672, 547, 698},
         {571, 672, 651, 698},
         {289, 672, 309, 698}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " loc " << c.loc);
        const CSceneLayout layout(c.w, c.h);
        EXPECT_EQ(layout.nameField(c.loc), c.name);
        EXPECT_EQ(layout.groupField(c.loc), c.group);
        EXPECT_EQ(layout.scoreField(c.loc), c.score);
        EXPECT_EQ(layout.chancesField(c.loc), c.chances);
        EXPECT_EQ(layout.clockField(c.loc), c.clock);
        EXPECT_EQ(layout.readyField(c.loc), c.ready);
    }
}

TEST(SceneLayout, ButtonBannerBarAndLightsScale) {
    const CSceneLayout design(800, 600);
    EXPECT_EQ(design.startButton(), (PixelBox{400, 250, 464, 282}));
    EXPECT_EQ(design.banner(), (PixelBox{160, 100, 605, 130}));
    EXPECT_EQ(design.powerBar(), (PixelBox{24, 484, 40, 584}));
    EXPECT_EQ(design.pocketLightField(1), (PixelBox{255, 11, 305, 61}));

    const CSceneLayout large(1024, 768);
    EXPECT_EQ(large.startButton(), (PixelBox{512, 320, 593, 360}));
    EXPECT_EQ(large.banner(), (PixelBox{204, 128, 774, 166}));
    EXPECT_EQ(large.pocketLightField(3), (PixelBox{714, 366, 778, 430}));
    EXPECT_TRUE(large.pocketLightField(6).empty());
    EXPECT_TRUE(large.pocketLightField(-1).empty());

    // No window yet: the design size, never a division by zero.
    EXPECT_EQ(CSceneLayout(0, 0).startButton(), design.startButton());
}

TEST(SceneLayout, PowerFillGrowsFromTheBottomOfTheBar) {
    const CSceneLayout layout(800, 600);
    EXPECT_EQ(layout.powerFill(1000), (PixelBox{24, 534, 35, 584})); // 11 × 50
    EXPECT_EQ(layout.powerFill(2000), (PixelBox{24, 484, 35, 584}));
    EXPECT_EQ(layout.powerFill(19), PixelBox{}) << "less than a pixel";
    EXPECT_EQ(layout.powerFill(20), (PixelBox{24, 583, 35, 584}));
    EXPECT_TRUE(layout.powerFill(0).empty());
    EXPECT_TRUE(layout.powerFill(-5).empty());
    EXPECT_EQ(layout.powerFill(99999), layout.powerFill(2000)) << "held at full power";

    const CSceneLayout small(624, 468);
    EXPECT_EQ(small.powerFill(1000), (PixelBox{18, 416, 26, 455})); // bar 78 high, 39 filled
}

TEST(SceneLayout, TurnClockGlyphs) {
    const CSceneLayout layout(800, 600);
    struct Case {
        int seconds;
        int frames[5];
    };
    for (const Case& c : {Case{75, {0, 1, 10, 1, 5}}, Case{9, {0, 0, 10, 0, 9}},
                          Case{600, {1, 0, 10, 0, 0}}, Case{6000, {0, 0, 10, 0, 0}}}) {
        SCOPED_TRACE(c.seconds);
        const auto glyphs = layout.clockGlyphs(0, c.seconds);
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(glyphs[k].frame, c.frames[k]) << k;
            // Centred in the 80-pixel field: 20 + 448, 8 pixels apart.
            EXPECT_EQ(glyphs[k].left, 468 + 8 * k);
            EXPECT_DOUBLE_EQ(glyphs[k].top, 513.6);
        }
    }
    // The other player's clock sits in the row below, the glyphs unscaled.
    const auto below = CSceneLayout(1024, 768).clockGlyphs(1, 75);
    EXPECT_EQ(below[0].left, 571 + 20);
    EXPECT_DOUBLE_EQ(below[0].top, (26 - 12.8) * 0.5 + 672);
}

// The shadow is pushed away from the light over the table's centre
// (cx 396, cy 225 at 800 × 600): by 1/40 and 1/30 of the distance, or
// 1/60 and 1/40 for a cue ball held in hand.
TEST(SceneLayout, ShadowsFallAwayFromTheLight) {
    const CSceneLayout layout(800, 600);
    EXPECT_EQ(layout.lightCentre(), (CSceneLayout::Point{396, 225}));
    struct Case {
        ScreenPoint centre;
        bool byHand;
        CSceneLayout::Point topLeft;
    };
    const Case cases[] = {
        {{389.9, 225.9}, false, {377, 213}},         // under the light: straight below
        {{109.0, 105.0}, false, {97 - 7, 93 - 4}},   // up and left
        {{669.0, 345.0}, false, {657 + 6, 333 + 4}}, // down and right
        {{109.0, 105.0}, true, {97 - 4, 93 - 3}},    // in hand: shorter
        {{388.0, 226.0}, false, {376 - 0, 214 + 0}}, // one pixel off: no push
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.centre.x << "," << c.centre.y << " " << c.byHand);
        EXPECT_EQ(layout.shadowTopLeft(c.centre, c.byHand), c.topLeft);
    }
    EXPECT_EQ(CSceneLayout(1024, 768).shadowWidth(), 32);
}

TEST(SceneLayout, ScoreListKeepsItsPixels) {
    using G = ScoreListGeometry;
    EXPECT_EQ(G::Frame(), (PixelBox{220, 120, 530, 216}));
    EXPECT_EQ(G::Cell(0, 0), (PixelBox{220, 120, 320, 150}));
    EXPECT_EQ(G::Cell(0, 4), (PixelBox{470, 120, 520, 150}));
    EXPECT_EQ(G::Cell(1, 1), (PixelBox{320, 152, 370, 182}));
    EXPECT_EQ(G::Cell(2, 2), (PixelBox{370, 184, 420, 214}));
    EXPECT_EQ(G::VerticalRule(0), (PixelBox{320, 120, 322, 216}));
    EXPECT_EQ(G::VerticalRule(3), (PixelBox{470, 120, 472, 210}));
    EXPECT_EQ(G::HorizontalRule(0), (PixelBox{220, 150, 530, 152}));
    EXPECT_EQ(G::HorizontalRule(1), (PixelBox{220, 182, 530, 184}));
}

} // namespace
} // namespace desk::scene
