#include "tools/bot/brain/ShotBrain.h"

#include "tools/bot/brain/ShotSearch.h"

namespace bot {

CShotBrain::CShotBrain(const BrainSettings& settings)
    : m_settings(settings), m_noise(settings.seed) {
    // Every search starts from the engine's state after a finished shot, as a
    // desk's does after the authoritative balls arrive, so that the same
    // position and strike always simulate alike.
    m_engine.finishShot();
}

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
