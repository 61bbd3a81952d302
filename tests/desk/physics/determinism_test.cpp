#include "ShotReplay.h"

#include <array>
#include <cinttypes>
#include <cstdio>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>

namespace desk {
namespace {

constexpr int kShots = 300;

std::string runChild(const std::string& args) {
    const std::string cmd = std::string(DESK_SHOT_REPLAY) + " " + args;
    FILE* pipe = popen(cmd.c_str(), "r");
    if (pipe == nullptr)
        return {};
    std::string out;
    std::array<char, 4096> buf{};
    std::size_t n = 0;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        out.append(buf.data(), n);
    EXPECT_EQ(pclose(pipe), 0) << cmd;
    return out;
}

std::string render(const std::vector<test::ReplayedShot>& shots) {
    std::string out;
    char line[64];
    for (const auto& s : shots) {
        std::snprintf(line, sizeof line, "%016" PRIx64 " %d\n", s.hash, s.steps);
        out += line;
    }
    return out;
}

TEST(Determinism, RandomShotsGiveTheSameBitsInTwoProcesses) {
    const std::string first = runChild("--shots " + std::to_string(kShots) + " --seed 2024");
    const std::string second =
        runChild("--shots " + std::to_string(kShots) + " --seed 2024 --disturb");
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(first, second);

    // And the same as in this process, whatever it has done before.
    EXPECT_EQ(render(test::replayShots(kShots, 2024)), first);

    // The shots really differ from each other.
    std::istringstream lines(first);
    std::set<std::string> hashes;
    std::string hash;
    int count = 0;
    while (lines >> hash) {
        int steps = 0;
        lines >> steps;
        hashes.insert(hash);
        ++count;
    }
    EXPECT_EQ(count, kShots);
    EXPECT_GT(hashes.size(), static_cast<std::size_t>(kShots * 9 / 10));
}

TEST(Determinism, AnotherSeedGivesOtherShots) {
    EXPECT_NE(render(test::replayShots(5, 1)), render(test::replayShots(5, 2)));
}

} // namespace
} // namespace desk
