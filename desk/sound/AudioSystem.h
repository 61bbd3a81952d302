#pragma once
// What the sound effects need from an audio interface: one voice per effect
// that can load a WAVE file, start, stop and tell whether it still sounds.

#include <QString>
#include <memory>

namespace desk::sound {

class ISoundVoice {
public:
    virtual ~ISoundVoice() = default;
    // Starts loading the file; false when it cannot be read (the voice stays silent).
    virtual bool Load(const QString& path) = 0;
    // Plays the whole sound `plays` times in a row.
    virtual void Start(int plays) = 0;
    virtual void Stop() = 0;
    virtual bool IsSounding() const = 0;
};

class IAudioSystem {
public:
    virtual ~IAudioSystem() = default;
    // The file side (reading and decoding WAVE files) and the playback side;
    // false when that part of the audio system cannot be made at all.
    virtual bool CreateLoader() = 0;
    virtual bool CreatePlayback() = 0;
    virtual std::unique_ptr<ISoundVoice> CreateVoice() = 0;
};

// Qt Multimedia: one QSoundEffect per voice. Without an audio device the
// voices load and "play" in silence.
std::unique_ptr<IAudioSystem> makeQtAudioSystem();

} // namespace desk::sound
