#include "desk/sound/AudioSystem.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace desk::sound {

namespace {

class CQtVoice : public ISoundVoice {
public:
    bool Load(const QString& path) override {
        const QFileInfo info(path);
        if (!info.isFile() || !info.isReadable())
            return false;
        m_effect.setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
        return true;
    }
    void Start(int plays) override {
        if (m_effect.status() == QSoundEffect::Error)
            return;
        m_effect.setLoopCount(plays);
        m_effect.play();
    }
    void Stop() override { m_effect.stop(); }
    bool IsSounding() const override { return m_effect.isPlaying(); }

private:
    QSoundEffect m_effect;
};

// Qt reads WAVE files itself and its sound effects are always available; a
// machine without an audio device simply stays silent.
class CQtAudioSystem : public IAudioSystem {
public:
    bool CreateLoader() override { return true; }
    bool CreatePlayback() override { return true; }
    std::unique_ptr<ISoundVoice> CreateVoice() override { return std::make_unique<CQtVoice>(); }
};

} // namespace

std::unique_ptr<IAudioSystem> makeQtAudioSystem() {
    return std::make_unique<CQtAudioSystem>();
}

} // namespace desk::sound
