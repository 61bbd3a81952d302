#include "tools/bot/brain/ShotSearch.h"

#include "desk/model/CuePlacement.h"
#include "desk/model/Units.h"
#include "tools/bot/brain/AimNoise.h"
#include "tools/bot/brain/Placement.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace bot {

namespace {

// Plans simulated at their first power; the best working ones are then
// varied in power and tip.
// The first round of plans may spend this share of the budget; the rest
// goes to varying the pots that work.
constexpr double kFirstRoundShare = 0.6;
constexpr std::size_t kPlansVaried = 3;
constexpr int kRefineTrials = 4;
// How far the tracked object ball must have moved before its direction counts.
constexpr double kTrackDistance = 1.5;
// A target whose path passes the pocket point closer than this was aimed
// well enough: if it stayed out, it lacked pace or met a jaw.
constexpr double kOnLineMiss = 0.25;
// Where a ball's centre turns at the straight cushions.
constexpr double kRailMinX = -25.85, kRailMaxX = 25.15, kRailMinY = -6.25, kRailMaxY = 17.95;

// Scores. A legal black ends the game; a foul hands the opponent the table.
constexpr double kWinScore = 10000;
constexpr double kFoulScore = -1000;
constexpr double kPotScore = 500;
constexpr double kExtraPotScore = 150;
constexpr double kPositionScore = 400;
constexpr double kOpponentChanceScore = -300;
constexpr double kRerackScore = -50;

// A cue speed whose run covers about `distance` units before it stops: a
// ball struck at speed s rolls about 1.31 × (s / 100)² units on the cloth.
int32_t speedForDistance(double distance) {
    const double s = 100.0 * std::sqrt(std::max(distance, 0.0) / 1.31);
    return static_cast<int32_t>(std::clamp(std::lround(s), 150L, static_cast<long>(kMaxSpeed)));
}

// Enough for the object ball to reach the pocket with some pace left: the
// cue ball's run to contact, then the object ball's, which gets the share
// cos² of the cut.
int32_t planSpeed(const ShotPlan& p) {
    const double c = std::cos(p.cut);
    const double share = std::max(c * c, 0.15);
    return speedForDistance(1.3 * (p.cueDistance + (p.objectDistance + 4.0) / share));
}

int32_t scaledSpeed(int32_t speed, double k) {
    return static_cast<int32_t>(std::clamp(std::lround(speed * k), static_cast<long>(kMinSpeed),
                                           static_cast<long>(kMaxSpeed)));
}

double angleOf(Vec2 v) {
    return std::atan2(v.y, v.x);
}

} // namespace

Vec2 worldOf(const CueSpot& spot) {
    return {desk::fromInterface(spot.x), desk::fromInterface(spot.y)};
}

CueSpot spotAt(Vec2 world) {
    return {desk::toInterface(world.x), desk::toInterface(world.y)};
}

CShotSearch::CShotSearch(desk::CShotEngine& engine, const ShotRequest& request, int budget)
    : m_engine(engine), m_request(request),
      m_table(tableStateFrom(request.position.DisplayRecords())),
      m_nGroup(!request.isBreak &&
                       (request.myGroup == desk::kSolids || request.myGroup == desk::kStripes)
                   ? request.myGroup
                   : desk::kOpenTable),
      m_nBudget(std::max(budget, 1)) {
    // A cue ball that is not on the table can only be played from the hand.
    if (!m_request.isBreak && !m_table.onTable(desk::kCueBall))
        m_request.ballInHand = true;
}

CShotSearch::Trial CShotSearch::simulate(const desk::Strike& strike,
                                         const std::optional<CueSpot>& placement, int track) {
    ++m_nSimulations;
    referee::CTablePosition from = m_request.position;
    if (placement)
        from.PlaceCueBall({placement->x, placement->y});
    from.Prepare(m_engine);
    m_engine.setMyGroup(m_nGroup);

    Trial t;
    const Vec2 start = track >= 0 ? m_table.at(track) : Vec2{};
    desk::CShotEngine::StepObserver observer;
    if (track >= 0) {
        observer = [&](const desk::StepReport&) {
            if (t.targetDirection || t.targetPotted)
                return;
            if (m_engine.judge().m_bGone[track] != 0) {
                t.targetPotted = true;
                return;
            }
            const desk::Vec3 p = m_engine.ball(track).position;
            const Vec2 moved = Vec2{p.x, p.y} - start;
            if (length(moved) >= kTrackDistance)
                t.targetDirection = moved;
        };
    }
    t.outcome = m_engine.runShot(strike, observer);
    if (track >= 0 && t.outcome.judge.m_bGone[track] != 0)
        t.targetPotted = true;
    t.forecast =
        forecastShot(from.Statuses(), m_nGroup, m_request.isBreak, t.outcome, m_request.chances);
    t.score = scoreOf(t.forecast, t.outcome);
    return t;
}

double CShotSearch::scoreOf(const Forecast& f, const desk::ShotOutcome& o) const {
    if (f.wins)
        return kWinScore;
    if (f.loses)
        return -kWinScore;
    if (f.rerack)
        return kRerackScore;
    if (f.foul)
        return kFoulScore;

    const TableState after = tableStateFrom(o.balls);
    const Vec2 cue = after.at(desk::kCueBall);
    if (f.keepsTurn && f.ownPotted > 0) {
        return kPotScore + kExtraPotScore * std::max(f.ownPotted - 1, 0) +
               kPositionScore * bestEase(after, cue, f.groupAfter);
    }
    // A chance left from the other player's foul: the shooter plays again
    // from where the balls stopped.
    if (f.keepsTurn)
        return kPositionScore * bestEase(after, cue, f.groupAfter);
    if (m_request.isBreak)
        return 0.0;
    // The turn may pass: leave the other player as little as possible.
    return kOpponentChanceScore * bestEase(after, cue, opponentGroup(f.groupAfter));
}

void CShotSearch::consider(const Candidate& c, const Trial& t) {
    if (t.score <= m_best.score)
        return;
    m_best = c;
    m_best.score = t.score;
    m_best.forecast = t.forecast;
}

// ---- the break -------------------------------------------------------------

void CShotSearch::searchBreak() {
    const Vec2 cue = m_table.at(desk::kCueBall);
    int apex = -1;
    for (int b = 0; b < desk::kObjectBallCount; ++b)
        if (m_table.onTable(b) &&
            (apex < 0 || length(m_table.at(b) - cue) < length(m_table.at(apex) - cue)))
            apex = b;
    if (apex < 0) {
        searchSafety(std::nullopt, cue);
        return;
    }
    // Full power at the apex, slightly off centre either way and with a
    // little draw, so the cue ball comes back out of the pack.
    const double base = angleOf(m_table.at(apex) - cue);
    static constexpr std::array<double, 5> kOffsets{0.0, 0.004, -0.004, 0.009, -0.009};
    static constexpr std::array<int32_t, 2> kTips{0, -300000};
    for (int32_t tip : kTips) {
        for (double off : kOffsets) {
            if (!budgetLeft())
                return;
            Candidate c;
            c.strike = {arcOf(base + off), kMaxSpeed, tip};
            c.target = apex;
            consider(c, simulate(c.strike, std::nullopt, -1));
        }
    }
}

// ---- planned pots ------------------------------------------------------------

std::vector<ShotPlan>
CShotSearch::proposals(std::vector<std::optional<CueSpot>>& placements) const {
    placements.clear();
    if (!m_request.ballInHand) {
        std::vector<ShotPlan> plans = plansFrom(m_table, m_table.at(desk::kCueBall), m_nGroup);
        placements.assign(plans.size(), std::nullopt);
        return plans;
    }

    // With ball in hand every plan brings its own cue-ball spot: behind the
    // ghost ball, straight or at a modest cut, as far as the area allows.
    static constexpr std::array<double, 5> kDistances{3.5, 6.0, 9.0, 13.0, 18.0};
    static constexpr std::array<double, 5> kCuts{0.0, 0.35, -0.35, 0.7, -0.7};
    struct Entry {
        ShotPlan plan;
        CueSpot spot;
    };
    std::vector<Entry> entries;
    TableState table = m_table;
    for (int b = 0; b < desk::kObjectBallCount; ++b) {
        if (!isTarget(table, m_nGroup, b))
            continue;
        for (const PocketAim& aim : aimPoints()) {
            const Vec2 d = normalized(aim.point - table.at(b));
            const Vec2 ghost = table.at(b) - d * (2 * desk::kBallRadius);
            std::optional<Entry> best;
            for (double dist : kDistances) {
                for (double cut : kCuts) {
                    const CueSpot spot = spotAt(ghost - rotated(d, cut) * dist);
                    const Vec2 at = worldOf(spot);
                    if (!isSafePlacement(table, at))
                        continue;
                    const ShotPlan p = planShot(table, at, b, aim);
                    if (p.ease > 0 && (!best || p.ease > best->plan.ease))
                        best = Entry{p, spot};
                }
            }
            if (best)
                entries.push_back(*best);
        }
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry& a, const Entry& b) { return a.plan.ease > b.plan.ease; });
    std::vector<ShotPlan> plans;
    for (const Entry& e : entries) {
        plans.push_back(e.plan);
        placements.push_back(e.spot);
    }
    return plans;
}

// Corrects the cue angle until the simulated object ball runs at the pocket:
// the first correction from the ghost-ball geometry (a cue angle change of δ
// turns the object ball by about −δ × cue distance / (2 cos cut)), then by
// the secant through the last two trials. Stops once the target drops.
CShotSearch::Refined CShotSearch::refine(const ShotPlan& plan,
                                         const std::optional<CueSpot>& placement, int32_t speed,
                                         double startAngle, int maxTrials) {
    const double wanted = angleOf(plan.aim - m_table.at(plan.target));
    const double gain = plan.cueDistance / (2.0 * std::max(std::cos(plan.cut), 0.2));
    double a = startAngle;
    double prevA = 0;
    double prevE = 0;
    bool havePrev = false;
    for (int n = 0; n < maxTrials && budgetLeft(); ++n) {
        Candidate c;
        c.strike = {arcOf(a), speed, 0};
        c.placement = placement;
        c.target = plan.target;
        c.pocket = plan.pocket;
        const Trial t = simulate(c.strike, placement, plan.target);
        consider(c, t);
        if (t.targetPotted)
            return {a, true};
        if (t.outcome.judge.m_nFirst_Touch != plan.target || !t.targetDirection)
            return {a, false};
        const double e = wrapAngle(wanted - angleOf(*t.targetDirection));
        if (std::fabs(e) * plan.objectDistance < kOnLineMiss)
            return {a, false, true};
        double step = -e / gain;
        if (havePrev && a != prevA) {
            const double slope = (e - prevE) / (a - prevA);
            if (slope > 0.2 * gain && slope < 5.0 * gain)
                step = -e / slope;
        }
        step = std::clamp(step, -0.05, 0.05);
        if (std::fabs(step) < 1e-6)
            return {a, false};
        prevA = a;
        prevE = e;
        havePrev = true;
        a += step;
    }
    return {a, false};
}

void CShotSearch::searchPlans() {
    std::vector<std::optional<CueSpot>> placements;
    const std::vector<ShotPlan> plans = proposals(placements);

    struct Working {
        std::size_t index;
        double angle;
        double score;
    };
    std::vector<Working> working;
    const int firstRound = std::max(1, static_cast<int>(m_nBudget * kFirstRoundShare));
    auto alreadyWorks = [&](const ShotPlan& p) {
        for (const Working& w : working)
            if (plans[w.index].target == p.target && plans[w.index].pocket == p.pocket)
                return true;
        return false;
    };
    for (std::size_t i = 0; i < plans.size() && m_nSimulations < firstRound; ++i) {
        if (alreadyWorks(plans[i]))
            continue;
        const double before = m_best.score;
        const int32_t speed = planSpeed(plans[i]);
        Refined r = refine(plans[i], placements[i], speed, plans[i].cueAngle, kRefineTrials);
        if (r.onLine) // on line but short or rattled: once more with more pace
            r = refine(plans[i], placements[i], scaledSpeed(speed, 1.6), r.angle, 2);
        if (r.potted)
            working.push_back({i, r.angle, m_best.score > before ? m_best.score : 0.0});
        if (m_best.forecast.wins)
            return;
    }

    // The pots that work, tried softer and harder, with follow and draw.
    std::stable_sort(working.begin(), working.end(),
                     [](const Working& a, const Working& b) { return a.score > b.score; });
    static constexpr std::array<double, 3> kPowerSteps{0.75, 1.4, 2.0};
    static constexpr std::array<int32_t, 2> kTips{350000, -500000};
    constexpr double kStraightEnough = 0.5; // follow and draw act within 30° of straight
    for (std::size_t w = 0; w < working.size() && w < kPlansVaried; ++w) {
        const ShotPlan& plan = plans[working[w].index];
        const std::optional<CueSpot>& place = placements[working[w].index];
        const int32_t base = planSpeed(plan);
        for (double k : kPowerSteps) {
            if (!budgetLeft())
                return;
            refine(plan, place, scaledSpeed(base, k), working[w].angle, 2);
        }
        if (plan.cut < kStraightEnough) {
            for (int32_t tip : kTips) {
                if (!budgetLeft())
                    return;
                Candidate c;
                c.strike = {arcOf(working[w].angle), base, tip};
                c.placement = place;
                c.target = plan.target;
                c.pocket = plan.pocket;
                consider(c, simulate(c.strike, place, -1));
            }
        }
    }
}

// ---- when nothing pots -------------------------------------------------------

CueSpot CShotSearch::fallbackPlacement() const {
    // The spot with the most open lines to a ball that may be hit first.
    const std::vector<Vec2> spots = placementGrid(m_table);
    if (spots.empty()) {
        const desk::Rect a = desk::cuePlacementArea();
        return spotAt({(a.left + a.right) / 2, (a.bottom + a.top) / 2});
    }
    std::size_t best = 0;
    int bestLines = -1;
    for (std::size_t s = 0; s < spots.size(); ++s) {
        int lines = 0;
        for (int b = 0; b < desk::kObjectBallCount; ++b)
            if (isTarget(m_table, m_nGroup, b) &&
                pathClear(m_table, spots[s], m_table.at(b), desk::kCueBall, b))
                ++lines;
        if (lines > bestLines) {
            bestLines = lines;
            best = s;
        }
    }
    return spotAt(spots[best]);
}

void CShotSearch::searchSafety(const std::optional<CueSpot>& placement, Vec2 cue) {
    const int limit = std::max(m_nBudget, m_nSimulations) + kSafetyReserve;
    auto tryStrike = [&](double angle, int32_t speed, int target) {
        if (m_nSimulations >= limit)
            return false;
        Candidate c;
        c.strike = {arcOf(angle), speed, 0};
        c.placement = placement;
        c.target = target;
        consider(c, simulate(c.strike, placement, -1));
        return true;
    };

    std::vector<int> targets;
    for (int b = 0; b < desk::kObjectBallCount; ++b)
        if (isTarget(m_table, m_nGroup, b))
            targets.push_back(b);
    std::stable_sort(targets.begin(), targets.end(), [&](int a, int b) {
        return length(m_table.at(a) - cue) < length(m_table.at(b) - cue);
    });
    // Where the cue ball's line passes a target's centre, in radii: full,
    // half-ball either side, then finer in between and thin. A contact is
    // tried only when the cue ball's path to it is open, so a thin hit past
    // a ball in the way still counts.
    static constexpr std::array<double, 3> kFirstContacts{0.0, 1.2, -1.2};
    static constexpr std::array<double, 4> kMoreContacts{0.6, -0.6, 1.7, -1.7};
    auto direct = [&](int b, double contact, int32_t speed) {
        const Vec2 t = m_table.at(b);
        const Vec2 u = normalized(t - cue);
        const Vec2 n{-u.y, u.x};
        const Vec2 atContact = t - u * std::sqrt(4.0 - contact * contact) + n * contact;
        if (length(atContact - cue) < 0.5 || !pathClear(m_table, cue, atContact, desk::kCueBall, b))
            return true;
        return tryStrike(angleOf(atContact - cue), speed, b);
    };

    // First the plain safe shots: hit a legal ball and send it to a cushion.
    for (int b : targets)
        for (double contact : kFirstContacts)
            if (!direct(b, contact, 800))
                return;

    // Snookered: off one cushion, aiming at the target's mirror image in the
    // line the ball's centre bounces from, a little either side, soft and firm.
    if (m_best.score <= kFoulScore) {
        for (int b = 0; b < desk::kObjectBallCount && m_best.score <= kFoulScore; ++b) {
            if (!isTarget(m_table, m_nGroup, b))
                continue;
            const Vec2 t = m_table.at(b);
            const std::array<Vec2, 4> mirrors{
                Vec2{2 * kRailMinX - t.x, t.y}, Vec2{2 * kRailMaxX - t.x, t.y},
                Vec2{t.x, 2 * kRailMinY - t.y}, Vec2{t.x, 2 * kRailMaxY - t.y}};
            for (const Vec2& m : mirrors)
                for (double off : {0.0, 0.015, -0.015})
                    for (int32_t speed : {700, 1300})
                        if (!tryStrike(angleOf(m - cue) + off, speed, b))
                            return;
        }
    }

    // With what is left, the direct hits at more contacts and speeds: a
    // better safety, and now and then a ball that drops off a cushion or
    // another ball.
    for (int b : targets) {
        for (double contact : kMoreContacts)
            for (int32_t speed : {450, 800, 1300})
                if (!direct(b, contact, speed))
                    return;
        for (double contact : kFirstContacts)
            for (int32_t speed : {450, 1300})
                if (!direct(b, contact, speed))
                    return;
    }
    if (m_best.score > kFoulScore)
        return;

    // Anything at all: round the compass, as finely as what is left allows.
    const int directions = std::max(72, limit - m_nSimulations);
    for (int k = 0; k < directions; ++k)
        if (!tryStrike(2 * std::numbers::pi * k / directions, 1000, -1))
            return;
}

Candidate CShotSearch::run() {
    if (m_request.isBreak) {
        searchBreak();
        return m_best;
    }
    searchPlans();
    if (m_best.score < 0 && !m_best.forecast.wins) {
        std::optional<CueSpot> place;
        Vec2 cue = m_table.at(desk::kCueBall);
        if (m_request.ballInHand) {
            // Keep the placement of the best plan if it at least avoided a
            // foul; otherwise pick a spot with open lines.
            place = m_best.placement && m_best.score > kFoulScore ? *m_best.placement
                                                                  : fallbackPlacement();
            cue = worldOf(*place);
        }
        searchSafety(place, cue);
    }
    if (m_request.ballInHand && !m_best.placement)
        m_best.placement = fallbackPlacement();
    return m_best;
}

} // namespace bot
