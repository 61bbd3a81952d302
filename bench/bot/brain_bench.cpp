// bot-brain-bench: how long the bot thinks about one shot, and how well the
// shots it then plays work out.
//
//   Think/<level>/<budget>   choosing a shot in positions from real games
//                            (after the break, mid-game, ball in hand)
//   Break/<level>            choosing the break shot of a fresh rack
//   Snookered/<budget>       the worst case: the last own ball hidden behind
//                            the other group's, so the search spends its
//                            whole budget and the reserve on kicks
//
// Counters: ms per shot is the benchmark time; sims = simulations per shot;
// pot_rate = share of the chosen shots that pocket an own ball (or the black
// to win) without a foul when played, foul_rate = share that foul (both measured once per
// benchmark, outside the timing).

#include "desk/model/StandardRack.h"
#include "tools/bot/brain/Forecast.h"
#include "tools/bot/brain/ShotBrain.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace bot;

desk::ShotOutcome play(desk::CShotEngine& engine, const ShotRequest& r, const ShotChoice& c) {
    return referee::ReplayShot(engine, positionOf(r, c), r.myGroup, c.strike);
}

desk::BallStatuses statusesOf(const ShotRequest& r, const ShotChoice& c) {
    return positionOf(r, c).Statuses();
}

// Positions from games a full-strength brain plays alone: every shot after
// the break of several racks, up to the end of the rack.
const std::vector<ShotRequest>& positions() {
    static const std::vector<ShotRequest> all = [] {
        std::vector<ShotRequest> out;
        CShotBrain brain({kStrongestLevel, 1, kDefaultSimulationBudget});
        desk::CShotEngine engine;
        for (uint32_t seed = 1; seed <= 6; ++seed) {
            ShotRequest r;
            r.position = referee::CTablePosition::Rack(desk::standardRack(seed));
            r.isBreak = true;
            for (int n = 0; n < 12; ++n) {
                const ShotChoice c = brain.choose(r);
                const desk::ShotOutcome o = play(engine, r, c);
                const Forecast f = forecastShot(statusesOf(r, c), r.myGroup, r.isBreak, o);
                if (f.wins || f.loses || f.rerack)
                    break;
                if (!f.foul)
                    r.myGroup = f.groupAfter;
                r.position = referee::CTablePosition::AfterShot(o.balls);
                r.isBreak = false;
                r.ballInHand = o.judge.m_bWhiteGone != 0;
                out.push_back(r);
            }
        }
        return out;
    }();
    return all;
}

void outcomes(benchmark::State& state, const std::vector<ShotRequest>& requests, int level,
              int budget) {
    CShotBrain brain({level, 5, budget});
    desk::CShotEngine engine;
    int pots = 0;
    int fouls = 0;
    for (const ShotRequest& r : requests) {
        const ShotChoice c = brain.choose(r);
        const Forecast f = forecastShot(statusesOf(r, c), r.myGroup, r.isBreak, play(engine, r, c));
        pots += f.wins || (f.ownPotted > 0 && !f.foul) ? 1 : 0;
        fouls += f.foul ? 1 : 0;
    }
    const double n = static_cast<double>(requests.size());
    state.counters["pot_rate"] = pots / n;
    state.counters["foul_rate"] = fouls / n;
}

void Think(benchmark::State& state) {
    const int level = static_cast<int>(state.range(0));
    const int budget = static_cast<int>(state.range(1));
    const std::vector<ShotRequest>& requests = positions();
    CShotBrain brain({level, 3, budget});
    std::size_t next = 0;
    int64_t sims = 0;
    for (auto _ : state) {
        const ShotChoice c = brain.choose(requests[next]);
        sims += c.simulations;
        benchmark::DoNotOptimize(c.strike);
        next = (next + 1) % requests.size();
    }
    state.counters["sims"] = static_cast<double>(sims) / static_cast<double>(state.iterations());
    state.counters["positions"] = static_cast<double>(requests.size());
    outcomes(state, requests, level, budget);
}
BENCHMARK(Think)
    ->ArgsProduct({{1, 2, 3, 4, 5}, {kDefaultSimulationBudget}})
    ->Args({5, 40})
    ->Args({5, 400})
    ->Unit(benchmark::kMillisecond);

void Break(benchmark::State& state) {
    const int level = static_cast<int>(state.range(0));
    CShotBrain brain({level, 3, kDefaultSimulationBudget});
    std::vector<ShotRequest> racks;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        ShotRequest r;
        r.position = referee::CTablePosition::Rack(desk::standardRack(seed));
        r.isBreak = true;
        racks.push_back(r);
    }
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(brain.choose(racks[next]).strike);
        next = (next + 1) % racks.size();
    }
    // For the break, pot_rate is the share of breaks that pocket something.
    CShotBrain judge({level, 5, kDefaultSimulationBudget});
    desk::CShotEngine engine;
    int pots = 0, fouls = 0;
    for (const ShotRequest& r : racks) {
        const ShotChoice c = judge.choose(r);
        const Forecast f = forecastShot(statusesOf(r, c), r.myGroup, true, play(engine, r, c));
        pots += f.keepsTurn ? 1 : 0;
        fouls += f.foul ? 1 : 0;
    }
    state.counters["pot_rate"] = pots / static_cast<double>(racks.size());
    state.counters["foul_rate"] = fouls / static_cast<double>(racks.size());
}
BENCHMARK(Break)->DenseRange(1, 5, 4)->Unit(benchmark::kMillisecond);

void Snookered(benchmark::State& state) {
    const int budget = static_cast<int>(state.range(0));
    desk::SphereRecords balls{};
    const desk::CViewGeometry view;
    for (int i = 0; i < desk::kBallCount; ++i) {
        const desk::WorldPoint slot = view.traySlot(i);
        balls[static_cast<std::size_t>(i)] = desk::makeSphereRecord(
            i, slot.x, slot.y, desk::kPocketedEarlier, desk::startOrientation());
    }
    auto on = [&](int ball, double x, double y) {
        balls[static_cast<std::size_t>(ball)] =
            desk::makeSphereRecord(ball, x, y, desk::kOnTable, desk::startOrientation());
    };
    on(14, 22.28, 16.15);
    on(3, 15.19, 17.12);
    on(4, 24.10, 14.00);
    on(5, 24.39, 17.37);
    on(6, 22.84, 12.43);
    on(2, 20.30, 14.60);
    on(7, 24.07, 5.97);
    on(desk::kCueBall, 19.57, 1.18);
    ShotRequest r;
    r.position = referee::CTablePosition::AfterShot(balls);
    r.myGroup = desk::kStripes;
    CShotBrain brain({kStrongestLevel, 3, budget});
    int64_t sims = 0;
    for (auto _ : state)
        sims += brain.choose(r).simulations;
    state.counters["sims"] = static_cast<double>(sims) / static_cast<double>(state.iterations());
}
BENCHMARK(Snookered)->Arg(40)->Arg(kDefaultSimulationBudget)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
