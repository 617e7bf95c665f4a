#include "render_scenarios.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>

#include "host.h"
#include "vst_time_record.h"
#include "plugin_instance.h"
#include "transport.h"

namespace platforms {

namespace {

// Uniform in [-1, 1), from the top 24 bits of the generator's output: the
// same floats on every platform (std::mt19937's sequence is fixed by the
// standard; the distributions are not).
float uniformSample(std::mt19937& random) {
    const auto bits = static_cast<std::int32_t>(random() >> 8);
    return static_cast<float>(bits - (1 << 23)) / static_cast<float>(1 << 23);
}

// Noise with a loud, decaying click every 4099 frames: a signal whose
// repeats are easy to tell apart.
pluginhost::StereoBuffer testSignal(std::size_t frames, std::uint32_t seed) {
    std::mt19937 random(seed);
    pluginhost::StereoBuffer signal(frames);
    float click = 0.0f;
    for (std::size_t i = 0; i < frames; ++i) {
        if (i % 4099 == 0) click = 0.9f;
        click *= 0.995f;
        signal.left[i] = 0.25f * uniformSample(random) + click;
        signal.right[i] = 0.25f * uniformSample(random) - click;
    }
    return signal;
}

using Parameters = std::array<float, 6>;
constexpr Parameters kDefaults = {7.0f / 11.0f, 0.75f, 0.7f, 0.0f, 1.0f, 1.0f};
// 1/64-bar slices, a capture every 4 bars, each repeat at half the level of
// the one before: the gain passes the smallest normal float after about
// 126 repeats.
constexpr Parameters kDecayIntoSubnormals = {1.0f, 0.0f, 0.7f, 0.3f, 0.5f, 1.0f};

struct Plan {
    Parameters parameters = kDefaults;
    pluginhost::BlockSizer blocks = pluginhost::fixedBlocks(512);
    // Called before every block: moves the transport or the parameters.
    std::function<void(std::int64_t frame, pluginhost::Transport&, ScenarioPlayer&)> beforeBlock;
    pluginhost::StereoBuffer input;
};

pluginhost::BlockSizer randomBlocks(std::uint32_t seed) {
    auto random = std::make_shared<std::mt19937>(seed);
    return [random](std::int64_t, std::int64_t) { return static_cast<std::int32_t>(1 + (*random)() % kLongestScenarioBlock); };
}

Plan planFor(const Scenario& scenario) {
    Plan plan;
    plan.input = testSignal(scenario.frames, static_cast<std::uint32_t>(scenario.frames));
    const std::string& name = scenario.name;
    if (name == "rate8000-block1") {
        plan.blocks = pluginhost::fixedBlocks(1);
    } else if (name == "rate44100-block17-parameter-changes") {
        plan.blocks = pluginhost::fixedBlocks(17);
        plan.beforeBlock = [step = 0](std::int64_t, pluginhost::Transport&, ScenarioPlayer& plugin) mutable {
            // A slow sweep of every parameter, one of them per block.
            const auto index = static_cast<VstInt32>(step % 6);
            plugin.setParameter(index, static_cast<float>((step * 37) % 101) / 100.0f);
            ++step;
        };
    } else if (name == "rate48000-block512-decay-into-subnormals") {
        plan.parameters = kDecayIntoSubnormals;
    } else if (name == "rate96000-random-blocks-jumps") {
        plan.blocks = randomBlocks(96);
        plan.parameters = {0.5f, 1.0f, 0.9f, 0.5f, 0.8f, 0.75f};
        plan.beforeBlock = [jumps = 0, random = std::mt19937(7)](std::int64_t frame, pluginhost::Transport& transport,
                                                                  ScenarioPlayer&) mutable {
            // Every 40000 frames or so, jump somewhere within 16 bars.
            if (frame / 40000 > jumps) {
                jumps = static_cast<int>(frame / 40000);
                transport.locate(static_cast<double>(random() % 6400) / 100.0);
            }
        };
    } else if (name == "rate88200-block512-loop") {
        plan.parameters = {3.0f / 11.0f, 0.5f, 1.0f, 0.0f, 0.9f, 1.0f};
        plan.beforeBlock = [](std::int64_t, pluginhost::Transport& transport, ScenarioPlayer&) {
            // A two-bar loop from bar 2: back to its start whenever it ends.
            if (transport.position() >= 12.0) transport.locate(4.0 + (transport.position() - 12.0));
        };
    } else if (name == "rate192000-preroll-then-stop") {
        plan.parameters = {9.0f / 11.0f, 1.0f, 0.4f, 1.0f, 0.9f, 0.6f};
        plan.beforeBlock = [](std::int64_t frame, pluginhost::Transport& transport, ScenarioPlayer&) {
            // Plays out of the pre-roll, then stops for the rest.
            if (frame >= 300000) transport.setPlaying(false);
        };
    } else if (name == "rate22050-tempo-changes-and-missing-time") {
        plan.blocks = randomBlocks(22);
        plan.beforeBlock = [block = 0](std::int64_t, pluginhost::Transport& transport, ScenarioPlayer&) mutable {
            transport.setTempo(block % 50 < 25 ? 89.75 : 140.0625);
            // Now and then a block without a position or without a tempo.
            const int phase = block % 17;
            transport.setKnown(phase != 3, phase != 9);
            ++block;
        };
    } else if (name == "rate32000-subnormal-input") {
        plan.blocks = pluginhost::fixedBlocks(17);
        plan.parameters = {1.0f, 1.0f, 0.3f, 0.7f, 0.99f, 0.5f};
        // The first half subnormal, the second as loud as ever.
        for (auto* channel : {&plan.input.left, &plan.input.right}) {
            for (std::size_t i = 0; i < channel->size() / 2; ++i) (*channel)[i] *= 1e-39f;
        }
    } else {
        throw std::logic_error("no plan for the scenario " + name);
    }
    return plan;
}

}  // namespace

const std::vector<Scenario>& renderScenarios() {
    static const std::vector<Scenario> scenarios = {
        {"rate8000-block1", 8000.0f, 97.3, 0.0, 40000},
        {"rate44100-block17-parameter-changes", 44100.0f, 133.33, 0.0, 200000},
        {"rate48000-block512-decay-into-subnormals", 48000.0f, 120.0, 0.0, 400000},
        {"rate96000-random-blocks-jumps", 96000.0f, 174.5, 1.5, 400000},
        {"rate88200-block512-loop", 88200.0f, 123.456, 0.0, 350000},
        {"rate192000-preroll-then-stop", 192000.0f, 60.125, -4.0, 500000},
        {"rate22050-tempo-changes-and-missing-time", 22050.0f, 89.75, 2.25, 200000},
        {"rate32000-subnormal-input", 32000.0f, 101.01, 0.0, 100000},
    };
    return scenarios;
}

namespace {

// The VST 2.4 host: the time record answered is the block's.
class VstPlayer final : public ScenarioPlayer, private vst2host::Host {
public:
    explicit VstPlayer(VstPluginMainProc entryPoint) : plugin_(*this, entryPoint) {}

    void start(float sampleRate) override {
        // The rate the effect may ask the host for, too.
        transport = pluginhost::Transport(sampleRate);
        plugin_.switchOn(sampleRate, 512);
    }
    void setParameter(VstInt32 index, float value) override { plugin_.setParameter(index, value); }
    void process(const pluginhost::BlockTime& time, const float* inLeft, const float* inRight, float* outLeft,
                 float* outRight, std::int32_t frames) override {
        time_ = vst2host::timeRecordOf(time);
        float* inputs[2] = {const_cast<float*>(inLeft), const_cast<float*>(inRight)};
        float* outputs[2] = {outLeft, outRight};
        plugin_.processReplacing(inputs, outputs, frames);
    }

private:
    VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override {
        if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&time_);
        return vst2host::Host::answer(effect, opcode, index, value, ptr, opt);
    }

    VstTimeInfo time_{};
    vst2host::PluginInstance plugin_;
};

}  // namespace

std::unique_ptr<ScenarioPlayer> vstScenarioPlayer(VstPluginMainProc entryPoint) {
    return std::make_unique<VstPlayer>(entryPoint);
}

pluginhost::StereoBuffer renderScenario(const Scenario& scenario, VstPluginMainProc entryPoint) {
    return renderScenario(scenario, *vstScenarioPlayer(entryPoint));
}

pluginhost::StereoBuffer renderScenario(const Scenario& scenario, ScenarioPlayer& player) {
    Plan plan = planFor(scenario);
    pluginhost::Transport transport(scenario.sampleRate, scenario.tempo, scenario.startPosition);
    player.start(scenario.sampleRate);
    for (VstInt32 index = 0; index < 6; ++index) player.setParameter(index, plan.parameters[static_cast<std::size_t>(index)]);
    const auto total = static_cast<std::int64_t>(plan.input.frames());
    pluginhost::StereoBuffer output(plan.input.frames());
    for (std::int64_t frame = 0; frame < total;) {
        const std::int64_t left = total - frame;
        const auto frames = static_cast<std::int32_t>(std::clamp<std::int64_t>(plan.blocks(frame, left), 1, left));
        if (plan.beforeBlock) plan.beforeBlock(frame, transport, player);
        const auto at = static_cast<std::size_t>(frame);
        player.process(transport.blockTime(), &plan.input.left[at], &plan.input.right[at], &output.left[at],
                       &output.right[at], frames);
        transport.advance(frames);
        frame += frames;
    }
    return output;
}

std::vector<char> interleavedBytes(const pluginhost::StereoBuffer& output) {
    std::vector<char> bytes(output.frames() * 2 * sizeof(float));
    char* at = bytes.data();
    for (std::size_t i = 0; i < output.frames(); ++i) {
        std::memcpy(at, &output.left[i], sizeof(float));
        std::memcpy(at + sizeof(float), &output.right[i], sizeof(float));
        at += 2 * sizeof(float);
    }
    return bytes;
}

}  // namespace platforms
