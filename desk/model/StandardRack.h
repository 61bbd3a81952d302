#pragma once
// The opening rack of eight-ball, for whoever deals racks (the table server,
// bots, tools): the desk itself only places the racks it is sent.
//
// Fifteen balls in a touching triangle on the foot spot (three quarters down
// the playing rectangle), apex towards the head, the black in the middle of
// the third row, one solid and one stripe in the two back corners, and the
// cue ball behind the head line. Which balls go where otherwise is shuffled
// from the seed; the same seed always gives the same rack on every platform.

#include "desk/model/SphereRecords.h"

#include <cstdint>

namespace desk {

SphereRecords standardRack(uint32_t seed);

// Spots of the rack, in world units: the apex ball, the cue ball.
BallPosition footSpot();
BallPosition breakSpot();

} // namespace desk
