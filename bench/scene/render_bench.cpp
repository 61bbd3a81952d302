// The cost of one table frame as the desk draws it while a shot runs: the
// table picture, sixteen lit balls with shadows, the cue stick, the aim line
// and the whole heads-up band (power bar and fill, spin mark, banner, player
// panel, turn clock), plus the target ring and arrow. Each frame is finished
// (glFinish), so the time is what the GPU (or llvmpipe) really spends. The
// shot loop paces frames at 20 ms, so a frame must stay well below that.
//
//   render-bench [--benchmark_repetitions=N]   (needs a display with OpenGL)

#include "desk/model/StandardRack.h"
#include "desk/model/Units.h"
#include "desk/scene/CTableScene.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/text/Gbk.h"

#include <QApplication>
#include <QOpenGLExtraFunctions>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace desk;

namespace {

// A table in the middle of the game: every ball on the table and turned some
// way, the local player aiming with power, prompt and clock running.
control::DeskScene midGameScene() {
    control::DeskScene s;
    s.width = 800;
    s.height = 600;
    s.status = DeskStatus::Aiming;
    s.turnLoc = 0;
    s.clockSeconds = 17;
    s.myGroup = kSolids;
    const SphereRecords rack = standardRack(3);
    for (int i = 0; i < kBallCount; ++i) {
        control::SceneBall& b = s.balls[static_cast<std::size_t>(i)];
        const SphereRecord& r = rack[static_cast<std::size_t>(i)];
        b.shown = true;
        // Spread the rack over the table.
        b.position = {fromInterface(r.m_nX) * 1.6 - 8.0 + std::sin(double(i)) * 3.0,
                      fromInterface(r.m_nY) * 1.3, kBallRadius};
        const double a = 0.4 * i;
        b.rotation = {std::cos(a), -std::sin(a), 0, 0, std::sin(a), std::cos(a), 0, 0, 0, 0, 1, 0};
    }
    const Vec3 cue = s.balls[kCueBall].position;
    s.cue = {true, cue, -0.12, 3.5};
    s.aimLine = {true, {cue.x, cue.y}, {cue.x + 20.0, cue.y - 2.4}};
    s.targetBall = 4;
    s.targetLegal = true;
    const Vec3 target = s.balls[4].position;
    s.arrow = {true, {target.x, target.y}, {target.x + 40.0, target.y - 10.0}};
    s.power = 1300;
    s.spinMark = {715, 516};
    s.players[0] = {platform::gbk::fromUtf8("张三"), 3, 1, true};
    s.players[1] = {platform::gbk::fromUtf8("李四"), 5, 0, true};
    s.banner = {true, platform::gbk::fromUtf8("请张三开始击球,获得1次机会")};
    return s;
}

void BM_TableSceneFrame(benchmark::State& state) {
    platform::CScopedMessageBoxHook quiet;
    scene::CTableScene scene(render::CRenderDevice::Target::Offscreen);
    media::CMediaDirectory dir;
    dir.Set(BILLIARDS_RESOURCE_DIR);
    if (!scene.Create(nullptr, 800, 600, dir)) {
        state.SkipWithError("no OpenGL device");
        return;
    }
    control::DeskScene s = midGameScene();
    int frame = 0;
    for (auto _ : state) {
        // The balls turn a little every frame, as they do while rolling.
        const double a = 0.05 * ++frame;
        for (auto& b : s.balls)
            b.rotation = {std::cos(a), 0, std::sin(a),  0, 0,           1,
                          0,           0, -std::sin(a), 0, std::cos(a), 0};
        scene.Render(s);
        scene.Device().Gl()->glFinish();
    }
}
BENCHMARK(BM_TableSceneFrame)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(1.0)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
