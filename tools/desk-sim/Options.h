#pragma once
// Command line of desk-sim:
//   desk-sim [--rack FILE | --seed N] --arc A --speed S --tip T [--group G] [--trace]
// Arc and tip are interface values (× 1 000 000), the speed a power 0 … 2000.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace desksim {

struct Options {
    std::optional<std::string> rackFile;
    uint32_t seed = 0; // the standard rack's shuffle when no file is given
    int32_t arc = 0;
    int32_t speed = 0;
    int32_t tip = 0;
    int group = -1;
    bool trace = false;
};

// Fills `out`, or returns false with a one-line reason in `error`.
bool parseOptions(const std::vector<std::string>& args, Options& out, std::string& error);

const char* usage();

} // namespace desksim
