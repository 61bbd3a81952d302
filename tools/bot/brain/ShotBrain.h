#pragma once
// The bot's shot selection. Given the authoritative position and the
// shooter's situation, it returns where to put the cue ball (with ball in
// hand) and the strike to play, in the desk's interface units.
//
// How: ghost-ball geometry proposes shots at the shooter's legal balls into
// each pocket; each proposal is simulated with the desk's own core, its aim
// corrected from where the simulated object ball really went and tried at a
// few powers and cue-tip offsets; every simulation is judged by the rules
// (fouls, the black, keeping the turn, the cue ball's next position) and the
// best is chosen. Without a pot it looks for a shot that at least does not
// foul. The level then adds aim and power errors to the chosen strike.
//
// Thinking time is bounded by a budget of simulations (one is a few ms).
// Everything is deterministic: the same settings and the same requests in the
// same order give the same choices.

#include "desk/model/SphereRecords.h"
#include "desk/physics/ShotEngine.h"
#include "tools/bot/brain/AimNoise.h"
#include "tools/bot/brain/Forecast.h"
#include "tools/referee/ShotReplay.h"

#include <cstdint>
#include <optional>

namespace bot {

struct ShotRequest {
    // The position as every desk of the table holds it: the records the
    // server last sent, how the desks took them (a rebuilt rack, or the
    // records after a shot) and a cue ball already placed from the hand.
    // Every simulation starts from exactly that engine state, so a planned
    // strike does on the table what it did in the simulation.
    referee::CTablePosition position;
    int myGroup = desk::kOpenTable;
    int chances = 1;      // the shooter's chances in this visit
    bool isBreak = false; // the opening shot of a rack
    bool ballInHand = false;
};

// A cue-ball position in interface units (world × 1 000 000, truncated).
struct CueSpot {
    int32_t x = 0;
    int32_t y = 0;
};

struct ShotChoice {
    std::optional<CueSpot> placement; // set when the request had ball in hand
    desk::Strike strike;              // what to play: the plan with the level's errors
    desk::Strike planned;             // the best simulated strike, before the errors
    int target = -1;                  // the ball the plan aims at, −1 for none
    int pocket = -1;                  // the pocket it aims for, −1 for none
    double score = 0;                 // the planned strike's value as simulated
    Forecast expected;                // what the planned strike does when played exactly
    int simulations = 0;              // shots simulated to choose
};

inline constexpr int kDefaultSimulationBudget = 150;
// Simulations a search may add beyond its budget when everything it tried so
// far fouls: fouling the turn away is worse than thinking a little longer.
inline constexpr int kSafetyReserve = 24;

struct BrainSettings {
    int level = kStrongestLevel; // 1 weakest … 5 strongest
    uint32_t seed = 1;
    int simulationBudget = kDefaultSimulationBudget;
};

// The position `choice` is struck from: the request's, with the cue ball
// placed where the choice puts it.
referee::CTablePosition positionOf(const ShotRequest& request, const ShotChoice& choice);

class CShotBrain {
public:
    explicit CShotBrain(const BrainSettings& settings = {});

    ShotChoice choose(const ShotRequest& request);

    const BrainSettings& settings() const { return m_settings; }

private:
    BrainSettings m_settings;
    desk::CShotEngine m_engine;
    CAimNoise m_noise;
};

} // namespace bot
