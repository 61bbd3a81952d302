#pragma once
// Everything one frame of the desk shows, copied out of the control's state
// when a frame is due. The renderer draws from this value alone and never
// reaches into the control, the engine or the shot worker, so a frame drawn
// while a shot runs sees one consistent step.
//
// Positions are world units (the renderer converts them with the view
// geometry of the table size); marks are window pixels; texts are GBK bytes.

#include "desk/control/Desk.h"
#include "desk/model/Balls.h"
#include "desk/model/ViewGeometry.h"
#include "desk/physics/PhysicsWorld.h"

#include <QImage>
#include <array>
#include <cstdint>
#include <string>

namespace desk::control {

struct PixelPoint {
    int x = 0;
    int y = 0;
    bool operator==(const PixelPoint&) const = default;
};

struct SceneBall {
    bool shown = false; // in play and visible
    Vec3 position;      // centre, world units
    Rotation rotation{};
    int16_t status = kOnTable;
    // Put at a point by hand (ball in hand): its shadow is pushed less.
    bool placedByHand = false;
};

struct SceneCue {
    bool shown = false;
    Vec3 ballPoint;        // the cue ball's centre the stick points at
    double angle = 0;      // radians: the world direction the cue ball will be driven
    double pullBack = 1.0; // 1 … 6 world units between the tip and the ball centre
};

// From the cue ball to the pointer.
struct SceneAimLine {
    bool shown = false;
    WorldPoint from;
    WorldPoint to;
};

// The path the target ball would take: drawn from the ball's centre towards
// `tip`, 50 units beyond the ball on the side away from the pointer.
struct SceneArrow {
    bool shown = false;
    WorldPoint ball;
    WorldPoint tip;
};

struct ScenePlayer {
    std::string name; // GBK
    int16_t score = 0;
    int16_t chances = 0;
    bool ready = false;
};

struct SceneBanner {
    bool shown = false;
    std::string text; // GBK
};

struct SceneScoreList {
    bool shown = false;
    int rowCount = 0; // 0 … 2
    std::array<CScoreListItem, 2> rows{};
};

struct ScenePocketLight {
    bool shown = false;
    int frame = 0; // 0 … 4
};

struct DeskScene {
    int width = 0; // client size given to InitTable
    int height = 0;

    int16_t status = DeskStatus::BeforeGame;
    bool watching = false;
    bool shotRunning = false;
    int turnLoc = -1;     // whose clock runs, −1 none
    int clockSeconds = 0; // seconds counted in the current turn; 0 shows nothing
    int myGroup = kOpenTable;
    int16_t subtype = 1; // display variant of the aim line and arrow
    int32_t deskStyle = 0;

    std::array<SceneBall, kBallCount> balls{};
    SceneCue cue;
    SceneAimLine aimLine;
    SceneArrow arrow;
    int targetBall = -1;      // ball under the pointer, −1 none
    bool targetLegal = false; // a legal first target for the local player

    int power = 0;       // 0 … 2000
    PixelPoint spinMark; // top-left of the spin mark
    std::array<ScenePlayer, 2> players{};
    SceneBanner banner;
    SceneScoreList scoreList;
    std::array<ScenePocketLight, 6> pocketLights{};

    QImage background; // the host's picture behind the table, null for none
};

} // namespace desk::control
