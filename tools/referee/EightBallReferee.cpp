#include "tools/referee/EightBallReferee.h"

namespace referee {

using desk::kBlackBall;
using desk::kCueBall;
using desk::kObjectBallCount;
using desk::kOnTable;
using desk::kPocketedThisShot;

const char* FoulName(Foul foul) {
    switch (foul) {
    case Foul::None:
        return "none";
    case Foul::WeakBreak:
        return "weak break";
    case Foul::CueBallPocketed:
        return "cue ball pocketed";
    case Foul::TouchedNothing:
        return "touched nothing";
    case Foul::WrongFirstBall:
        return "wrong first ball";
    case Foul::OpponentBall:
        return "opponent's ball pocketed";
    case Foul::NoCushion:
        return "no cushion";
    case Foul::TimeOut:
        return "time out";
    }
    return "?";
}

namespace {

int other(int seat) {
    return 1 - seat;
}

bool validSeat(int seat) {
    return seat == 0 || seat == 1;
}

// Object balls that went down in this shot: on the table before, status 2
// after. A ball the referee already had off the table never counts again.
struct Pocketed {
    bool ball[kObjectBallCount] = {};
    int count = 0;
    int lowest = -1; // lowest index other than the black

    Pocketed(const desk::BallStatuses& before, const desk::BallStatuses& after) {
        for (int i = 0; i < kObjectBallCount; ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (before[k] == kOnTable && after[k] == kPocketedThisShot) {
                ball[i] = true;
                ++count;
                if (i != kBlackBall && lowest < 0)
                    lowest = i;
            }
        }
    }
    bool any() const { return count > 0; }
    bool black() const { return ball[kBlackBall]; }
    bool ofGroup(int group) const {
        for (int i = 0; i < kObjectBallCount; ++i)
            if (ball[i] && desk::groupOf(i) == group)
                return true;
        return false;
    }
};

} // namespace

void CEightBallReferee::StartRack(int breaker) {
    m_nBreaker = validSeat(breaker) ? breaker : 0;
    m_nToPlay = m_nBreaker;
    m_nChances = kChancesOnTurn;
    m_group[0] = m_group[1] = desk::kOpenTable;
    m_statuses.fill(kOnTable);
    m_phase = Phase::Break;
}

void CEightBallReferee::Resume(int shooter, int shooterGroup, int chances,
                               const desk::BallStatuses& statuses, bool isBreak) {
    if (isBreak) {
        StartRack(shooter);
        return;
    }
    m_nToPlay = validSeat(shooter) ? shooter : 0;
    m_nBreaker = m_nToPlay;
    m_nChances = chances > 1 ? chances : kChancesOnTurn;
    const bool grouped = shooterGroup == desk::kSolids || shooterGroup == desk::kStripes;
    m_group[m_nToPlay] = grouped ? shooterGroup : desk::kOpenTable;
    m_group[other(m_nToPlay)] = grouped ? 1 - shooterGroup : desk::kOpenTable;
    m_fouls[0] = m_fouls[1] = 0;
    m_statuses = statuses;
    m_statuses[kCueBall] = kOnTable;
    m_phase = Phase::Aim;
}

int CEightBallReferee::GroupOf(int seat) const {
    return validSeat(seat) ? m_group[seat] : desk::kOpenTable;
}

int CEightBallReferee::SolidsSeat() const {
    for (int s = 0; s < kSeatCount; ++s)
        if (m_group[s] == desk::kSolids)
            return s;
    return kNoSeat;
}

int CEightBallReferee::StripesSeat() const {
    for (int s = 0; s < kSeatCount; ++s)
        if (m_group[s] == desk::kStripes)
            return s;
    return kNoSeat;
}

int CEightBallReferee::BallsLeft(int seat) const {
    const int group = GroupOf(seat);
    int left = 0;
    for (int i = 0; i < kObjectBallCount; ++i) {
        if (m_statuses[static_cast<std::size_t>(i)] != kOnTable || i == kBlackBall)
            continue;
        if (group == desk::kOpenTable ? i < kBlackBall : desk::groupOf(i) == group)
            ++left;
    }
    return left;
}

int CEightBallReferee::Fouls(int seat) const {
    return validSeat(seat) ? m_fouls[seat] : 0;
}

bool CEightBallReferee::groupCleared(int seat) const {
    return GroupOf(seat) != desk::kOpenTable && BallsLeft(seat) == 0;
}

Verdict CEightBallReferee::verdictFor(int shooter) const {
    Verdict v;
    v.shooter = shooter;
    v.nextSeat = shooter;
    v.chances = m_nChances;
    v.nextStatus = kStatusAim;
    v.solidsSeat = SolidsSeat();
    v.stripesSeat = StripesSeat();
    return v;
}

void CEightBallReferee::passTurn(Verdict& v, int chances, int16_t status) {
    m_nToPlay = other(v.shooter);
    m_nChances = chances;
    v.nextSeat = m_nToPlay;
    v.chances = chances;
    v.nextStatus = status;
}

void CEightBallReferee::endGame(Verdict& v, int winner) {
    v.winner = winner;
    v.nextSeat = kNoSeat;
    v.chances = 0;
    v.nextStatus = kStatusNoInput;
    m_phase = Phase::Over;
}

void CEightBallReferee::assignGroups(int seat, int group, Verdict& v) {
    m_group[seat] = group;
    m_group[other(seat)] = group == desk::kSolids ? desk::kStripes : desk::kSolids;
    v.groupsDecided = true;
    v.solidsSeat = SolidsSeat();
    v.stripesSeat = StripesSeat();
}

Verdict CEightBallReferee::Break(const ShotFacts& facts) {
    if (m_phase != Phase::Break)
        return {};
    const int shooter = m_nToPlay;
    Verdict v = verdictFor(shooter);
    const Pocketed down(m_statuses, facts.after);
    const bool cueDown = facts.after[kCueBall] == kPocketedThisShot;

    // The black on the break is no win and no loss: the same player breaks
    // a new rack.
    if (down.black()) {
        v.rerack = true;
        v.chances = kChancesOnTurn;
        v.nextStatus = kStatusNoInput;
        StartRack(shooter);
        return v;
    }

    m_statuses = facts.after;
    if (cueDown)
        v.foul = Foul::CueBallPocketed;
    else if (!down.any() && facts.cushionBalls < 4)
        v.foul = Foul::WeakBreak;

    if (v.IsFoul()) {
        ++m_fouls[shooter];
        passTurn(v, kChancesAfterFoul, cueDown ? kStatusBallInHand : kStatusAim);
    } else if (down.any()) {
        // The breaker takes the group of the first ball that went down; a
        // first-pocketed index that names no ball pocketed in this shot
        // cannot be right, and the lowest pocketed ball stands in for it.
        int first = facts.firstPocketed;
        if (first < 0 || first >= kObjectBallCount || first == kBlackBall || !down.ball[first])
            first = down.lowest;
        assignGroups(shooter, desk::groupOf(first), v);
    } else {
        passTurn(v, kChancesOnTurn, kStatusAim);
    }
    m_phase = v.nextStatus == kStatusBallInHand ? Phase::BallInHand : Phase::Aim;
    return v;
}

Verdict CEightBallReferee::Shot(const ShotFacts& facts) {
    if (m_phase != Phase::Aim)
        return {};
    const int shooter = m_nToPlay;
    const int group = m_group[shooter];
    Verdict v = verdictFor(shooter);
    const Pocketed down(m_statuses, facts.after);
    const bool cueDown = facts.after[kCueBall] == kPocketedThisShot;
    // Whether the black was the legal ball is decided by the table before
    // the shot: sinking the last own ball and the black together loses.
    const bool cleared = groupCleared(shooter);

    if (facts.touchedNothing)
        v.foul = Foul::TouchedNothing;
    else if (facts.wrongFirstBall && group != desk::kOpenTable)
        v.foul = Foul::WrongFirstBall;
    else if (cueDown)
        v.foul = Foul::CueBallPocketed;
    else if (group != desk::kOpenTable && down.ofGroup(1 - group))
        v.foul = Foul::OpponentBall;
    else if (!down.any() && facts.noCushion)
        v.foul = Foul::NoCushion;

    m_statuses = facts.after;
    if (v.IsFoul())
        ++m_fouls[shooter];

    if (down.black()) {
        endGame(v, !v.IsFoul() && cleared ? shooter : other(shooter));
        return v;
    }
    if (v.IsFoul()) {
        passTurn(v, kChancesAfterFoul, cueDown ? kStatusBallInHand : kStatusAim);
    } else if (group == desk::kOpenTable && down.any()) {
        assignGroups(shooter, desk::groupOf(down.lowest), v);
    } else if (group != desk::kOpenTable && down.ofGroup(group)) {
        // A pot of an own ball: the turn goes on and costs no chance.
    } else if (m_nChances > 1) {
        --m_nChances;
        v.chances = m_nChances;
    } else {
        passTurn(v, kChancesOnTurn, kStatusAim);
    }
    m_phase = v.nextStatus == kStatusBallInHand ? Phase::BallInHand : Phase::Aim;
    return v;
}

Verdict CEightBallReferee::TimeOut() {
    if (m_phase != Phase::Aim && m_phase != Phase::BallInHand && m_phase != Phase::Break)
        return {};
    const int shooter = m_nToPlay;
    Verdict v = verdictFor(shooter);
    v.foul = Foul::TimeOut;
    ++m_fouls[shooter];
    // The position stays as it is: a player who had the cue ball in hand
    // hands it over in hand, and a breaker who never broke leaves the rack
    // to the other player's break.
    const int16_t status = m_phase == Phase::BallInHand ? kStatusBallInHand
                           : m_phase == Phase::Break    ? kStatusBreakAim
                                                        : kStatusAim;
    passTurn(v, kChancesAfterFoul, status);
    if (m_phase == Phase::Break) {
        m_nBreaker = m_nToPlay;
        m_nChances = kChancesOnTurn;
        v.chances = kChancesOnTurn;
    }
    return v;
}

void CEightBallReferee::CueBallPlaced() {
    if (m_phase != Phase::BallInHand)
        return;
    m_statuses[kCueBall] = kOnTable;
    m_phase = Phase::Aim;
}

} // namespace referee
