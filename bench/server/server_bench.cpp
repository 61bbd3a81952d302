// server-bench: shots judged per second by the table server, each with its
// replay. A game's worth of real shots is recorded first (random strikes
// from the positions the previous shots left, ball in hand placed on the
// break spot, a new rack when the table runs low); each iteration then does
// what the server does with one 617: parse the body, replay the shot from the
// server's position, check the report, apply the rules, build the 618.
//
//   JudgeShot     one reported shot, as above
//   ReplayOnly    the replay alone, for scale

#include "billiards/protocol/BilliardsMessages.h"
#include "desk/model/StandardRack.h"
#include "desk/model/Units.h"
#include "tools/referee/EightBallReferee.h"
#include "tools/referee/ReportJudge.h"

#include <benchmark/benchmark.h>
#include <random>
#include <vector>

namespace {

using namespace referee;

struct RecordedShot {
    CTablePosition position;
    desk::Strike strike;
    std::vector<uint8_t> body; // the shooter's 617
};

const std::vector<RecordedShot>& recordedShots() {
    static const std::vector<RecordedShot> shots = [] {
        std::vector<RecordedShot> out;
        std::mt19937 rng(31);
        desk::CShotEngine engine;
        CTablePosition position = CTablePosition::Rack(desk::standardRack(5));
        for (int k = 0; k < 200; ++k) {
            const desk::Strike strike{-static_cast<int32_t>(rng() % 6283185),
                                      static_cast<int32_t>(300 + rng() % 1500),
                                      static_cast<int32_t>(rng() % 600000) - 300000};
            const desk::ShotOutcome o = ReplayShot(engine, position, desk::kOpenTable, strike);
            out.push_back(
                {position, strike,
                 protocol::CCrash_End_InPlay::FromDesk(0, 16, o.balls.data(), o.judge).Build()});
            int onTable = 0;
            for (int i = 0; i < desk::kObjectBallCount; ++i)
                onTable += o.balls[static_cast<std::size_t>(i)].m_nStatus == desk::kOnTable;
            if (onTable < 4) {
                position = CTablePosition::Rack(desk::standardRack(rng()));
                continue;
            }
            position = CTablePosition::AfterShot(o.balls);
            if (o.balls[desk::kCueBall].m_nStatus == desk::kPocketedThisShot) {
                const desk::BallPosition spot = desk::breakSpot();
                position.PlaceCueBall({desk::toInterface(spot.x), desk::toInterface(spot.y)});
            }
        }
        return out;
    }();
    return shots;
}

void JudgeShot(benchmark::State& state) {
    const auto& shots = recordedShots();
    desk::CShotEngine engine;
    std::size_t k = 0;
    for (auto _ : state) {
        const RecordedShot& shot = shots[k++ % shots.size()];
        protocol::CCrash_End_InPlay m;
        if (!m.Parse(shot.body)) {
            state.SkipWithError("bad body");
            return;
        }
        ReportedShot report;
        std::copy(m.m_Sphere.begin(), m.m_Sphere.end(), report.balls.begin());
        report.touchedNothing = m.m_bIsTouch_Nothing;
        report.touchedMyself = m.m_bIsTouch_MySelf;
        report.noCushion = m.m_bIsTouch_No_Desk;
        const JudgedReport j =
            JudgeReport(engine, shot.position, desk::kOpenTable, shot.strike, report);
        if (!j.identical) {
            state.SkipWithError("a replay differed from the recorded shot");
            return;
        }
        // The rules on the shot's facts (judged as a break: the recorded
        // shots come from positions no game state of their own goes with).
        CEightBallReferee referee;
        referee.StartRack(0);
        benchmark::DoNotOptimize(referee.Break(j.facts));
        protocol::CCrash_End_InPlay_Server verdict;
        std::copy(j.balls.begin(), j.balls.end(), verdict.m_Sphere.begin());
        benchmark::DoNotOptimize(verdict.Build());
    }
    state.counters["shots_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(JudgeShot)->Unit(benchmark::kMillisecond);

void ReplayOnly(benchmark::State& state) {
    const auto& shots = recordedShots();
    desk::CShotEngine engine;
    std::size_t k = 0;
    int64_t steps = 0;
    for (auto _ : state) {
        const RecordedShot& shot = shots[k++ % shots.size()];
        const desk::ShotOutcome o =
            ReplayShot(engine, shot.position, desk::kOpenTable, shot.strike);
        steps += o.steps;
        benchmark::DoNotOptimize(o.judge);
    }
    state.counters["shots_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["steps_per_shot"] =
        benchmark::Counter(static_cast<double>(steps) / static_cast<double>(state.iterations()));
}
BENCHMARK(ReplayOnly)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
