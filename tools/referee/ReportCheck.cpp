#include "tools/referee/ReportCheck.h"

#include "desk/model/CuePlacement.h"
#include "desk/model/TableLayout.h"
#include "desk/model/Units.h"
#include "desk/model/ViewGeometry.h"

#include <cmath>
#include <cstdlib>

namespace referee {

using desk::kBallCount;
using desk::kBallRadius;
using desk::kCueBall;
using desk::kObjectBallCount;
using desk::kOnTable;
using desk::kPocketedEarlier;
using desk::kPocketedThisShot;

namespace {

// A position read back from a record and written again can move by a
// unit or so of the interface; a few units cover every such round trip.
constexpr int32_t kTrayXTolerance = 20;
// The tray row sits lower or higher with the window's proportions.
constexpr double kTrayYTolerance = 2.0;
// Balls come to rest in the pocket mouths, beyond the playing rectangle.
constexpr double kCushionMargin = 1.5;
// The engine lets resting balls sink into each other by a few thousandths.
constexpr double kOverlapTolerance = 0.05;
// Where the cue ball is tested against a pocket zone, the interface's
// truncation may have moved it just across the zone's edge.
constexpr double kPocketTolerance = 0.001;

double world(int32_t v) {
    return v / desk::kInterfaceScale;
}

CheckResult problem(ReportProblem p, int ball = -1) {
    return {p, ball};
}

bool inPocket(double x, double y) {
    static const desk::CTableLayout layout;
    for (int k = 0; k < desk::kPocketCount; ++k) {
        const desk::Rect& z = layout.pocketZone(k);
        if (x >= z.left - kPocketTolerance && x <= z.right + kPocketTolerance &&
            y >= z.bottom - kPocketTolerance && y <= z.top + kPocketTolerance)
            return true;
    }
    return false;
}

bool onTable(double x, double y) {
    const desk::Rect& r = desk::CTableLayout::playingRect();
    return x >= r.left - kCushionMargin && x <= r.right + kCushionMargin &&
           y >= r.bottom - kCushionMargin && y <= r.top + kCushionMargin;
}

int pocketedObjectBalls(const desk::BallStatuses& before, const desk::SphereRecords& reported) {
    int n = 0;
    for (int i = 0; i < kObjectBallCount; ++i)
        if (before[static_cast<std::size_t>(i)] == kOnTable &&
            reported[static_cast<std::size_t>(i)].m_nStatus == kPocketedThisShot)
            ++n;
    return n;
}

} // namespace

const char* ReportProblemName(ReportProblem p) {
    switch (p) {
    case ReportProblem::None:
        return "none";
    case ReportProblem::BadStatus:
        return "bad status";
    case ReportProblem::BackOnTable:
        return "pocketed ball back on the table";
    case ReportProblem::NotInTray:
        return "pocketed ball outside its tray slot";
    case ReportProblem::CueBallNotInPocket:
        return "pocketed cue ball outside the pockets";
    case ReportProblem::OffTable:
        return "ball outside the cushions";
    case ReportProblem::Overlap:
        return "balls inside each other";
    case ReportProblem::BadJudge:
        return "judging values contradict the balls";
    case ReportProblem::BadPlacement:
        return "illegal cue-ball placement";
    }
    return "?";
}

CheckResult CheckBalls(const desk::BallStatuses& before, const desk::SphereRecords& reported) {
    const desk::CViewGeometry view;
    for (int i = 0; i < kBallCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const SphereRecord& r = reported[k];
        const int16_t s = r.m_nStatus;
        if (s != kOnTable && s != kPocketedEarlier && s != kPocketedThisShot)
            return problem(ReportProblem::BadStatus, i);
        if (i == kCueBall) {
            // The strike puts the cue ball on the table, whatever it was.
            if (s == kPocketedEarlier)
                return problem(ReportProblem::BadStatus, i);
            if (s == kPocketedThisShot && !inPocket(world(r.m_nX), world(r.m_nY)))
                return problem(ReportProblem::CueBallNotInPocket, i);
            continue;
        }
        // Statuses only move forward: on the table → pocketed now → earlier.
        if (before[k] != kOnTable && s != kPocketedEarlier)
            return problem(before[k] != kOnTable && s == kOnTable ? ReportProblem::BackOnTable
                                                                  : ReportProblem::BadStatus,
                           i);
        if (before[k] == kOnTable && s == kPocketedEarlier)
            return problem(ReportProblem::BadStatus, i);
        if (s != kOnTable) {
            const desk::WorldPoint slot = view.traySlot(i);
            if (std::abs(int64_t(r.m_nX) - desk::toInterface(slot.x)) > kTrayXTolerance ||
                std::fabs(world(r.m_nY) - slot.y) > kTrayYTolerance)
                return problem(ReportProblem::NotInTray, i);
        }
    }
    for (int i = 0; i < kBallCount; ++i) {
        const SphereRecord& a = reported[static_cast<std::size_t>(i)];
        if (a.m_nStatus != kOnTable)
            continue;
        if (!onTable(world(a.m_nX), world(a.m_nY)))
            return problem(ReportProblem::OffTable, i);
        for (int j = i + 1; j < kBallCount; ++j) {
            const SphereRecord& b = reported[static_cast<std::size_t>(j)];
            if (b.m_nStatus != kOnTable)
                continue;
            const double d =
                std::hypot(world(a.m_nX) - world(b.m_nX), world(a.m_nY) - world(b.m_nY));
            if (d < 2 * kBallRadius - kOverlapTolerance)
                return problem(ReportProblem::Overlap, i);
        }
    }
    return {};
}

CheckResult CheckBreakJudge(const desk::BallStatuses& before, const desk::SphereRecords& reported,
                            int firstPocketed, int cushionBalls) {
    if (cushionBalls < 0 || cushionBalls > kObjectBallCount)
        return problem(ReportProblem::BadJudge);
    const int down = pocketedObjectBalls(before, reported);
    if (firstPocketed == -1)
        return down == 0 ? CheckResult{} : problem(ReportProblem::BadJudge);
    if (firstPocketed < 0 || firstPocketed >= kObjectBallCount ||
        reported[static_cast<std::size_t>(firstPocketed)].m_nStatus != kPocketedThisShot)
        return problem(ReportProblem::BadJudge, firstPocketed);
    return {};
}

CheckResult CheckShotJudge(const desk::BallStatuses& before, const desk::SphereRecords& reported,
                           int touchedNothing, int touchedMyself, int noCushion) {
    const auto flag = [](int v) { return v == 0 || v == 1; };
    if (!flag(touchedNothing) || !flag(touchedMyself) || !flag(noCushion))
        return problem(ReportProblem::BadJudge);
    // A cue ball that touched nothing cannot have sent a ball down.
    if (touchedNothing == 1 && pocketedObjectBalls(before, reported) > 0)
        return problem(ReportProblem::BadJudge);
    return {};
}

CheckResult CheckCuePlacement(const desk::SphereRecords& records, int32_t x, int32_t y) {
    // A window of another size maps its pixel area onto nearly the same
    // world rectangle; a little slack keeps such desks legal.
    constexpr double kSlack = 0.25;
    constexpr double kClearanceSlack = -1e-4;
    const desk::Rect area = desk::cuePlacementArea();
    const double wx = desk::fromInterface(x);
    const double wy = desk::fromInterface(y);
    if (!(wx >= area.left - kSlack && wx <= area.right + kSlack && wy >= area.bottom - kSlack &&
          wy <= area.top + kSlack))
        return problem(ReportProblem::BadPlacement, kCueBall);
    // Every object ball where the desks hold it, as the desk's own test
    // sees them: a pocketed ball waits in its tray slot and never blocks.
    desk::BallCentres centres;
    for (int i = 0; i < kObjectBallCount; ++i) {
        const SphereRecord& b = records[static_cast<std::size_t>(i)];
        centres[static_cast<std::size_t>(i)] = {desk::fromInterface(b.m_nX),
                                                desk::fromInterface(b.m_nY)};
    }
    if (!desk::clearOfBalls(centres, {wx, wy}, kClearanceSlack))
        return problem(ReportProblem::BadPlacement);
    return {};
}

} // namespace referee
