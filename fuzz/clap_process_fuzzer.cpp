// The CLAP edition's processing door: event lists of every type, size,
// time and order, transports with any flags and values, missing buffers and
// in-place ones, any frame count up to the activated maximum, activation
// and flushes between blocks, and the parameters' texts.
//
// Two instances play the same script: the reference always with its own
// input and output buffers, the other with the buffers the script picks.
// Missing inputs are silence, in place is the same as apart, so both must
// play the same bits; every sample stays finite and within what the sound
// can reach, and every value the plug-in answers within its range.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "byte_reader.h"
#include "clap_plugin.h"

namespace slicecastfuzz {
namespace {

constexpr std::uint32_t kMostFrames = 1024;

// The size each core event type has; types past the table get any size.
constexpr std::array<std::uint32_t, 13> kEventSizes{
    40, 40, 40, 40, 40, sizeof(clap::EventParamValue), sizeof(clap::EventParamValue), 24, 24,
    sizeof(clap::EventTransport), 24, 40, 36};

enum class Buffers { Apart, InPlace, NoInputPort, NoInputChannels, MonoInput, NoOutputPort, NoOutputChannel, Count };

bool withoutOutput(Buffers buffers) { return buffers == Buffers::NoOutputPort || buffers == Buffers::NoOutputChannel; }
bool withoutInput(Buffers buffers) {
    return buffers == Buffers::NoInputPort || buffers == Buffers::NoInputChannels || buffers == Buffers::MonoInput;
}

clap::EventTransport transportFrom(ByteReader& input) {
    clap::EventTransport transport{};
    transport.header = {sizeof transport, 0, clap::kCoreEventSpace, clap::kEventTransport, 0};
    transport.flags = input.flag() ? input.anyInteger<std::uint32_t>()
                                   : static_cast<std::uint32_t>(input.integer(0, 0xff));
    // Fixed point holds no NaN: an unusable position stands for any bits.
    const double quarters = input.valueIn(-8.0, 512.0);
    transport.songPosBeats = input.flag() || !std::isfinite(quarters)
                                 ? input.anyInteger<std::int64_t>()
                                 : static_cast<std::int64_t>(std::clamp(quarters, -4e9, 4e9) * clap::kBeatTimeFactor);
    transport.tempo = input.valueIn(20.0, 300.0);
    transport.tempoInc = input.anyDouble();
    transport.tsigNum = input.anyInteger<std::uint16_t>();
    transport.tsigDenom = input.anyInteger<std::uint16_t>();
    return transport;
}

// One event of any type at any time, of its own size or another one.
void addEvent(ByteReader& input, RawEvents& events, std::uint32_t frames) {
    const auto type = static_cast<std::uint16_t>(input.flag() ? input.choice(kEventSizes.size())
                                                              : input.anyInteger<std::uint16_t>());
    std::uint32_t size = type < kEventSizes.size() ? kEventSizes[type] : 24;
    if (input.choice(8) == 0) size = input.integer<std::uint32_t>(sizeof(clap::EventHeader), 96);
    std::array<std::uint64_t, 16> storage{};
    auto* bytes = reinterpret_cast<std::uint8_t*>(storage.data());
    const std::vector<std::uint8_t> body = input.bytes(size - sizeof(clap::EventHeader));
    std::copy(body.begin(), body.end(), bytes + sizeof(clap::EventHeader));
    if (type == clap::kEventTransport && size >= sizeof(clap::EventTransport)) {
        const clap::EventTransport transport = transportFrom(input);
        std::memcpy(bytes, &transport, sizeof transport);
    }
    if ((type == clap::kEventParamValue || type == clap::kEventParamMod) && size >= sizeof(clap::EventParamValue)) {
        clap::EventParamValue change{};
        change.paramId = input.flag() ? input.integer<clap::Id>(0, 7) : input.anyInteger<clap::Id>();
        change.value = input.flag() ? input.valueIn(0.0, 100.0) : input.valueIn(0.0, 11.0);
        std::memcpy(bytes, &change, sizeof change);
    }
    const std::uint32_t time = input.choice(8) == 0 ? input.anyInteger<std::uint32_t>()
                                                    : input.integer<std::uint32_t>(0, frames + 4);
    const auto space = static_cast<std::uint16_t>(input.choice(8) == 0 ? 1 : clap::kCoreEventSpace);
    const clap::EventHeader header{size, time, space, type, input.anyInteger<std::uint32_t>()};
    std::memcpy(bytes, &header, sizeof header);
    events.add(bytes, size);
}

class Session {
public:
    explicit Session(ByteReader& input) : input_(input) {}

    void play() {
        while (!input_.empty()) {
            switch (input_.choice(9)) {
                case 0: activate(); break;
                case 5: presetLoad(); break;
                case 1: deactivate(); break;
                case 2: flush(); break;
                case 3: texts(); break;
                case 4:
                    for (ClapPlugin* plugin : {&reference_, &fuzzed_}) plugin->plugin->reset(plugin->plugin);
                    break;
                default: process(); break;
            }
            reference_.requireValuesInRange();
            require(reference_.values() == fuzzed_.values(), "the two instances hold different values");
        }
        deactivate();
    }

private:
    void activate() {
        if (active_) return;
        const double rate = input_.flag() ? input_.anyDouble() : input_.valueIn(8000.0, 192000.0);
        maxFrames_ = input_.integer<std::uint32_t>(1, kMostFrames);
        const bool first = reference_.plugin->activate(reference_.plugin, rate, 1, maxFrames_);
        const bool second = fuzzed_.plugin->activate(fuzzed_.plugin, rate, 1, maxFrames_);
        require(first == second, "activation answered differently");
        active_ = first;
        if (!active_) return;
        for (ClapPlugin* plugin : {&reference_, &fuzzed_}) {
            require(plugin->plugin->startProcessing(plugin->plugin), "start_processing");
        }
    }

    void deactivate() {
        if (!active_) return;
        for (ClapPlugin* plugin : {&reference_, &fuzzed_}) {
            plugin->plugin->stopProcessing(plugin->plugin);
            plugin->plugin->deactivate(plugin->plugin);
        }
        active_ = false;
    }

    // Outside processing only, as the format asks.
    void flush() {
        if (active_) return;
        RawEvents events;
        const std::size_t count = input_.integer<std::size_t>(0, 6);
        for (std::size_t i = 0; i < count; ++i) addEvent(input_, events, 0);
        for (ClapPlugin* plugin : {&reference_, &fuzzed_}) {
            plugin->params->flush(plugin->plugin, events.inputEvents(), nullptr);
        }
    }

    // A factory preset by any key at any location: one that is refused
    // leaves the values as they were.
    void presetLoad() {
        static constexpr std::array<const char*, 5> kKeys{"default", "bar-loop", "decay-sweep", "Default", ""};
        const std::string key = input_.flag() ? std::string(kKeys[input_.choice(kKeys.size())]) : input_.text(24);
        const std::string location = input_.text(16);
        const auto kind = input_.flag() ? clap::kPresetLocationPlugin : input_.anyInteger<std::uint32_t>();
        const char* where = input_.flag() ? nullptr : location.c_str();
        const char* loadKey = input_.flag() ? key.c_str() : nullptr;
        const std::vector<double> before = reference_.values();
        bool loaded[2];
        int at = 0;
        for (ClapPlugin* plugin : {&reference_, &fuzzed_}) {
            loaded[at++] = plugin->presetLoad->fromLocation(plugin->plugin, kind, where, loadKey);
        }
        require(loaded[0] == loaded[1], "a preset loaded in one instance only");
        if (!loaded[0]) require(reference_.values() == before, "a refused preset changed a value");
    }

    // A display text read back gives a value that shows the same text.
    void texts() {
        const ClapPlugin& plugin = reference_;
        const auto id = input_.integer<clap::Id>(0, 7);
        const double value = input_.anyDouble();
        const auto capacity = input_.integer<std::uint32_t>(0, 40);
        std::array<char, 64> shown{};
        shown.fill('\x7f');
        if (!plugin.params->valueToText(plugin.plugin, id, value, shown.data(), capacity)) {
            const std::string typed = input_.text(24);
            double read = 0.0;
            (void)plugin.params->textToValue(plugin.plugin, id, typed.c_str(), &read);
            return;
        }
        require(std::memchr(shown.data(), '\0', capacity) != nullptr, "a text without its end within capacity");
        double read = 0.0;
        require(plugin.params->textToValue(plugin.plugin, id, shown.data(), &read), "a shown text not read back");
        std::array<char, 64> again{};
        require(plugin.params->valueToText(plugin.plugin, id, read, again.data(), again.size()),
                "text of a read value");
        require(std::strcmp(shown.data(), again.data()) == 0, "a text read back shows another text");
    }

    void process() {
        if (!active_) return activate();
        const std::uint32_t frames = input_.integer<std::uint32_t>(0, maxFrames_);
        const auto buffers = static_cast<Buffers>(input_.choice(static_cast<std::size_t>(Buffers::Count)));
        for (auto& channel : input) std::generate_n(channel.begin(), frames, [this] { return input_.sample(); });
        for (auto& channel : output) std::fill(channel.begin(), channel.end(), 0.5f);
        RawEvents events;
        const std::size_t count = input_.integer<std::size_t>(0, 8);
        for (std::size_t i = 0; i < count; ++i) addEvent(input_, events, frames);
        const bool withTransport = input_.flag();
        const clap::EventTransport transport = transportFrom(input_);

        // The reference: its own buffers, hearing silence where the other has no input.
        std::array<std::vector<float>, 2> heard = input;
        if (withoutInput(buffers)) for (auto& channel : heard) std::fill(channel.begin(), channel.end(), 0.0f);
        const std::array<std::vector<float>, 2> heardBefore = heard;
        std::array<std::vector<float>, 2> played = output;
        float* referenceIn[2] = {heard[0].data(), heard[1].data()};
        float* referenceOut[2] = {played[0].data(), played[1].data()};
        clap::AudioBuffer referenceInput{referenceIn, nullptr, 2, 0, 0};
        clap::AudioBuffer referenceOutput{referenceOut, nullptr, 2, 0, 0};
        const clap::Process referenceCall{-1, frames, withTransport ? &transport : nullptr, &referenceInput,
                                          &referenceOutput, 1, 1, events.inputEvents(), nullptr};

        float* fuzzedIn[2] = {input[0].data(), input[1].data()};
        float* fuzzedOut[2] = {output[0].data(), output[1].data()};
        if (buffers == Buffers::InPlace) std::copy(fuzzedIn, fuzzedIn + 2, fuzzedOut);
        if (buffers == Buffers::NoInputChannels) fuzzedIn[input_.choice(2)] = nullptr;
        if (buffers == Buffers::NoOutputChannel) fuzzedOut[input_.choice(2)] = nullptr;
        clap::AudioBuffer fuzzedInput{fuzzedIn, nullptr, buffers == Buffers::MonoInput ? 1u : 2u, 0, 0};
        clap::AudioBuffer fuzzedOutput{fuzzedOut, nullptr, 2, 0, 0};
        const clap::Process fuzzedCall{-1,
                                       frames,
                                       withTransport ? &transport : nullptr,
                                       buffers == Buffers::NoInputPort ? nullptr : &fuzzedInput,
                                       &fuzzedOutput,
                                       buffers == Buffers::NoInputPort ? 0u : 1u,
                                       buffers == Buffers::NoOutputPort ? 0u : 1u,
                                       events.inputEvents(),
                                       nullptr};

        const clap::ProcessStatus status = fuzzed_.plugin->process(fuzzed_.plugin, &fuzzedCall);
        if (withoutOutput(buffers)) {
            require(status == clap::kProcessError, "a block without outputs was played");
            return;
        }
        require(status != clap::kProcessError, "a block with outputs refused");
        require(reference_.plugin->process(reference_.plugin, &referenceCall) != clap::kProcessError, "reference");
        for (std::size_t channel = 0; channel < 2; ++channel) {
            requireSameBits(heard[channel].data(), heardBefore[channel].data(), frames, "an input written");
            requireBounded(played[channel].data(), frames, "a sample out of bounds");
            const float* fuzzedPlayed = buffers == Buffers::InPlace ? input[channel].data() : output[channel].data();
            requireSameBits(played[channel].data(), fuzzedPlayed, frames, "buffers changed the sound");
        }
    }

    ByteReader& input_;
    claphost::HostObject host_;
    ClapPlugin reference_{host_};
    ClapPlugin fuzzed_{host_};
    bool active_ = false;
    std::uint32_t maxFrames_ = 1;
    std::array<std::vector<float>, 2> input{std::vector<float>(kMostFrames), std::vector<float>(kMostFrames)};
    std::array<std::vector<float>, 2> output{std::vector<float>(kMostFrames), std::vector<float>(kMostFrames)};
};

}  // namespace
}  // namespace slicecastfuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    slicecastfuzz::ByteReader input(data, size);
    slicecastfuzz::Session(input).play();
    return 0;
}
