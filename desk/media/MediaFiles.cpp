#include "desk/media/MediaFiles.h"

namespace desk::media {

namespace {

constexpr std::array<PictureSheet, kPictureCount> kSheets = {{
    {"desk.png", 1024, 1024, 800, 600, 1, 1, true},
    {"light.png", 1024, 512, 200, 200, 5, 5, true},
    {"gamestart.bmp", 64, 64, 64, 32, 1, 2, true},
    {"shade.bmp", 32, 32, 32, 32, 1, 1, true},
    {"sz.bmp", 128, 128, 32, 32, 4, 11, true},
    {"star.bmp", 8, 8, 8, 8, 1, 1, true},
    {"maskball.bmp", 32, 32, 32, 32, 1, 1, true},
    {"qiu_bz.bmp", 64, 16, 16, 16, 4, 4, true},
    {"speedshow.bmp", 32, 32, 32, 32, 1, 1, true},
    {"list.bmp", 64, 64, 64, 64, 1, 1, true},
    {"hor.bmp", 32, 16, 18, 2, 1, 1, true},
    {"ver.bmp", 16, 32, 2, 18, 1, 1, true},
    {"line.bmp", 64, 32, 64, 20, 1, 1, true},
    {"arrow.bmp", 64, 32, 64, 20, 1, 1, true},
}};

constexpr std::array<std::string_view, kBallCount> kBallFiles = {
    "ball_yellow_solid.bmp",  "ball_blue_solid.bmp",   "ball_red_solid.bmp",
    "ball_purple_solid.bmp",  "ball_orange_solid.bmp", "ball_green_solid.bmp",
    "ball_brown_solid.bmp",   "ball_black.bmp",        "ball_yellow_stripe.bmp",
    "ball_blue_stripe.bmp",   "ball_red_stripe.bmp",   "ball_purple_stripe.bmp",
    "ball_orange_stripe.bmp", "ball_green_stripe.bmp", "ball_brown_stripe.bmp",
    "ball_white.bmp",
};

constexpr std::array<SoundId, kSoundCount> kSoundOrder = {
    SoundId::Strike,   SoundId::CueContact, SoundId::BallDown, SoundId::CueBallDown,
    SoundId::GameOver, SoundId::Hurry,      SoundId::GiveUp,
};

} // namespace

std::span<const PictureSheet, kPictureCount> pictureSheets() {
    return kSheets;
}

const PictureSheet& pictureSheet(PictureId id) {
    return kSheets[static_cast<std::size_t>(id)];
}

std::string_view ballFile(int index) {
    if (index < 0 || index >= kBallCount)
        return {};
    return kBallFiles[static_cast<std::size_t>(index)];
}

std::span<const SoundId, kSoundCount> soundLoadOrder() {
    return kSoundOrder;
}

std::string_view soundFile(SoundId id) {
    switch (id) {
    case SoundId::Strike:
        return "butup.wav";
    case SoundId::CueContact:
        return "autodisc.wav";
    case SoundId::BallDown:
        return "ball_down.wav";
    case SoundId::CueBallDown:
        return "clonem.wav";
    case SoundId::GameOver:
        return "rgnm.wav";
    case SoundId::Hurry:
        return "hurry.wav";
    case SoundId::GiveUp:
        return "SlideDown.wav";
    }
    return {};
}

} // namespace desk::media
