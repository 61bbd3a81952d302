#pragma once
// desk-sim's output: one JSON object with the sixteen balls after the shot,
// every shot-record entry by name, the number of steps and, when asked, the
// positions after every step. All numbers are interface integers.

#include "desk/model/SphereRecords.h"
#include "desk/rules/JudgeRecord.h"

#include <array>
#include <string>
#include <vector>

namespace desksim {

struct TracePoint {
    int32_t x = 0;
    int32_t y = 0;
};
using TraceStep = std::array<TracePoint, desk::kBallCount>;

std::string resultJson(const desk::SphereRecords& balls, const JudgeRecord& judge, int steps,
                       const std::vector<TraceStep>* trace);

} // namespace desksim
