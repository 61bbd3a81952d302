// desk_shot_replay --shots N --seed S [--disturb]
// Prints one line per shot: the hash of its result and its number of steps.
// --disturb first runs unrelated shots and draws from the engine's random
// generator, so the replay starts from a different process history.

#include "ShotReplay.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    int shots = 100;
    uint32_t seed = 1;
    bool disturb = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--shots") == 0 && i + 1 < argc)
            shots = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc)
            seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        else if (std::strcmp(argv[i], "--disturb") == 0)
            disturb = true;
    }
    std::unique_ptr<char[]> ballast;
    if (disturb) {
        ballast = std::make_unique<char[]>(1 << 20); // moves later allocations
        desk::test::replayShots(3, seed + 7);
        for (int n = 0; n < 1000; ++n)
            dRand();
    }
    for (const auto& shot : desk::test::replayShots(shots, seed))
        std::printf("%016" PRIx64 " %d\n", shot.hash, shot.steps);
    return 0;
}
