#include "desk/sound/CSoundEffects.h"

#include "desk/media/MediaDirectory.h"
#include "platform/msgbox/MessageBox.h"

#include <QFile>
#include <QThread>

namespace desk::sound {

CSoundEffects::CSoundEffects(std::unique_ptr<IAudioSystem> audio)
    : m_audio(std::move(audio)), m_uiThread(std::make_unique<QObject>()) {}

// m_uiThread goes first, and with it every Play still queued to it.
CSoundEffects::~CSoundEffects() {
    m_uiThread.reset();
}

void CSoundEffects::LoadAll(const media::CMediaDirectory& dir, QWidget* owner) {
    if (!m_audio)
        return;
    if (!m_bHaveLoader) {
        if (!m_audio->CreateLoader()) {
            platform::MessageBox(owner, QString::fromUtf8("IID_IDirectMusicLoader8 没建立"));
            return;
        }
        m_bHaveLoader = true;
    }
    if (!m_bHavePlayback) {
        if (!m_audio->CreatePlayback()) {
            platform::MessageBox(owner, QString::fromUtf8("IID_IDirectMusicPerformance8 没建立"));
            return;
        }
        m_bHavePlayback = true;
    }
    // The set is loaded once, from the directory of the first call.
    if (!m_sSoundDir)
        m_sSoundDir = dir.SoundDir().value_or(std::string());
    LoadMissing();
}

void CSoundEffects::LoadMissing() {
    if (!m_sSoundDir || !m_bEnabled)
        return;
    for (Effect effect : media::soundLoadOrder()) {
        Slot& slot = m_slots[static_cast<std::size_t>(effect)];
        if (slot.tried)
            continue;
        slot.tried = true;
        if (m_sSoundDir->empty())
            continue;
        auto voice = m_audio->CreateVoice();
        const std::string path = *m_sSoundDir + "/" + std::string(media::soundFile(effect));
        if (voice && voice->Load(QFile::decodeName(QByteArray::fromStdString(path))))
            slot.voice = std::move(voice);
    }
}

void CSoundEffects::SetEnabled(bool on) {
    m_bEnabled = on;
    // Sound switched on after a start with sound off: load what was skipped,
    // so that switching on is heard and not just remembered.
    if (on && QThread::currentThread() == m_uiThread->thread())
        LoadMissing();
}

bool CSoundEffects::IsLoaded(Effect effect) const {
    return m_slots[static_cast<std::size_t>(effect)].voice != nullptr;
}

void CSoundEffects::Play(Effect effect) {
    if (!m_bEnabled)
        return;
    if (QThread::currentThread() == m_uiThread->thread()) {
        PlayNow(effect);
        return;
    }
    QMetaObject::invokeMethod(
        m_uiThread.get(), [this, effect] { PlayNow(effect); }, Qt::QueuedConnection);
}

void CSoundEffects::PlayNow(Effect effect) {
    const auto index = static_cast<std::size_t>(effect);
    if (!m_bEnabled || index >= m_slots.size())
        return;
    ISoundVoice* voice = m_slots[index].voice.get();
    if (!voice)
        return;
    if (m_sounding && m_sounding->IsSounding())
        m_sounding->Stop();
    voice->Start(kPlays);
    m_sounding = voice;
}

} // namespace desk::sound
