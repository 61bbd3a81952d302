#pragma once
// A game's worth of random shots, each starting from the state the previous
// one left (a new rack every twelfth shot, the cue ball back in hand when it
// went down), and one hash per shot over the sixteen ball records and the
// shot record. Two processes of the same build must print the same hashes.

#include "desk/model/StandardRack.h"
#include "desk/physics/ShotEngine.h"

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace desk::test {

struct ReplayedShot {
    uint64_t hash = 0;
    int steps = 0;
};

inline uint64_t fnv1a(const void* data, std::size_t size, uint64_t h = 0xcbf29ce484222325ull) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        h ^= p[i];
        h *= 0x100000001b3ull;
    }
    return h;
}

inline std::vector<ReplayedShot> replayShots(int shots, uint32_t seed) {
    std::mt19937 rng(seed);
    const auto draw = [&rng](int64_t lo, int64_t hi) {
        return static_cast<int32_t>(
            lo + static_cast<int64_t>(rng() % static_cast<uint32_t>(hi - lo + 1)));
    };
    CShotEngine engine;
    std::vector<ReplayedShot> out;
    SphereRecords state{};
    for (int k = 0; k < shots; ++k) {
        if (k % 12 == 0) {
            engine.placeRack(standardRack(rng()));
        } else {
            engine.placeFromRecords(state);
            if (state[kCueBall].m_nStatus == kPocketedThisShot) {
                const BallPosition spot = breakSpot();
                engine.placeCueBall(spot.x, spot.y, true);
            }
        }
        engine.setMyGroup(draw(-1, 1));
        const Strike strike{draw(-6283185, 0), draw(100, 2000), draw(-750000, 500000)};
        const ShotOutcome result = engine.runShot(strike);
        state = result.balls;
        ReplayedShot shot;
        shot.hash = fnv1a(result.balls.data(), sizeof result.balls);
        shot.hash = fnv1a(&result.judge, sizeof result.judge, shot.hash);
        shot.steps = result.steps;
        out.push_back(shot);
    }
    return out;
}

} // namespace desk::test
