#pragma once
// Positions for the brain's tests: every object ball waits in its tray slot,
// pocketed earlier, unless the test puts it on the table; the cue ball stands
// wherever the test says.

#include "desk/model/SphereRecords.h"
#include "desk/model/ViewGeometry.h"
#include "desk/physics/ShotEngine.h"
#include "tools/bot/brain/ShotBrain.h"
#include "tools/referee/EightBallReferee.h"
#include "tools/referee/ReportJudge.h"

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
        r.position = referee::CTablePosition::AfterShot(records);
        r.myGroup = group;
        r.ballInHand = inHand;
        return r;
    }
    desk::SphereRecords records{};
};

// Plays a choice the way every desk of the table replays it.
inline desk::ShotOutcome replay(const ShotRequest& request, const ShotChoice& choice) {
    desk::CShotEngine engine;
    return referee::ReplayShot(engine, positionOf(request, choice),
                               request.isBreak ? desk::kOpenTable : request.myGroup, choice.strike);
}

// Whether the table's referee calls the played shot a foul.
inline bool fouled(const ShotRequest& request, const ShotChoice& choice,
                   const desk::ShotOutcome& out) {
    referee::CEightBallReferee r;
    r.Resume(0, request.myGroup, request.chances, positionOf(request, choice).Statuses(),
             request.isBreak);
    const referee::ShotFacts facts = referee::FactsOf(out);
    return (request.isBreak ? r.Break(facts) : r.Shot(facts)).IsFoul();
}

} // namespace bot::test
