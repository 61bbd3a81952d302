#pragma once
// A renderer that keeps what it was asked to draw: the number of frames, the
// last scene and the pointer pictures. Tests hand it to the control through
// its site; it may be shared with the test through a CRecord, since the
// control owns the renderer itself.

#include "desk/control/IDeskRenderer.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace desk::control {

class CRecordingDeskRenderer final : public IDeskRenderer {
public:
    struct CRecord {
        int creates = 0;
        int width = 0;
        int height = 0;
        std::string resourceDir;
        int frames = 0;
        DeskScene last;
        std::vector<int> pointerPictures;
        // Frames drawn on a thread other than the one that created the renderer.
        int foreignThreadFrames = 0;
    };

    explicit CRecordingDeskRenderer(std::shared_ptr<CRecord> record);

    bool Create(QWidget* owner, int width, int height,
                const media::CMediaDirectory& resources) override;
    void Render(const DeskScene& scene) override;
    void SetPointerPicture(int picture) override;

    // A factory for the control's site that records into `record`.
    static DeskRendererFactory factory(std::shared_ptr<CRecord> record);

private:
    std::shared_ptr<CRecord> m_record;
    std::thread::id m_owner;
};

} // namespace desk::control
