#include "desk/media/MediaDirectory.h"
#include "desk/sound/CSoundEffects.h"
#include "platform/msgbox/MessageBox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <thread>

using namespace desk;
using namespace desk::sound;

namespace {

struct VoiceEvent {
    std::string file;
    std::string action; // "load", "start 2", "stop"
    bool onUiThread;
    bool operator==(const VoiceEvent&) const = default;
};

struct AudioLog {
    std::vector<VoiceEvent> events;
    bool loader = true;
    bool playback = true;
};

class CFakeVoice : public ISoundVoice {
public:
    explicit CFakeVoice(AudioLog& log) : m_log(log) {}
    bool Load(const QString& path) override {
        m_file = QFileInfo(path).fileName().toStdString();
        log("load");
        m_path = path;
        return QFile::exists(path);
    }
    void Start(int plays) override {
        log("start " + std::to_string(plays));
        m_sounding = true;
    }
    void Stop() override {
        log("stop");
        m_sounding = false;
    }
    bool IsSounding() const override { return m_sounding; }
    void finish() { m_sounding = false; }

private:
    void log(std::string action) {
        m_log.events.push_back(
            {m_file, std::move(action), QThread::currentThread() == qApp->thread()});
    }
    AudioLog& m_log;
    std::string m_file;
    QString m_path;
    bool m_sounding = false;
};

class CFakeAudio : public IAudioSystem {
public:
    explicit CFakeAudio(AudioLog& log) : m_log(log) {}
    bool CreateLoader() override { return m_log.loader; }
    bool CreatePlayback() override { return m_log.playback; }
    std::unique_ptr<ISoundVoice> CreateVoice() override {
        return std::make_unique<CFakeVoice>(m_log);
    }

private:
    AudioLog& m_log;
};

// A 16-bit mono PCM WAVE of n samples.
QByteArray waveFile(int samples) {
    QByteArray data(samples * 2, '\0');
    for (int i = 0; i < samples; ++i)
        data[2 * i + 1] = char((i * 7) & 0x3F);
    auto le32 = [](quint32 v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto le16 = [](quint16 v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    return "RIFF" + le32(36 + quint32(data.size())) + "WAVEfmt " + le32(16) + le16(1) + le16(1) +
           le32(22050) + le32(44100) + le16(2) + le16(16) + "data" + le32(quint32(data.size())) +
           data;
}

class SoundEffectsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        ASSERT_TRUE(QDir(m_tmp.path()).mkpath("wav"));
        for (Effect e : media::soundLoadOrder())
            writeWave(e);
        ASSERT_TRUE(m_dir.Set(m_tmp.path().toStdString()));
    }
    void writeWave(Effect e) {
        QFile file(m_tmp.path() + "/wav/" + QString::fromLatin1(media::soundFile(e)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(waveFile(2205));
    }
    std::unique_ptr<CSoundEffects> make() {
        return std::make_unique<CSoundEffects>(std::make_unique<CFakeAudio>(m_log));
    }
    std::vector<VoiceEvent> take() { return std::exchange(m_log.events, {}); }

    QTemporaryDir m_tmp;
    media::CMediaDirectory m_dir;
    AudioLog m_log;
    platform::CScopedMessageBoxHook m_box;
};

TEST_F(SoundEffectsTest, LoadsTheSevenFilesOnceInOrder) {
    auto sounds = make();
    sounds->LoadAll(m_dir, nullptr);
    sounds->LoadAll(m_dir, nullptr);
    const std::vector<std::string> order = {"butup.wav",    "autodisc.wav", "ball_down.wav",
                                            "clonem.wav",   "rgnm.wav",     "hurry.wav",
                                            "SlideDown.wav"};
    const auto events = take();
    ASSERT_EQ(events.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(events[i], (VoiceEvent{order[i], "load", true}));
    EXPECT_TRUE(m_box.calls().empty());
}

TEST_F(SoundEffectsTest, ANewEffectCutsOffTheOneStillSounding) {
    auto sounds = make();
    sounds->LoadAll(m_dir, nullptr);
    take();
    sounds->Play(Effect::CueContact);
    sounds->Play(Effect::CueContact);
    sounds->Play(Effect::BallDown);
    EXPECT_EQ(take(), (std::vector<VoiceEvent>{{"autodisc.wav", "start 2", true},
                                               {"autodisc.wav", "stop", true},
                                               {"autodisc.wav", "start 2", true},
                                               {"autodisc.wav", "stop", true},
                                               {"ball_down.wav", "start 2", true}}));
}

TEST_F(SoundEffectsTest, SwitchingOffSilencesEverythingAndOnAgainNeedsNoReload) {
    auto sounds = make();
    sounds->LoadAll(m_dir, nullptr);
    take();
    sounds->SetEnabled(false);
    sounds->Play(Effect::Hurry);
    sounds->Play(Effect::Strike);
    EXPECT_TRUE(take().empty());
    sounds->SetEnabled(true);
    sounds->Play(Effect::Hurry);
    EXPECT_EQ(take(), (std::vector<VoiceEvent>{{"hurry.wav", "start 2", true}}));
}

TEST_F(SoundEffectsTest, SoundSwitchedOnAfterASilentStartIsHeard) {
    auto sounds = make();
    sounds->SetEnabled(false);
    sounds->LoadAll(m_dir, nullptr);
    EXPECT_TRUE(take().empty()) << "a disabled effect does not load";
    sounds->SetEnabled(true);
    EXPECT_EQ(take().size(), 7u);
    sounds->Play(Effect::GiveUp);
    EXPECT_EQ(take(), (std::vector<VoiceEvent>{{"SlideDown.wav", "start 2", true}}));
}

TEST_F(SoundEffectsTest, AMissingFileLeavesOnlyThatEffectSilent) {
    QFile::remove(m_tmp.path() + "/wav/clonem.wav");
    auto sounds = make();
    sounds->LoadAll(m_dir, nullptr);
    EXPECT_FALSE(sounds->IsLoaded(Effect::CueBallDown));
    EXPECT_TRUE(sounds->IsLoaded(Effect::BallDown));
    take();
    sounds->Play(Effect::CueBallDown);
    sounds->Play(Effect::BallDown);
    EXPECT_EQ(take(), (std::vector<VoiceEvent>{{"ball_down.wav", "start 2", true}}));
    EXPECT_TRUE(m_box.calls().empty());
}

TEST_F(SoundEffectsTest, CallsFromTheShotWorkerStartOnTheUiThreadInOrder) {
    auto sounds = make();
    sounds->LoadAll(m_dir, nullptr);
    take();
    std::thread worker([&] {
        sounds->Play(Effect::Strike);
        sounds->Play(Effect::CueContact);
    });
    worker.join();
    EXPECT_TRUE(take().empty()) << "nothing starts on the worker";
    QCoreApplication::processEvents();
    EXPECT_EQ(take(), (std::vector<VoiceEvent>{{"butup.wav", "start 2", true},
                                               {"butup.wav", "stop", true},
                                               {"autodisc.wav", "start 2", true}}));
}

TEST_F(SoundEffectsTest, QueuedCallsDieWithTheEffects) {
    auto sounds = make();
    sounds->LoadAll(m_dir, nullptr);
    take();
    std::thread worker([&] { sounds->Play(Effect::Strike); });
    worker.join();
    sounds.reset();
    QCoreApplication::processEvents();
    EXPECT_TRUE(take().empty());
}

TEST_F(SoundEffectsTest, AMissingAudioSystemIsReportedAndLeavesTheDeskSilent) {
    struct Case {
        bool loader, playback;
        const char* text;
    };
    for (const Case c : {Case{false, true, "IID_IDirectMusicLoader8 没建立"},
                         Case{true, false, "IID_IDirectMusicPerformance8 没建立"}}) {
        m_box.clear();
        m_log.loader = c.loader;
        m_log.playback = c.playback;
        auto sounds = make();
        sounds->LoadAll(m_dir, nullptr);
        sounds->Play(Effect::Strike);
        ASSERT_EQ(m_box.count(), 1u) << c.text;
        EXPECT_EQ(m_box.calls()[0].text, QString::fromUtf8(c.text));
        EXPECT_TRUE(m_box.calls()[0].caption.isEmpty());
        EXPECT_EQ(m_box.calls()[0].icon, platform::MsgIcon::None);
        EXPECT_TRUE(take().empty());
    }
}

// The real audio interface, on a machine that may have no audio device:
// loading and playing (also from another thread) must be silent and safe.
TEST_F(SoundEffectsTest, QtMultimediaRunsSilentlyWithoutAnAudioDevice) {
    CSoundEffects sounds(makeQtAudioSystem());
    QFile::remove(m_tmp.path() + "/wav/rgnm.wav");
    sounds.LoadAll(m_dir, nullptr);
    EXPECT_TRUE(sounds.IsLoaded(Effect::Strike));
    EXPECT_FALSE(sounds.IsLoaded(Effect::GameOver));
    for (Effect e : media::soundLoadOrder())
        sounds.Play(e);
    std::thread worker([&] { sounds.Play(Effect::CueContact); });
    worker.join();
    QCoreApplication::processEvents();
    sounds.SetEnabled(false);
    sounds.Play(Effect::Hurry);
    EXPECT_TRUE(m_box.calls().empty());
}

} // namespace
