// desk-sim: runs one shot of the desk simulation without a window and prints
// the result as JSON. Bad input gets one error line on stderr and exit code 2.

#include "Options.h"
#include "RackFile.h"
#include "ResultJson.h"
#include "desk/model/StandardRack.h"
#include "desk/model/Units.h"
#include "desk/physics/ShotEngine.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kBadInput = 2;

int fail(const std::string& message) {
    std::fprintf(stderr, "desk-sim: %s\n", message.c_str());
    return kBadInput;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    desksim::Options options;
    std::string error;
    if (!desksim::parseOptions(args, options, error))
        return fail(error + " (" + desksim::usage() + ")");

    desk::SphereRecords rack{};
    if (options.rackFile) {
        std::string text;
        if (!desksim::readRackFile(*options.rackFile, text, error) ||
            !desksim::parseRack(text, rack, error))
            return fail(error);
    } else {
        rack = desk::standardRack(options.seed);
    }

    desk::CShotEngine engine;
    engine.setMyGroup(options.group);
    engine.placeRack(rack);

    std::vector<desksim::TraceStep> trace;
    desk::CShotEngine::StepObserver onStep;
    if (options.trace) {
        onStep = [&](const desk::StepReport&) {
            desksim::TraceStep step{};
            for (int i = 0; i < desk::kBallCount; ++i) {
                const desk::Vec3 p = engine.ball(i).position;
                step[static_cast<std::size_t>(i)] = {desk::toInterface(p.x),
                                                     desk::toInterface(p.y)};
            }
            trace.push_back(step);
        };
    }
    const desk::ShotOutcome result =
        engine.runShot({options.arc, options.speed, options.tip}, onStep);
    const std::string json = desksim::resultJson(result.balls, result.judge, result.steps,
                                                 options.trace ? &trace : nullptr);
    std::fwrite(json.data(), 1, json.size(), stdout);
    return 0;
}
