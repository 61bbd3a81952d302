// One table frame's worth of drawing at 800 × 600 with the generated
// pictures: the table picture, sixteen balls with shadows, the cue, the aim
// line and the heads-up band with its texts, finished (glFinish) so that the GPU (or
// llvmpipe) really finishes the frame. Run under a display with OpenGL.

#include "desk/media/PictureLoader.h"
#include "desk/render/CDrawContext.h"
#include "desk/render/CRenderDevice.h"
#include "platform/msgbox/MessageBox.h"

#include <QGuiApplication>
#include <QOpenGLExtraFunctions>
#include <benchmark/benchmark.h>
#include <cmath>

using namespace desk;
using namespace desk::render;

namespace {

void BM_TableFrame(benchmark::State& state) {
    platform::CScopedMessageBoxHook quiet;
    CRenderDevice device;
    if (!device.Create(nullptr, 800, 600, CRenderDevice::Target::Offscreen)) {
        state.SkipWithError("no OpenGL device");
        return;
    }
    media::CMediaDirectory dir;
    dir.Set(BILLIARDS_RESOURCE_DIR);
    std::vector<CPicture> pictures;
    for (const auto& sheet : media::pictureSheets())
        pictures.emplace_back(media::loadPicture(dir, sheet));
    std::vector<CGlTexture> balls;
    for (int i = 0; i < media::kBallCount; ++i)
        balls.emplace_back(media::loadTexture(dir, media::ballFile(i)),
                           TextureOptions{true, true, false});
    CGlTexture cueTexture(media::loadTexture(dir, media::kCueFile),
                          TextureOptions{true, true, true});
    CDrawContext draw(device);
    CMesh sphere(makeSphereMesh(1.f));
    CMesh cue(makeCueMesh());
    CTextFace label(14, 7, 500);
    CTextFace banner(12, 6, 500);
    auto picture = [&](media::PictureId id) -> CPicture& { return pictures[std::size_t(id)]; };
    const float rotation[9] = {0.36f, 0.48f, -0.8f, -0.8f, 0.6f, 0.f, 0.48f, 0.64f, 0.6f};

    for (auto _ : state) {
        device.BeginFrame();
        device.Clear(0xFF3174BB);
        draw.Picture(picture(media::PictureId::Desk), 0, {0, 0});
        draw.Mesh(cue, cueModelMatrix({-13.f, 3.f, 1.f}, 0.1f, 2.f), &cueTexture, cueMaterial());
        draw.Strip(picture(media::PictureId::Line), 0, {220, 260}, {1, -0.1}, {5, 2}, 0x7FFFFFFF);
        for (int i = 0; i < 16; ++i) {
            const QVector3D centre(-20.f + 2.6f * float(i), 5.f + 4.f * std::sin(float(i)), 1.f);
            const QPointF p = CCamera::Project(centre, 800, 600);
            draw.Picture(picture(media::PictureId::Shade), 0, p - QPointF(10, 10),
                         {25 / 32.0, 25 / 32.0}, 0x337F7F7F);
            draw.Mesh(sphere, ballModelMatrix(centre, rotation), &balls[std::size_t(i)],
                      ballMaterial());
        }
        draw.Fill(QRect(24, 484, 16, 100), 0xFF794920);
        draw.Picture(picture(media::PictureId::PowerFill), 0, {24, 534}, {11 / 32.0, 50 / 32.0});
        draw.Picture(picture(media::PictureId::Star), 0, {715, 516});
        draw.Picture(picture(media::PictureId::List), 0, {160, 100}, {445 / 64.0, 30 / 64.0},
                     0x4CFFFFFF);
        draw.Text(banner, QString::fromUtf8("请击球"), QRect(160, 100, 445, 30));
        for (int loc = 0; loc < 2; ++loc) {
            const int top = 510 + 16 * loc;
            draw.Text(label, QString::fromUtf8(loc ? "李四" : "张三"), QRect(80, top, 200, 20));
            draw.Picture(picture(media::PictureId::Marks), loc, {333, double(top)});
            draw.Text(label, QString::number(3 + loc), QRect(368, top, 26, 20));
            draw.Text(label, QString::number(1 - loc), QRect(403, top, 26, 20));
        }
        for (int k = 0; k < 5; ++k)
            draw.Picture(picture(media::PictureId::Digits), (k * 3) % 11, {468.0 + 8 * k, 513.6},
                         {0.25, 0.4});
        draw.Flush();
        device.EndFrame();
        device.Present();
        device.Gl()->glFinish(); // wait until the frame is really drawn
    }
}
BENCHMARK(BM_TableFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
