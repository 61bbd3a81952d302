#include "desk/control/RecordingDeskRenderer.h"

namespace desk::control {

CRecordingDeskRenderer::CRecordingDeskRenderer(std::shared_ptr<CRecord> record)
    : m_record(std::move(record)), m_owner(std::this_thread::get_id()) {}

bool CRecordingDeskRenderer::Create(QWidget*, int width, int height,
                                    const media::CMediaDirectory& resources) {
    ++m_record->creates;
    m_record->width = width;
    m_record->height = height;
    m_record->resourceDir = resources.Dir();
    return true;
}

void CRecordingDeskRenderer::Render(const DeskScene& scene) {
    ++m_record->frames;
    if (std::this_thread::get_id() != m_owner)
        ++m_record->foreignThreadFrames;
    m_record->last = scene;
}

void CRecordingDeskRenderer::SetPointerPicture(int picture) {
    m_record->pointerPictures.push_back(picture);
}

DeskRendererFactory CRecordingDeskRenderer::factory(std::shared_ptr<CRecord> record) {
    return [record]() -> std::unique_ptr<IDeskRenderer> {
        return std::make_unique<CRecordingDeskRenderer>(record);
    };
}

} // namespace desk::control
