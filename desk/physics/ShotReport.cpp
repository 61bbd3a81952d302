#include "desk/physics/ShotReport.h"

namespace desk {

const char* soundFileName(Sound sound) {
    switch (sound) {
    case Sound::StrongShot:
        return "butup.wav";
    case Sound::CueContact:
        return "autodisc.wav";
    case Sound::CuePocketed:
        return "clonem.wav";
    case Sound::BallPocketed:
        return "ball_down.wav";
    }
    return "";
}

} // namespace desk
