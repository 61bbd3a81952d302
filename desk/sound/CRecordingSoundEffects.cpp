#include "desk/sound/CRecordingSoundEffects.h"

namespace desk::sound {

void CRecordingSoundEffects::LoadAll(const media::CMediaDirectory&, QWidget*) {
    ++m_nLoads;
}

void CRecordingSoundEffects::Play(Effect effect) {
    if (!m_bEnabled || m_nLoads == 0)
        return;
    const std::lock_guard lock(m_mutex);
    m_played.push_back(effect);
}

std::vector<Effect> CRecordingSoundEffects::Played() const {
    const std::lock_guard lock(m_mutex);
    return m_played;
}

void CRecordingSoundEffects::Clear() {
    const std::lock_guard lock(m_mutex);
    m_played.clear();
}

} // namespace desk::sound
