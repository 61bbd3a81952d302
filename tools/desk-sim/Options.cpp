#include "Options.h"

#include <charconv>
#include <limits>

namespace desksim {

namespace {

bool parseInteger(const std::string& text, int64_t lo, int64_t hi, int64_t& out) {
    int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < lo || value > hi)
        return false;
    out = value;
    return true;
}

struct Range {
    const char* name;
    int64_t lo;
    int64_t hi;
};

constexpr Range kArc{"--arc", -6283185, 6283185};
constexpr Range kSpeed{"--speed", 0, 2000};
constexpr Range kTip{"--tip", -750000, 500000};
constexpr Range kGroup{"--group", -1, 1};
constexpr Range kSeed{"--seed", 0, std::numeric_limits<uint32_t>::max()};

} // namespace

const char* usage() {
    return "usage: desk-sim [--rack FILE | --seed N] --arc A --speed S --tip T [--group G] "
           "[--trace]";
}

bool parseOptions(const std::vector<std::string>& args, Options& out, std::string& error) {
    bool haveArc = false, haveSpeed = false, haveTip = false, haveSeed = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--trace") {
            out.trace = true;
            continue;
        }
        const Range* range = nullptr;
        if (a == "--arc")
            range = &kArc;
        else if (a == "--speed")
            range = &kSpeed;
        else if (a == "--tip")
            range = &kTip;
        else if (a == "--group")
            range = &kGroup;
        else if (a == "--seed")
            range = &kSeed;
        else if (a != "--rack") {
            error = "unknown argument '" + a + "'";
            return false;
        }
        if (i + 1 >= args.size()) {
            error = a + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (range == nullptr) {
            out.rackFile = value;
            continue;
        }
        int64_t v = 0;
        if (!parseInteger(value, range->lo, range->hi, v)) {
            error = std::string(range->name) + " must be an integer from " +
                    std::to_string(range->lo) + " to " + std::to_string(range->hi) + ", not '" +
                    value + "'";
            return false;
        }
        if (range == &kArc) {
            out.arc = static_cast<int32_t>(v);
            haveArc = true;
        } else if (range == &kSpeed) {
            out.speed = static_cast<int32_t>(v);
            haveSpeed = true;
        } else if (range == &kTip) {
            out.tip = static_cast<int32_t>(v);
            haveTip = true;
        } else if (range == &kGroup) {
            out.group = static_cast<int>(v);
        } else {
            out.seed = static_cast<uint32_t>(v);
            haveSeed = true;
        }
    }
    if (out.rackFile && haveSeed) {
        error = "give either --rack or --seed, not both";
        return false;
    }
    if (!haveArc || !haveSpeed || !haveTip) {
        error = "--arc, --speed and --tip are required";
        return false;
    }
    return true;
}

} // namespace desksim
