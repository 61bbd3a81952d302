// desk-control-bench: a full break at power 2000 stepped by the control's
// shot worker, with nothing pacing it, so the figures are the simulation
// plus what the control adds on top (compare desk-bench's Break):
//
//   BreakEveryStepDrawn  every step handed to the UI thread as a frame (a
//                        blocking send and a scene each), as when the
//                        display keeps up
//   BreakNoFrames        the worker never waits for a frame, as when the
//                        display falls behind; only the shot's events cross
//   SceneSnapshot        one scene copied out of the control, idle table

#include "desk/control/CDesk.h"
#include "desk/model/StandardRack.h"

#include <QApplication>
#include <QEventLoop>
#include <atomic>
#include <benchmark/benchmark.h>

namespace {

using namespace desk;
using namespace desk::control;

class CountingRenderer final : public IDeskRenderer {
public:
    explicit CountingRenderer(std::shared_ptr<int64_t> frames) : m_frames(std::move(frames)) {}
    bool Create(QWidget*, int, int, const media::CMediaDirectory&) override { return true; }
    void Render(const DeskScene& scene) override {
        ++*m_frames;
        benchmark::DoNotOptimize(scene.balls);
    }
    void SetPointerPicture(int) override {}

private:
    std::shared_ptr<int64_t> m_frames;
};

// Time that moves only by the worker's pauses: every step is drawn.
class AheadClock final : public IShotClock {
public:
    int64_t nowMs() override { return m_now; }
    void sleepMs(int ms) override { m_now += ms; }

private:
    std::atomic<int64_t> m_now{0};
};

// Time that runs away: no step is drawn and nothing pauses.
class BehindClock final : public IShotClock {
public:
    int64_t nowMs() override { return m_now += 1000; }
    void sleepMs(int) override {}

private:
    std::atomic<int64_t> m_now{0};
};

void runBreaks(benchmark::State& state, std::shared_ptr<IShotClock> clock) {
    auto frames = std::make_shared<int64_t>(0);
    CDesk::Services services;
    services.renderers = [frames] { return std::make_unique<CountingRenderer>(frames); };
    services.clock = std::move(clock);
    CDesk desk(std::move(services));
    desk.InitTable(nullptr, 0, 800, 600, 0);
    desk.SetWatchStyle(1);
    const SphereRecords rack = standardRack(1);
    int64_t shots = 0;
    for (auto _ : state) {
        state.PauseTiming();
        desk.SetStatus(DeskStatus::BreakInFlight);
        desk.StartOneHand(0, 16, rack);
        *frames = 0;
        state.ResumeTiming();
        desk.StartCrash(0, 0, 2000, 0, 0, 0);
        while (desk.IsShotRunning())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ++shots;
    }
    state.counters["frames_per_shot"] = static_cast<double>(*frames);
}

void BreakEveryStepDrawn(benchmark::State& state) {
    runBreaks(state, std::make_shared<AheadClock>());
}
BENCHMARK(BreakEveryStepDrawn)->Unit(benchmark::kMillisecond);

void BreakNoFrames(benchmark::State& state) {
    runBreaks(state, std::make_shared<BehindClock>());
}
BENCHMARK(BreakNoFrames)->Unit(benchmark::kMillisecond);

void SceneSnapshot(benchmark::State& state) {
    CDesk desk({});
    desk.InitTable(nullptr, 0, 800, 600, 0);
    desk.StartOneHand(0, 16, standardRack(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(desk.CurrentScene());
}
BENCHMARK(SceneSnapshot)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
