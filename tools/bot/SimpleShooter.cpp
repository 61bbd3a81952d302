#include "tools/bot/SimpleShooter.h"

#include "desk/model/StandardRack.h"
#include "desk/model/TableLayout.h"
#include "desk/model/Units.h"
#include "tools/referee/ReportCheck.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace bot {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

struct Point {
    double x = 0;
    double y = 0;
};

Point ballAt(const desk::SphereRecords& r, int i) {
    return {desk::fromInterface(r[static_cast<std::size_t>(i)].m_nX),
            desk::fromInterface(r[static_cast<std::size_t>(i)].m_nY)};
}

std::vector<Point> pocketCentres() {
    static const desk::CTableLayout layout;
    std::vector<Point> out;
    for (int k = 0; k < desk::kPocketCount; ++k) {
        const desk::Rect& z = layout.pocketZone(k);
        out.push_back({(z.left + z.right) / 2, (z.bottom + z.top) / 2});
    }
    return out;
}

} // namespace

int32_t ArcTowards(double dx, double dy) {
    double a = std::atan2(dy, dx);
    if (a > 0)
        a -= kTwoPi;
    return desk::toInterface(a);
}

CSimpleShooter::CSimpleShooter(int level, uint32_t seed)
    : m_nLevel(std::clamp(level, 1, 5)), m_rng(seed) {}

desk::Strike CSimpleShooter::withNoise(desk::Strike s) {
    // Standard deviation of the aim in radians by level.
    static constexpr double kNoise[] = {0.06, 0.03, 0.012, 0.004, 0.0};
    const double sigma = kNoise[m_nLevel - 1];
    if (sigma > 0) {
        std::normal_distribution<double> noise(0.0, sigma);
        s.arc = desk::toInterface(desk::fromInterface(s.arc) + noise(m_rng));
    }
    return s;
}

int CSimpleShooter::Score(const desk::ShotOutcome& out, const desk::BallStatuses& before,
                          int group) {
    const auto down = [&](int i) {
        return before[static_cast<std::size_t>(i)] == desk::kOnTable &&
               out.balls[static_cast<std::size_t>(i)].m_nStatus == desk::kPocketedThisShot;
    };
    bool cleared = group != desk::kOpenTable;
    for (int i = 0; i < desk::kObjectBallCount; ++i)
        if (i != desk::kBlackBall && desk::groupOf(i) == group &&
            before[static_cast<std::size_t>(i)] == desk::kOnTable)
            cleared = false;
    const JudgeRecord& j = out.judge;
    const bool cueDown = out.balls[desk::kCueBall].m_nStatus == desk::kPocketedThisShot;
    int own = 0;
    int any = 0;
    for (int i = 0; i < desk::kObjectBallCount; ++i) {
        if (!down(i) || i == desk::kBlackBall)
            continue;
        ++any;
        if (group == desk::kOpenTable || desk::groupOf(i) == group)
            ++own;
    }
    const bool foul = j.m_bIsTouch_Nothing == 1 || j.m_bIsTouch_Other == 1 || cueDown ||
                      j.m_bOtherGone == 1 ||
                      (any == 0 && !down(desk::kBlackBall) && j.m_bIsTouch_No_Desk == 1);
    if (down(desk::kBlackBall))
        return !foul && cleared ? 1000 : -1000;
    if (foul)
        return -100;
    return own * 10;
}

desk::Strike CSimpleShooter::ChooseBreak(const referee::CTablePosition& position) {
    const desk::SphereRecords& r = position.records();
    const Point cue = ballAt(r, desk::kCueBall);
    const desk::BallPosition apex = desk::footSpot();
    const desk::BallStatuses before = position.Statuses();
    desk::Strike best{ArcTowards(apex.x - cue.x, apex.y - cue.y), 2000, 0};
    int bestScore = -1000000;
    for (double dy : {0.0, 0.3, -0.3, 0.6, -0.6}) {
        for (int32_t speed : {2000, 1700}) {
            const desk::Strike s{ArcTowards(apex.x - cue.x, apex.y + dy - cue.y), speed, 0};
            const desk::ShotOutcome out =
                referee::ReplayShot(m_engine, position, desk::kOpenTable, s);
            int score = Score(out, before, desk::kOpenTable) + out.judge.m_nNum_TouchDesk;
            if (out.balls[desk::kBlackBall].m_nStatus == desk::kPocketedThisShot)
                score = -50; // a re-rack: no loss, no gain
            if (score > bestScore) {
                bestScore = score;
                best = s;
            }
        }
    }
    return withNoise(best);
}

desk::Strike CSimpleShooter::ChooseShot(const referee::CTablePosition& position, int myGroup) {
    const desk::SphereRecords r = position.DisplayRecords();
    const desk::BallStatuses before = position.Statuses();
    const Point cue = ballAt(r, desk::kCueBall);
    const std::vector<Point> pockets = pocketCentres();

    struct Candidate {
        desk::Strike strike;
        double distance;
    };
    std::vector<Candidate> candidates;
    int nearest = -1;
    double nearestDistance = 1e9;
    for (int t = 0; t < desk::kObjectBallCount; ++t) {
        if (before[static_cast<std::size_t>(t)] != desk::kOnTable ||
            !desk::isLegalTarget(t, myGroup, before))
            continue;
        const Point target = ballAt(r, t);
        const double d = std::hypot(target.x - cue.x, target.y - cue.y);
        if (d < nearestDistance) {
            nearestDistance = d;
            nearest = t;
        }
        for (const Point& p : pockets) {
            const double px = p.x - target.x;
            const double py = p.y - target.y;
            const double len = std::hypot(px, py);
            if (len < 1e-6)
                continue;
            // The ghost ball: where the cue ball must be when it meets the
            // target so the target leaves towards the pocket.
            const Point ghost{target.x - 2 * desk::kBallRadius * px / len,
                              target.y - 2 * desk::kBallRadius * py / len};
            const double gx = ghost.x - cue.x;
            const double gy = ghost.y - cue.y;
            const double gl = std::hypot(gx, gy);
            if (gl < 1e-6)
                continue;
            // Cuts thinner than about 75° rarely go.
            if ((gx * px + gy * py) / (gl * len) < 0.26)
                continue;
            for (int32_t speed : {500, 800, 1200})
                candidates.push_back({{ArcTowards(gx, gy), speed, 0}, gl + len});
        }
    }
    std::sort(candidates.begin(), candidates.end(),
              [](const Candidate& a, const Candidate& b) { return a.distance < b.distance; });

    desk::Strike best{};
    int bestScore = -1000000;
    if (nearest >= 0) {
        const Point t = ballAt(r, nearest);
        best = {ArcTowards(t.x - cue.x, t.y - cue.y), 800, 0};
        bestScore = Score(referee::ReplayShot(m_engine, position, myGroup, best), before, myGroup);
    }
    for (const Candidate& c : candidates) {
        const int score =
            Score(referee::ReplayShot(m_engine, position, myGroup, c.strike), before, myGroup);
        if (score > bestScore) {
            bestScore = score;
            best = c.strike;
        }
        if (bestScore >= 1000)
            break;
    }
    if (nearest < 0 && bestScore < 0)
        best = {ArcTowards(-cue.x, -cue.y), 800, 0}; // nothing legal left to aim at
    return withNoise(best);
}

std::pair<int32_t, int32_t>
CSimpleShooter::ChoosePlacement(const referee::CTablePosition& position) {
    const desk::SphereRecords& r = position.records();
    const desk::BallPosition spot = desk::breakSpot();
    const auto legal = [&](double x, double y) {
        return referee::CheckCuePlacement(r, desk::toInterface(x), desk::toInterface(y)).ok();
    };
    if (legal(spot.x, spot.y))
        return {desk::toInterface(spot.x), desk::toInterface(spot.y)};
    const referee::PlacementArea area = referee::CuePlacementArea();
    for (double y = area.bottom + 0.5; y <= area.top - 0.5; y += 0.5)
        for (double x = area.right - 0.5; x >= area.left + 0.5; x -= 0.5)
            if (legal(x, y))
                return {desk::toInterface(x), desk::toInterface(y)};
    return {desk::toInterface(spot.x), desk::toInterface(spot.y)};
}

} // namespace bot
