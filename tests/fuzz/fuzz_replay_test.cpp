// Runs every fuzz target of fuzz/ over its checked-in seeds and a fixed set
// of mutations of them, so that the default build exercises the same code
// paths as the fuzzers (without the fuzzer's guidance or sanitizers). Any
// crash or broken invariant aborts the test.
#include "targets/FuzzTargets.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Input = std::vector<uint8_t>;

std::vector<Input> loadSeeds(const std::string& name) {
    std::vector<Input> seeds;
    const std::filesystem::path dir = std::filesystem::path(FUZZ_CORPUS_DIR) / name;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end()); // the same order on every machine
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return seeds;
}

// splitmix64: small, fast and the same everywhere.
class Random {
public:
    explicit Random(uint64_t seed) : m_state(seed) {}
    uint64_t next() {
        uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return n == 0 ? 0 : std::size_t(next() % n); }

private:
    uint64_t m_state;
};

// Values that sit on the edges the parsers and the framing care about.
constexpr uint32_t kInteresting[] = {0,    1,     16,    17,         18,         31,
                                     32,   33,    48,    0x7F,       0x80,       0xFF,
                                     1096, 32768, 32785, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};

Input mutate(Input in, const std::vector<Input>& seeds, Random& rng) {
    const std::size_t ops = 1 + rng.below(4);
    for (std::size_t op = 0; op < ops; ++op) {
        switch (rng.below(8)) {
        case 0: // flip a bit
            if (!in.empty())
                in[rng.below(in.size())] ^= uint8_t(1u << rng.below(8));
            break;
        case 1: // set a byte
            if (!in.empty())
                in[rng.below(in.size())] = uint8_t(
                    rng.below(2) ? rng.next() : kInteresting[rng.below(std::size(kInteresting))]);
            break;
        case 2: // write a big-endian 16- or 32-bit edge value
            if (in.size() >= 4) {
                const uint32_t v = kInteresting[rng.below(std::size(kInteresting))];
                const std::size_t width = rng.below(2) ? 4 : 2;
                const std::size_t at = rng.below(in.size() - width + 1);
                for (std::size_t i = 0; i < width; ++i)
                    in[at + i] = uint8_t(v >> (8 * (width - 1 - i)));
            }
            break;
        case 3: // erase a range
            if (!in.empty()) {
                const std::size_t at = rng.below(in.size());
                const std::size_t n = 1 + rng.below(std::min<std::size_t>(in.size() - at, 64));
                in.erase(in.begin() + std::ptrdiff_t(at), in.begin() + std::ptrdiff_t(at + n));
            }
            break;
        case 4: { // insert random bytes
            const std::size_t at = rng.below(in.size() + 1);
            Input extra(1 + rng.below(40));
            for (auto& b : extra)
                b = uint8_t(rng.next());
            in.insert(in.begin() + std::ptrdiff_t(at), extra.begin(), extra.end());
            break;
        }
        case 5: // duplicate a range (a repeated message, a repeated seq)
            if (!in.empty()) {
                const std::size_t at = rng.below(in.size());
                const std::size_t n = 1 + rng.below(std::min<std::size_t>(in.size() - at, 200));
                const Input part(in.begin() + std::ptrdiff_t(at),
                                 in.begin() + std::ptrdiff_t(at + n));
                in.insert(in.begin() + std::ptrdiff_t(rng.below(in.size() + 1)), part.begin(),
                          part.end());
            }
            break;
        case 6: // cut the end
            in.resize(rng.below(in.size() + 1));
            break;
        case 7: { // splice with another seed
            const Input& other = seeds[rng.below(seeds.size())];
            const std::size_t keep = rng.below(in.size() + 1);
            const std::size_t from = rng.below(other.size() + 1);
            in.resize(keep);
            in.insert(in.end(), other.begin() + std::ptrdiff_t(from), other.end());
            break;
        }
        }
    }
    if (in.size() > 64 * 1024)
        in.resize(64 * 1024);
    return in;
}

class FuzzReplay : public ::testing::TestWithParam<fuzz::Target> {};

TEST_P(FuzzReplay, SeedsAndMutationsRunClean) {
    const fuzz::Target& target = GetParam();
    const auto seeds = loadSeeds(target.name);
    ASSERT_FALSE(seeds.empty()) << "no seeds for " << target.name;
    for (const Input& seed : seeds)
        ASSERT_EQ(target.run(seed.data(), seed.size()), 0);

    constexpr int kMutations = 3000;
    Random rng(std::hash<std::string>{}(target.name));
    for (int i = 0; i < kMutations; ++i) {
        const Input input = mutate(seeds[rng.below(seeds.size())], seeds, rng);
        ASSERT_EQ(target.run(input.data(), input.size()), 0) << "mutation " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(fuzz::kTargets),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
