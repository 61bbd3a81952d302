#pragma once
// One search for the best strike from one position: the candidates of the
// ghost-ball plans, refined and varied in simulation, then safer shots when
// nothing pots cleanly. Used by CShotBrain, one search per request.

#include "desk/physics/ShotEngine.h"
#include "tools/bot/brain/Forecast.h"
#include "tools/bot/brain/ShotBrain.h"
#include "tools/bot/brain/ShotPlans.h"
#include "tools/bot/brain/TableState.h"

#include <limits>
#include <optional>
#include <vector>

namespace bot {

struct Candidate {
    desk::Strike strike;
    std::optional<CueSpot> placement;
    int target = -1;
    int pocket = -1;
    double score = -std::numeric_limits<double>::infinity();
    Forecast forecast;
};

class CShotSearch {
public:
    // `engine` must be idle, as left by a finished shot.
    CShotSearch(desk::CShotEngine& engine, const ShotRequest& request, int budget);

    Candidate run();
    int simulations() const { return m_nSimulations; }

private:
    struct Trial {
        desk::ShotOutcome outcome;
        Forecast forecast;
        double score = 0;
        bool targetPotted = false;
        std::optional<Vec2> targetDirection; // how the tracked ball first moved
    };
    struct Refined {
        double angle = 0;
        bool potted = false;
        bool onLine = false; // the target ran at the pocket but did not drop
    };

    bool budgetLeft() const { return m_nSimulations < m_nBudget; }
    Trial simulate(const desk::Strike& strike, const std::optional<CueSpot>& placement, int track);
    void consider(const Candidate& c, const Trial& t);
    double scoreOf(const Forecast& f, const desk::ShotOutcome& o) const;

    void searchBreak();
    std::vector<ShotPlan> proposals(std::vector<std::optional<CueSpot>>& placements) const;
    Refined refine(const ShotPlan& plan, const std::optional<CueSpot>& placement, int32_t speed,
                   double startAngle, int maxTrials);
    void searchPlans();
    void searchSafety(const std::optional<CueSpot>& placement, Vec2 cue);
    CueSpot fallbackPlacement() const;

    desk::CShotEngine& m_engine;
    ShotRequest m_request;
    TableState m_table;
    int m_nGroup;
    int m_nBudget;
    int m_nSimulations = 0;
    Candidate m_best;
};

// The world position a placement becomes once the desk reads it back.
Vec2 worldOf(const CueSpot& spot);
CueSpot spotAt(Vec2 world);

} // namespace bot
