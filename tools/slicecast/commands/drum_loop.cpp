#include "drum_loop.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string_view>

namespace slicecastcli {

namespace {

constexpr int kSampleRate = 44100;
constexpr double kTempo = 120.0;
constexpr int kBars = 4;
constexpr std::size_t kStepsPerBar = 16;
constexpr double kStepSeconds = 60.0 / kTempo / 4.0;
constexpr double kMasterGain = 0.6;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Root note of each bar, in Hz (A, F, C, G): the bass follows it.
constexpr std::array<double, kBars> kBarRoots{55.0, 43.65, 65.41, 49.0};

// A plain linear congruential generator, spelled out so that the loop
// comes out the same everywhere.
class Noise {
public:
    double next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_) / 2147483648.0 - 1.0;
    }

private:
    std::uint32_t state_ = 22222u;
};

struct Frame {
    double left;
    double right;
};

// Each voice gives its sound t seconds after its hit, in a bar whose root
// note is root.
Frame kick(double t, double /*root*/, Noise& /*noise*/) {
    // The pitch falls from 150 Hz to 50 Hz; the phase is its integral.
    const double phase = kTwoPi * (50.0 * t + 100.0 * (1.0 - std::exp(-30.0 * t)) / 30.0);
    const double value = 0.9 * std::sin(phase) * std::exp(-7.0 * t);
    return {value, value};
}

Frame snare(double t, double /*root*/, Noise& noise) {
    const double value =
        0.3 * std::sin(kTwoPi * 185.0 * t) * std::exp(-25.0 * t) + 0.45 * noise.next() * std::exp(-16.0 * t);
    return {value, value};
}

Frame hat(double t, double /*root*/, Noise& noise) {
    // Panned to the right, so that the two sides differ.
    const double value = 0.18 * noise.next() * std::exp(-70.0 * t);
    return {0.4 * value, value};
}

Frame bass(double t, double root, Noise& /*noise*/) {
    const double value = 0.35 * std::sin(kTwoPi * 2.0 * root * t) * std::exp(-4.0 * t);
    return {value, value};
}

struct Voice {
    // One character per sixteenth note of a bar; 'x' plays.
    std::string_view steps;
    double seconds;
    Frame (*sound)(double t, double root, Noise& noise);
};

constexpr std::array<Voice, 4> kVoices{{
    {"x.....x.x.....x.", 0.4, kick},
    {"....x.......x..x", 0.25, snare},
    {"x.x.x.x.x.xxx.x.", 0.06, hat},
    {"x..x..x...x..x..", 2.0 * kStepSeconds, bass},
}};

void play(const Voice& voice, double root, std::size_t start, pluginhost::StereoBuffer& sound, Noise& noise) {
    const auto length = static_cast<std::size_t>(voice.seconds * kSampleRate);
    for (std::size_t i = 0; i < length && start + i < sound.frames(); ++i) {
        const Frame frame = voice.sound(static_cast<double>(i) / kSampleRate, root, noise);
        sound.left[start + i] += static_cast<float>(kMasterGain * frame.left);
        sound.right[start + i] += static_cast<float>(kMasterGain * frame.right);
    }
}

// First frame of a step counted from the start of the loop; a step is not
// a whole number of frames, so each is placed on its own.
std::size_t frameOfStep(std::size_t step) {
    return static_cast<std::size_t>(std::lround(static_cast<double>(step) * kStepSeconds * kSampleRate));
}

}  // namespace

DrumLoop makeDrumLoop() {
    DrumLoop loop{kSampleRate, kTempo, kBars, pluginhost::StereoBuffer(frameOfStep(kStepsPerBar * kBars))};
    Noise noise;
    for (std::size_t bar = 0; bar < kBars; ++bar) {
        for (std::size_t step = 0; step < kStepsPerBar; ++step) {
            const std::size_t start = frameOfStep(bar * kStepsPerBar + step);
            for (const Voice& voice : kVoices) {
                if (voice.steps[step] == 'x') play(voice, kBarRoots[bar], start, loop.sound, noise);
            }
        }
    }
    return loop;
}

}  // namespace slicecastcli
