#include "tools/bot/brain/ShotBrain.h"

#include "tools/bot/brain/ShotSearch.h"

namespace bot {

referee::CTablePosition positionOf(const ShotRequest& request, const ShotChoice& choice) {
    referee::CTablePosition p = request.position;
    if (choice.placement)
        p.PlaceCueBall({choice.placement->x, choice.placement->y});
    return p;
}

CShotBrain::CShotBrain(const BrainSettings& settings)
    : m_settings(settings), m_noise(settings.seed) {}

ShotChoice CShotBrain::choose(const ShotRequest& request) {
    CShotSearch search(m_engine, request, m_settings.simulationBudget);
    const Candidate best = search.run();

    ShotChoice choice;
    choice.placement = best.placement;
    choice.planned = best.strike;
    choice.strike = m_noise.apply(best.strike, m_settings.level);
    choice.target = best.target;
    choice.pocket = best.pocket;
    choice.score = best.score;
    choice.expected = best.forecast;
    choice.simulations = search.simulations();
    return choice;
}

} // namespace bot
