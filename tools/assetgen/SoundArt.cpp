// The seven sound effects, synthesised: damped resonances for the hard
// clicks of cue and balls, a thud and rattle for the pocket, plain tones for
// the clock and the end of the game. 22 050 Hz, 16-bit mono PCM.

#include "tools/assetgen/Art.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace assetgen {

namespace {

constexpr int kRate = 22050;
constexpr double kTwoPi = 2 * std::numbers::pi;

using Samples = std::vector<double>;

Samples silence(double seconds) {
    return Samples(std::size_t(seconds * kRate), 0.0);
}

// White noise from a fixed-seed generator: the same file on every build.
class CNoise {
public:
    explicit CNoise(std::uint32_t seed) : m_state(seed) {}
    double next() {
        m_state = m_state * 1664525u + 1013904223u;
        return double(m_state >> 8) / double(1u << 24) * 2.0 - 1.0;
    }

private:
    std::uint32_t m_state;
};

// A decaying sine from `start` seconds on.
void addRing(Samples& s, double start, double freq, double amplitude, double decay) {
    for (std::size_t i = std::size_t(start * kRate); i < s.size(); ++i) {
        const double t = double(i) / kRate - start;
        s[i] += amplitude * std::exp(-t / decay) * std::sin(kTwoPi * freq * t);
    }
}

// A burst of noise, low-passed by `smooth` (0 … 1, higher is duller).
void addBurst(Samples& s, double start, double amplitude, double decay, double smooth,
              std::uint32_t seed) {
    CNoise noise(seed);
    double low = 0;
    for (std::size_t i = std::size_t(start * kRate); i < s.size(); ++i) {
        const double t = double(i) / kRate - start;
        low = low * smooth + noise.next() * (1 - smooth);
        s[i] += amplitude * std::exp(-t / decay) * low;
    }
}

// A tone with a short attack and release, a little second harmonic.
void addTone(Samples& s, double start, double length, double freq, double amplitude) {
    const std::size_t first = std::size_t(start * kRate);
    const std::size_t count = std::size_t(length * kRate);
    for (std::size_t k = 0; k < count && first + k < s.size(); ++k) {
        const double t = double(k) / kRate;
        const double env = std::min({1.0, t / 0.008, (length - t) / 0.03}) * std::exp(-t * 2.0);
        s[first + k] += amplitude * env *
                        (std::sin(kTwoPi * freq * t) + 0.25 * std::sin(2 * kTwoPi * freq * t));
    }
}

QByteArray wave(const Samples& s) {
    const double peak =
        std::max(1e-9, std::abs(*std::max_element(s.begin(), s.end(), [](double a, double b) {
                     return std::abs(a) < std::abs(b);
                 })));
    const double gain = 0.85 / peak;
    QByteArray data;
    data.reserve(int(s.size() * 2));
    for (std::size_t i = 0; i < s.size(); ++i) {
        // A short fade at the very end so that the cut never clicks.
        const double tail = std::min(1.0, double(s.size() - i) / (0.004 * kRate));
        const auto v = std::int16_t(std::lround(std::clamp(s[i] * gain * tail, -1.0, 1.0) * 32767));
        const auto le = qToLittleEndian(v);
        data.append(reinterpret_cast<const char*>(&le), 2);
    }
    QByteArray file;
    auto u32 = [&file](std::uint32_t v) {
        const auto le = qToLittleEndian(v);
        file.append(reinterpret_cast<const char*>(&le), 4);
    };
    auto u16 = [&file](std::uint16_t v) {
        const auto le = qToLittleEndian(v);
        file.append(reinterpret_cast<const char*>(&le), 2);
    };
    file.append("RIFF");
    u32(std::uint32_t(36 + data.size()));
    file.append("WAVEfmt ");
    u32(16);
    u16(1); // PCM
    u16(1); // mono
    u32(kRate);
    u32(kRate * 2);
    u16(2);
    u16(16);
    file.append("data");
    u32(std::uint32_t(data.size()));
    file.append(data);
    return file;
}

} // namespace

QByteArray synthStrike() {
    Samples s = silence(0.16);
    addBurst(s, 0, 0.9, 0.003, 0.2, 1);
    addRing(s, 0, 1850, 0.6, 0.012);
    addRing(s, 0, 2900, 0.3, 0.007);
    addRing(s, 0, 190, 0.5, 0.035);
    return wave(s);
}

QByteArray synthCueContact() {
    Samples s = silence(0.09);
    addBurst(s, 0, 0.5, 0.0015, 0.0, 2);
    addRing(s, 0, 3150, 0.8, 0.010);
    addRing(s, 0, 4720, 0.5, 0.006);
    addRing(s, 0, 1400, 0.2, 0.014);
    return wave(s);
}

QByteArray synthBallDown() {
    Samples s = silence(0.5);
    addRing(s, 0, 110, 0.9, 0.07); // the drop
    addBurst(s, 0, 0.6, 0.02, 0.85, 3);
    const double clicks[3][2] = {{0.09, 0.5}, {0.17, 0.35}, {0.23, 0.22}};
    for (const auto& c : clicks) { // bouncing in the pocket
        addRing(s, c[0], 2250, c[1], 0.008);
        addRing(s, c[0], 160, c[1] * 0.8, 0.03);
    }
    addBurst(s, 0.25, 0.25, 0.09, 0.95, 4); // rolling away
    return wave(s);
}

QByteArray synthCueBallDown() {
    Samples s = silence(0.55);
    addRing(s, 0, 120, 0.9, 0.06);
    addBurst(s, 0, 0.5, 0.02, 0.85, 5);
    // A falling "oh no" tone.
    double phase = 0;
    for (std::size_t i = std::size_t(0.08 * kRate); i < s.size(); ++i) {
        const double t = double(i) / kRate - 0.08;
        const double freq = 620 * std::exp(-t * 2.4);
        phase += kTwoPi * freq / kRate;
        s[i] += 0.45 * std::min(1.0, t / 0.02) * std::exp(-t * 3.0) * std::sin(phase);
    }
    return wave(s);
}

QByteArray synthHurry() {
    Samples s = silence(0.34);
    addTone(s, 0.0, 0.1, 1046.5, 0.7);
    addTone(s, 0.16, 0.1, 1046.5, 0.7);
    return wave(s);
}

QByteArray synthGiveUp() {
    Samples s = silence(0.65);
    double phase = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double freq =
            1400 * std::pow(300.0 / 1400.0, t / 0.6) * (1 + 0.02 * std::sin(kTwoPi * 9 * t));
        phase += kTwoPi * freq / kRate;
        const double env = std::min(1.0, t / 0.02) * (1 - t / 0.65);
        s[i] = 0.6 * env * (std::sin(phase) + 0.15 * std::sin(2 * phase));
    }
    return wave(s);
}

QByteArray synthGameOver() {
    Samples s = silence(1.3);
    const double notes[4] = {523.25, 659.25, 783.99, 1046.5};
    for (int k = 0; k < 4; ++k)
        addTone(s, 0.15 * k, 0.22, notes[k], 0.5);
    for (double f : {523.25, 659.25, 783.99, 1046.5})
        addTone(s, 0.62, 0.66, f, 0.3);
    return wave(s);
}

} // namespace assetgen
