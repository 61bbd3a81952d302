#pragma once
// Positions for the brain's tests: every object ball waits in its tray slot,
// pocketed earlier, unless the test puts it on the table; the cue ball stands
// wherever the test says.

#include "desk/model/SphereRecords.h"
#include "desk/model/ViewGeometry.h"
#include "desk/physics/ShotEngine.h"
#include "tools/bot/brain/ShotBrain.h"

namespace bot::test {

class Position {
public:
    Position() {
        const desk::CViewGeometry view;
        for (int i = 0; i < desk::kBallCount; ++i) {
            const desk::WorldPoint slot = view.traySlot(i);
            records[static_cast<std::size_t>(i)] = desk::makeSphereRecord(
                i, slot.x, slot.y, desk::kPocketedEarlier, desk::startOrientation());
        }
    }
    Position& on(int ball, double x, double y) {
        records[static_cast<std::size_t>(ball)] =
            desk::makeSphereRecord(ball, x, y, desk::kOnTable, desk::startOrientation());
        return *this;
    }
    Position& cue(double x, double y) { return on(desk::kCueBall, x, y); }
    // The cue ball went down in the last shot: it waits where it dropped.
    Position& cuePocketed(double x, double y) {
        records[desk::kCueBall] = desk::makeSphereRecord(
            desk::kCueBall, x, y, desk::kPocketedThisShot, desk::startOrientation());
        return *this;
    }
    ShotRequest request(int group, bool inHand = false) const {
        ShotRequest r;
        r.balls = records;
        r.myGroup = group;
        r.ballInHand = inHand;
        return r;
    }
    desk::SphereRecords records{};
};

// Plays a choice the way a desk would after the authoritative balls arrive:
// the records, the cue ball placed when in hand, then the strike.
inline desk::ShotOutcome replay(const ShotRequest& request, const ShotChoice& choice) {
    desk::CShotEngine engine;
    engine.finishShot();
    engine.setMyGroup(request.myGroup);
    if (request.isBreak) {
        engine.placeRack(request.balls);
    } else {
        engine.placeFromRecords(request.balls);
        if (choice.placement)
            engine.placeCueBall(desk::fromInterface(choice.placement->x),
                                desk::fromInterface(choice.placement->y), true);
    }
    return engine.runShot(choice.strike);
}

// The fouls of a shot in play, read straight off the shot record.
inline bool fouled(const JudgeRecord& j) {
    bool potted = false;
    for (int i = 0; i < desk::kObjectBallCount; ++i)
        potted = potted || j.m_bGone[i] != 0;
    return j.m_bWhiteGone != 0 || j.m_bIsTouch_Nothing != 0 || j.m_bIsTouch_Other != 0 ||
           j.m_bOtherGone != 0 || (!potted && j.m_bIsTouch_No_Desk != 0);
}

} // namespace bot::test
