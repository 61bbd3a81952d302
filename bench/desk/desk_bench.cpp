// desk-bench: what a shot costs the table server, a bot or a desk's shot
// worker when nothing paces it.
//
//   Break           a full break from the standard rack at power 2000
//   StepLimit       a shot that reaches the 1001-step limit with all sixteen
//                   balls kept rolling (the worst a shot can cost)
//   PlainOdeStep    for scale: one step of a bare ODE world of the same size
//                   (16 rolling spheres, 25 boxes), collision pass and QuickStep

#include "desk/model/StandardRack.h"
#include "desk/physics/ShotEngine.h"

#include <array>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace desk;

void setStepCounters(benchmark::State& state, int64_t steps) {
    state.counters["steps"] =
        benchmark::Counter(static_cast<double>(steps) / static_cast<double>(state.iterations()));
    state.counters["steps_per_s"] =
        benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
    state.counters["us_per_step"] = benchmark::Counter(
        static_cast<double>(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
        benchmark::Counter::OneK::kIs1000);
}

void Break(benchmark::State& state) {
    const SphereRecords rack = standardRack(1);
    CShotEngine engine;
    int64_t steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        engine.placeRack(rack);
        state.ResumeTiming();
        const ShotOutcome out = engine.runShot({0, 2000, 0});
        steps += out.steps;
        benchmark::DoNotOptimize(out.judge);
    }
    setStepCounters(state, steps);
}
BENCHMARK(Break)->Unit(benchmark::kMillisecond);

// Sixteen balls spread over the table, each kept at a rolling speed of at
// least 5 so that nothing ever settles and the shot runs into the limit.
void StepLimit(benchmark::State& state) {
    SphereRecords rack{};
    for (int i = 0; i < kBallCount; ++i) {
        const double x = -20.0 + 5.5 * (i % 8);
        const double y = i < 8 ? 0.0 : 11.0;
        rack[static_cast<std::size_t>(i)] = makeSphereRecord(i, x, y, kOnTable, startOrientation());
    }
    CShotEngine engine;
    int64_t steps = 0;
    for (auto _ : state) {
        state.PauseTiming();
        engine.placeRack(rack);
        state.ResumeTiming();
        engine.strike({523599, 2000, 0});
        for (;;) {
            const StepReport& r = engine.step();
            if (r.finished) {
                steps += r.step;
                break;
            }
            for (int i = 0; i < kBallCount; ++i) {
                const Vec3 v = engine.world().linearVelocity(i);
                const double s = std::hypot(v.x, v.y);
                if (engine.ball(i).inPlay && s < 5.0) {
                    const double a = s > 0 ? std::atan2(v.y, v.x) : 0.7 * i;
                    engine.world().enable(i);
                    engine.world().setLinearVelocity(i, {5 * std::cos(a), 5 * std::sin(a), 0});
                }
            }
        }
        engine.finishShot();
    }
    setStepCounters(state, steps);
}
BENCHMARK(StepLimit)->Unit(benchmark::kMillisecond);

struct PlainWorld {
    dWorldID world;
    dSpaceID space;
    dJointGroupID contacts;
    std::array<dBodyID, 16> bodies{};
};

void plainNear(void* data, dGeomID a, dGeomID b) {
    auto* w = static_cast<PlainWorld*>(data);
    std::array<dContact, 4> c{};
    const int n = dCollide(a, b, 4, &c[0].geom, sizeof(dContact));
    for (int k = 0; k < n; ++k) {
        c[static_cast<std::size_t>(k)].surface.mode = dContactBounce;
        c[static_cast<std::size_t>(k)].surface.mu = 1.0;
        c[static_cast<std::size_t>(k)].surface.bounce = 0.9;
        dJointAttach(dJointCreateContact(w->world, w->contacts, &c[static_cast<std::size_t>(k)]),
                     dGeomGetBody(a), dGeomGetBody(b));
    }
}

void PlainOdeStep(benchmark::State& state) {
    dInitODE2(0);
    dAllocateODEDataForThread(dAllocateMaskAll);
    PlainWorld w{dWorldCreate(), dSimpleSpaceCreate(nullptr), dJointGroupCreate(0), {}};
    dWorldSetGravity(w.world, 0, 0, -9.81);
    const auto boxes = cushionBoxes(CTableLayout());
    for (const BoxSpec& b : boxes)
        dGeomSetPosition(dCreateBox(w.space, b.sx, b.sy, b.sz), b.cx, b.cy, b.cz);
    const BoxSpec bed = bedBox();
    dGeomSetPosition(dCreateBox(w.space, bed.sx, bed.sy, bed.sz), bed.cx, bed.cy, bed.cz);
    for (int i = 0; i < 16; ++i) {
        dBodyID body = dBodyCreate(w.world);
        dMass m;
        dMassSetSphere(&m, 0.7, 1.0);
        dBodySetMass(body, &m);
        dGeomSetBody(dCreateSphere(w.space, 1.0), body);
        dBodySetPosition(body, -20.0 + 5.5 * (i % 8), i < 8 ? 0.0 : 11.0, 1.0);
        dBodySetLinearVel(body, 5 * std::cos(0.7 * i), 5 * std::sin(0.7 * i), 0);
        w.bodies[static_cast<std::size_t>(i)] = body;
    }
    int64_t steps = 0;
    for (auto _ : state) {
        dSpaceCollide(w.space, &w, &plainNear);
        dWorldQuickStep(w.world, 0.05);
        dJointGroupEmpty(w.contacts);
        ++steps;
    }
    setStepCounters(state, steps);
    dJointGroupDestroy(w.contacts);
    dSpaceDestroy(w.space);
    dWorldDestroy(w.world);
}
BENCHMARK(PlainOdeStep)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
