#include "desk/model/StandardRack.h"

#include "desk/model/TableLayout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

namespace desk {

namespace {

constexpr int kRows = 5;
constexpr std::size_t kBlackSlot = 4;    // third row, middle
constexpr std::size_t kBackCornerA = 10; // fifth row, first
constexpr std::size_t kBackCornerB = 14; // fifth row, last

double midY() {
    const Rect& r = CTableLayout::playingRect();
    return (r.bottom + r.top) / 2;
}

// A draw in [0, n) from the raw generator output, so the rack does not depend
// on how a standard library implements its distributions.
uint32_t draw(std::mt19937& rng, uint32_t n) {
    return static_cast<uint32_t>(rng() % n);
}

} // namespace

BallPosition footSpot() {
    const Rect& r = CTableLayout::playingRect();
    return {r.left + 0.75 * (r.right - r.left), midY()};
}

BallPosition breakSpot() {
    const Rect& r = CTableLayout::playingRect();
    const double headLine = r.left + 0.25 * (r.right - r.left);
    return {headLine - 3.0, midY()};
}

SphereRecords standardRack(uint32_t seed) {
    std::mt19937 rng(seed);

    std::array<int, 7> solids{0, 1, 2, 3, 4, 5, 6};
    std::array<int, 7> stripes{8, 9, 10, 11, 12, 13, 14};
    const int cornerSolid = solids[draw(rng, 7)];
    const int cornerStripe = stripes[draw(rng, 7)];
    const bool solidFirst = (rng() & 1u) != 0;

    std::array<int, 12> rest{};
    std::size_t n = 0;
    for (int b = 0; b < kObjectBallCount; ++b)
        if (b != kBlackBall && b != cornerSolid && b != cornerStripe)
            rest[n++] = b;
    for (std::size_t i = rest.size() - 1; i > 0; --i)
        std::swap(rest[i], rest[draw(rng, static_cast<uint32_t>(i + 1))]);

    std::array<int, kObjectBallCount> ballInSlot{};
    ballInSlot[kBlackSlot] = kBlackBall;
    ballInSlot[kBackCornerA] = solidFirst ? cornerSolid : cornerStripe;
    ballInSlot[kBackCornerB] = solidFirst ? cornerStripe : cornerSolid;
    std::size_t next = 0;
    for (std::size_t s = 0; s < ballInSlot.size(); ++s)
        if (s != kBlackSlot && s != kBackCornerA && s != kBackCornerB)
            ballInSlot[s] = rest[next++];

    SphereRecords records{};
    const BallPosition apex = footSpot();
    const double rowStep = std::sqrt(3.0) * kBallRadius; // touching balls, 2r apart
    std::size_t slot = 0;
    for (int row = 0; row < kRows; ++row) {
        for (int j = 0; j <= row; ++j, ++slot) {
            const int ball = ballInSlot[slot];
            const double x = apex.x + row * rowStep;
            const double y = apex.y + (2 * j - row) * kBallRadius;
            records[static_cast<std::size_t>(ball)] =
                makeSphereRecord(ball, x, y, kOnTable, startOrientation());
        }
    }
    const BallPosition cue = breakSpot();
    records[kCueBall] = makeSphereRecord(kCueBall, cue.x, cue.y, kOnTable, startOrientation());
    return records;
}

} // namespace desk
