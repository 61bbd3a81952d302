#include "desk/media/MediaDirectory.h"
#include "desk/sound/CRecordingSoundEffects.h"

#include <gtest/gtest.h>
#include <thread>

using namespace desk::sound;

namespace {

TEST(RecordingSoundEffects, RecordsWhatWouldSoundInOrder) {
    CRecordingSoundEffects sounds;
    sounds.Play(Effect::Strike);
    EXPECT_TRUE(sounds.Played().empty()) << "nothing sounds before the effects are loaded";

    sounds.LoadAll(desk::media::CMediaDirectory(), nullptr);
    sounds.Play(Effect::Strike);
    std::thread worker([&] {
        sounds.Play(Effect::CueContact);
        sounds.Play(Effect::BallDown);
    });
    worker.join();
    sounds.SetEnabled(soundSwitchOn(2));
    sounds.Play(Effect::Hurry);
    sounds.SetEnabled(soundSwitchOn(1));
    sounds.Play(Effect::GameOver);

    EXPECT_EQ(sounds.Played(), (std::vector<Effect>{Effect::Strike, Effect::CueContact,
                                                    Effect::BallDown, Effect::GameOver}));
    EXPECT_EQ(sounds.LoadCount(), 1);
}

TEST(SoundSwitch, OnlyOneMeansOn) {
    EXPECT_TRUE(soundSwitchOn(1));
    for (long value : {0L, 2L, -1L, 256L})
        EXPECT_FALSE(soundSwitchOn(value)) << value;
}

} // namespace
