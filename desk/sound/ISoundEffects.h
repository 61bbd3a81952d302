#pragma once
// The desk's sound effects as the control sees them. The control calls Play
// wherever a shot or the game makes a sound; tests hand it a recorder.

#include "desk/media/MediaFiles.h"

class QWidget;

namespace desk::media {
class CMediaDirectory;
}

namespace desk::sound {

using Effect = media::SoundId;

class ISoundEffects {
public:
    virtual ~ISoundEffects() = default;

    // At InitTable: loads the effects from "<dir>/wav" once; owner is the
    // window that messages about a missing audio system belong to.
    virtual void LoadAll(const media::CMediaDirectory& dir, QWidget* owner) = 0;
    // Plays the effect when sound is on and the effect could be loaded. Safe
    // to call from the shot worker: the sound starts on the UI thread.
    virtual void Play(Effect effect) = 0;
    // Switches all effects on or off; loaded effects stay loaded.
    virtual void SetEnabled(bool on) = 0;
    virtual bool IsEnabled() const = 0;
};

// The host's sound switch: only 1 means on.
constexpr bool soundSwitchOn(long issound) {
    return issound == 1;
}

} // namespace desk::sound
