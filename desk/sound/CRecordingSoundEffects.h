#pragma once
// Sound effects that only write down what would have sounded, in order.
// For tests of the control and for running without audio.

#include "desk/sound/ISoundEffects.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace desk::sound {

class CRecordingSoundEffects : public ISoundEffects {
public:
    void LoadAll(const media::CMediaDirectory& dir, QWidget* owner) override;
    void Play(Effect effect) override;
    void SetEnabled(bool on) override { m_bEnabled = on; }
    bool IsEnabled() const override { return m_bEnabled; }

    // Effects that would have sounded: Play while enabled and after LoadAll.
    std::vector<Effect> Played() const;
    int LoadCount() const { return m_nLoads; }
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<Effect> m_played;
    std::atomic<bool> m_bEnabled{true};
    std::atomic<int> m_nLoads{0};
};

} // namespace desk::sound
