#pragma once
// What the host hands to SetPersonInfo: the name (GBK bytes, zero-terminated),
// then score and chances; a negative score or chances keeps the current value.
// Kept apart from the player entries so that the control's public header can
// offer it without the rest of the model.

#include <cstdint>

namespace desk {

struct PersonInfo {
    const char* name;
    int16_t score;
    int16_t chances;
};

} // namespace desk
