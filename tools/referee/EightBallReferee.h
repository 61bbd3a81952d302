#pragma once
// The rules of eight-ball as the desk's prompts imply them: ball in hand is
// placed behind the head line after the cue ball went down, and a player's
// turn is counted in chances (visits).
//
// The referee knows nothing about messages or sockets. It is told what each
// shot did (ShotFacts, taken from a checked report) and answers with a
// Verdict: foul or not, who plays next with how many chances and in which
// desk status, the groups, a re-rack or the end of the game. It keeps the
// statuses of the sixteen balls between shots, so that "pocketed in this
// shot" and "the shooter's group is cleared" are decided from its own record
// and not from what a shooter claims about earlier shots.

#include "desk/model/Balls.h"

#include <cstdint>

namespace referee {

inline constexpr int kSeatCount = 2;
inline constexpr int kNoSeat = -1;

// Desk statuses the verdicts set on every client.
inline constexpr int16_t kStatusNoInput = -1;
inline constexpr int16_t kStatusBeforeGame = 0; // the start button
inline constexpr int16_t kStatusBreakAim = 1;
inline constexpr int16_t kStatusBreakFlight = 2;
inline constexpr int16_t kStatusAim = 3;
inline constexpr int16_t kStatusFlight = 4;
inline constexpr int16_t kStatusBallInHand = 5;

// Chances after a foul, and after a turn passes without one.
inline constexpr int kChancesAfterFoul = 2;
inline constexpr int kChancesOnTurn = 1;

enum class Foul : uint8_t {
    None,
    WeakBreak,       // nothing pocketed and fewer than four balls at a cushion
    CueBallPocketed, // in-off
    TouchedNothing,
    WrongFirstBall, // the first ball hit was not a legal target
    OpponentBall,   // a ball of the opponent's group went down
    NoCushion,      // nothing pocketed and no object ball reached a cushion
    TimeOut,
};
const char* FoulName(Foul foul);

// What a shot did. `after` holds the statuses of the report: 2 for a ball
// pocketed in this shot.
struct ShotFacts {
    desk::BallStatuses after{};
    bool touchedNothing = false; // m_bIsTouch_Nothing
    bool wrongFirstBall = false; // m_bIsTouch_MySelf == 0
    bool noCushion = false;      // m_bIsTouch_No_Desk
    int firstPocketed = -1;      // m_nFirst_Gone (break)
    int cushionBalls = 0;        // m_nNum_TouchDesk (break)
};

struct Verdict {
    Foul foul = Foul::None;
    int shooter = kNoSeat;
    int nextSeat = kNoSeat;
    int chances = 0;                     // of the next player
    int16_t nextStatus = kStatusNoInput; // desk status every client takes
    bool rerack = false;                 // the black went down on the break
    int winner = kNoSeat;                // the game is over when this is a seat
    bool groupsDecided = false;          // this verdict assigned the groups
    int solidsSeat = kNoSeat;            // after this verdict
    int stripesSeat = kNoSeat;

    bool GameOver() const { return winner != kNoSeat; }
    bool IsFoul() const { return foul != Foul::None; }
};

class CEightBallReferee {
public:
    enum class Phase : uint8_t { Idle, Break, Aim, BallInHand, Over };

    // A new rack (a new game or a re-rack): every ball on the table, the
    // groups open, `breaker` to break with one chance.
    void StartRack(int breaker);

    // A game already under way, taken up before `shooter`'s shot: his group
    // (the other seat has the other one; both open with kOpenTable), his
    // chances, and the balls' statuses before the shot (the cue ball on the
    // table, placed when it was in hand). With `isBreak` the shot is the
    // break of a new rack. For judging shots that are only considered, as a
    // player weighing his options does; the fouls counted start from zero.
    void Resume(int shooter, int shooterGroup, int chances, const desk::BallStatuses& statuses,
                bool isBreak);

    // The break's outcome, and a shot in play. Out of phase (no break or no
    // shot expected) they change nothing and return a verdict with no seat.
    Verdict Break(const ShotFacts& facts);
    Verdict Shot(const ShotFacts& facts);
    // The player to move let his time run out, while aiming or while placing
    // the cue ball: a foul, the cue ball stays where it is.
    Verdict TimeOut();
    // The cue ball has been placed (ball in hand): the shooter aims now.
    void CueBallPlaced();
    // The game ends outside the rules (a player left); nothing is judged.
    void Abandon() { m_phase = Phase::Over; }

    Phase CurrentPhase() const { return m_phase; }
    int ToPlay() const { return m_nToPlay; }
    int Breaker() const { return m_nBreaker; }
    int Chances() const { return m_nChances; }
    int GroupOf(int seat) const;
    int SolidsSeat() const;
    int StripesSeat() const;
    // Ball statuses as they stand before the next shot.
    const desk::BallStatuses& Statuses() const { return m_statuses; }
    // Object balls of `seat`'s group still on the table (7 when open).
    int BallsLeft(int seat) const;
    int Fouls(int seat) const;

private:
    Verdict verdictFor(int shooter) const;
    void passTurn(Verdict& v, int chances, int16_t status);
    void endGame(Verdict& v, int winner);
    void assignGroups(int seat, int group, Verdict& v);
    bool groupCleared(int seat) const;

    Phase m_phase = Phase::Idle;
    int m_nBreaker = 0;
    int m_nToPlay = 0;
    int m_nChances = 0;
    int m_group[kSeatCount] = {desk::kOpenTable, desk::kOpenTable};
    int m_fouls[kSeatCount] = {};
    desk::BallStatuses m_statuses{};
};

} // namespace referee
