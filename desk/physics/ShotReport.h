#pragma once
// What one step of a shot asks of the desk around it. The engine only
// simulates; the host turns these into sounds, pocket lights, the detect
// message and frames, on whatever thread it draws on.

#include <cstdint>
#include <vector>

namespace desk {

enum class Sound {
    StrongShot,   // "butup.wav": a strike above power 500
    CueContact,   // "autodisc.wav": the cue ball touches another ball
    CuePocketed,  // "clonem.wav"
    BallPocketed, // "ball_down.wav"
};

// The file of the sound under the resource directory's wav folder.
const char* soundFileName(Sound sound);

struct ShotEvent {
    enum class Kind {
        DetectRequest, // the 250th step: the host sends its detect message
        PlaySound,     // value: a Sound
        PocketLight,   // value: pocket zone 0 … 5 whose light starts
        CueBallGone,   // the cue ball left play: hide it and the cue stick
    };
    Kind kind;
    int value = 0;
    bool operator==(const ShotEvent&) const = default;
};

struct StepReport {
    int step = 0;                  // steps of the shot including this one
    bool moving = false;           // some ball body is still enabled
    bool finished = false;         // the shot ends with this step
    std::vector<ShotEvent> events; // in the order they happened
};

// Interface values of one strike: arc and tip × 1 000 000, speed 0 … 2000.
struct Strike {
    int32_t arc = 0;
    int32_t speed = 0;
    int32_t tip = 0;
};

// Which loop drives the steps. The shot worker processes the balls on the
// table and requests detection after its 250th step; the synchronous run
// (the host's CrashLoop) processes every ball in play and requests it at the
// start of the 250th step.
enum class LoopKind { Worker, Synchronous };

} // namespace desk
