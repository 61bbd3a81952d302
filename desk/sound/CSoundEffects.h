#pragma once
// The seven sound effects of the desk on a real audio interface.
//
// Only one effect sounds at a time: starting one cuts off the one still
// playing. Play may be called from the shot worker; the sound is started on
// the thread that made this object (the UI thread).

#include "desk/sound/AudioSystem.h"
#include "desk/sound/ISoundEffects.h"

#include <QObject>
#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <string>

namespace desk::sound {

class CSoundEffects : public ISoundEffects {
public:
    // Each effect plays once and is then repeated once.
    static constexpr int kPlays = 2;

    explicit CSoundEffects(std::unique_ptr<IAudioSystem> audio);
    ~CSoundEffects() override;

    void LoadAll(const media::CMediaDirectory& dir, QWidget* owner) override;
    void Play(Effect effect) override;
    void SetEnabled(bool on) override;
    bool IsEnabled() const override { return m_bEnabled; }

    bool IsLoaded(Effect effect) const;

private:
    struct Slot {
        std::unique_ptr<ISoundVoice> voice; // loaded when set
        bool tried = false;
    };

    void LoadMissing();
    void PlayNow(Effect effect);

    std::unique_ptr<IAudioSystem> m_audio;
    bool m_bHaveLoader = false;
    bool m_bHavePlayback = false;
    std::optional<std::string> m_sSoundDir; // known once LoadAll has run
    std::array<Slot, media::kSoundCount> m_slots;
    ISoundVoice* m_sounding = nullptr;
    std::atomic<bool> m_bEnabled{true};
    // Lives on the UI thread; calls from other threads are queued to it.
    std::unique_ptr<QObject> m_uiThread;
};

} // namespace desk::sound
