// The VST 3 edition's processing door: parameter-change queues with any
// ids, offsets out of order or past the block and any values; process
// contexts with any flags and values; bus buffers missing or in place;
// setup, bus arrangements, activation and processing switched in any
// order; messages and connections; the controller's values and texts.
//
// Two processors play the same script: the reference always with its own
// input and output buffers, the other with the buffers the script picks.
// Missing inputs are silence, in place is the same as apart, so both must
// play the same bits; every sample stays finite and within what the sound
// can reach, and the silence flags tell the truth.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "byte_reader.h"
#include "host_message.h"
#include "memory_stream.h"
#include "vst3_plugin.h"

namespace slicecastfuzz {
namespace {

constexpr vst3::int32 kMostFrames = 1024;
constexpr vst3::SpeakerArrangement kStereo = vst3::speaker_arrangements::kStereo;
// The program change's parameter, and its list, as the controller lists them.
constexpr vst3::ParamID kProgramChange = 100;
constexpr vst3::ProgramListID kProgramList = 100;

enum class Buffers { Apart, InPlace, NoInputBus, NoInputChannels, MonoInput, NoOutputBus, NoOutputChannel, Count };

bool withoutOutput(Buffers buffers) { return buffers == Buffers::NoOutputBus || buffers == Buffers::NoOutputChannel; }
bool withoutInput(Buffers buffers) {
    return buffers == Buffers::NoInputBus || buffers == Buffers::NoInputChannels || buffers == Buffers::MonoInput;
}

vst3::ProcessContext contextFrom(ByteReader& input) {
    vst3::ProcessContext context{};
    context.state = input.flag() ? input.anyInteger<std::uint32_t>()
                                 : (input.flag() ? vst3::kProjectTimeMusicValid : 0u) |
                                       (input.flag() ? vst3::kTempoValid : 0u) | vst3::kPlaying;
    context.sampleRate = input.valueIn(8000.0, 192000.0);
    context.projectTimeMusic = input.valueIn(-8.0, 512.0);
    context.tempo = input.valueIn(20.0, 300.0);
    context.projectTimeSamples = input.anyInteger<std::int64_t>();
    context.barPositionMusic = input.anyDouble();
    context.timeSigNumerator = input.anyInteger<std::int32_t>();
    context.timeSigDenominator = input.anyInteger<std::int32_t>();
    return context;
}

// A parameter's id, the program change's among them, or any id at all.
vst3::ParamID anyId(ByteReader& input) {
    if (input.choice(8) == 0) return kProgramChange;
    return input.flag() ? input.integer<vst3::ParamID>(0, 7) : input.anyInteger<vst3::ParamID>();
}

vst3host::Ref<RawChanges> changesFrom(ByteReader& input, vst3::int32 frames) {
    auto changes = vst3host::makeHostObject<RawChanges>();
    const std::size_t queues = input.integer<std::size_t>(0, 8);
    for (std::size_t q = 0; q < queues; ++q) {
        const auto id = anyId(input);
        std::vector<RawQueue::Point> points(input.integer<std::size_t>(0, 6));
        for (RawQueue::Point& point : points) {
            point.offset = input.choice(8) == 0 ? input.anyInteger<vst3::int32>() : input.integer(0, frames + 2);
            point.value = input.valueIn(0.0, 1.0);
            point.readable = input.choice(16) != 0;
        }
        changes->add(vst3host::makeHostObject<RawQueue>(id, std::move(points)));
    }
    return changes;
}

bool holdsOnlyZeros(const float* samples, vst3::int32 frames) {
    return std::all_of(samples, samples + frames, [](float sample) { return sample == 0.0f; });
}

class Session {
public:
    explicit Session(ByteReader& input) : input_(input) {}

    void play() {
        while (!input_.empty()) {
            switch (input_.choice(10)) {
                case 0: setup(); break;
                case 1: activate(input_.flag()); break;
                case 2: switchProcessing(input_.flag()); break;
                case 3: arrange(); break;
                case 4: message(); break;
                case 5: controllerValues(); break;
                case 6: queries(); break;
                default: process(); break;
            }
            require(savedState(reference_) == savedState(fuzzed_), "the two processors hold different values");
        }
    }

private:
    static std::vector<std::uint8_t> savedState(Vst3Plugin& plugin) {
        auto stream = vst3host::makeHostObject<vst3host::MemoryStream>();
        require(plugin.component->getState(stream.get()) == vst3::kResultOk, "getState");
        return stream->bytes();
    }

    template <typename Call>
    void onBoth(Call call) {
        call(reference_);
        call(fuzzed_);
    }

    void setup() {
        vst3::ProcessSetup setup{input_.integer(0, 3), input_.flag() ? vst3::kSample32 : input_.integer(-1, 2),
                                 input_.integer<vst3::int32>(0, kMostFrames),
                                 input_.flag() ? input_.anyDouble() : input_.valueIn(8000.0, 192000.0)};
        vst3::tresult results[2];
        int at = 0;
        onBoth([&](Vst3Plugin& plugin) { results[at++] = plugin.processor->setupProcessing(setup); });
        require(results[0] == results[1], "setupProcessing answered differently");
        // A setup while active is taken by the next activation.
        if (results[0] == vst3::kResultOk) setupFrames_ = setup.maxSamplesPerBlock;
    }

    void activate(bool on) {
        if (!on && processing_) switchProcessing(false);
        onBoth([on](Vst3Plugin& plugin) { plugin.component->setActive(on ? 1 : 0); });
        if (on && !active_) activeFrames_ = setupFrames_;
        active_ = on;
    }

    void switchProcessing(bool on) {
        onBoth([on](Vst3Plugin& plugin) { plugin.processor->setProcessing(on ? 1 : 0); });
        processing_ = on;
    }

    void arrange() {
        const auto anyArrangement = [this] { return input_.anyInteger<vst3::SpeakerArrangement>(); };
        std::array<vst3::SpeakerArrangement, 2> inputs{anyArrangement(), kStereo};
        std::array<vst3::SpeakerArrangement, 2> outputs{input_.flag() ? kStereo : anyArrangement(), kStereo};
        const auto ins = input_.integer<vst3::int32>(0, 2);
        const auto outs = input_.integer<vst3::int32>(0, 2);
        onBoth([&](Vst3Plugin& plugin) {
            (void)plugin.processor->setBusArrangements(inputs.data(), ins, outputs.data(), outs);
            for (vst3::BusDirection direction : {vst3::kInput, vst3::kOutput}) {
                vst3::SpeakerArrangement kept = 0;
                require(plugin.processor->getBusArrangement(direction, 0, kept) == vst3::kResultOk && kept == kStereo,
                        "the stereo arrangement given up");
            }
        });
    }

    // Messages of any id and content, and connections made and undone in
    // any order, with the other side or a stranger.
    void message() {
        auto note = vst3host::makeHostObject<vst3host::HostMessage>();
        note->setMessageID(input_.text(16).c_str());
        note->getAttributes()->setInt(input_.text(8).c_str(), input_.anyInteger<std::int64_t>());
        const std::vector<std::uint8_t> blob = input_.bytes(64);
        note->getAttributes()->setBinary("data", blob.data(), static_cast<vst3::uint32>(blob.size()));
        Vst3Plugin& plugin = fuzzed_;
        switch (input_.choice(5)) {
            case 0: (void)plugin.componentPoint->connect(plugin.controllerPoint.get()); break;
            case 1: (void)plugin.controllerPoint->connect(plugin.componentPoint.get()); break;
            case 2:
                (void)plugin.componentPoint->disconnect(input_.flag() ? plugin.controllerPoint.get() : nullptr);
                break;
            case 3: (void)plugin.controllerPoint->disconnect(plugin.componentPoint.get()); break;
            default: break;
        }
        (void)plugin.componentPoint->notify(note.get());
        (void)plugin.controllerPoint->notify(input_.flag() ? note.get() : nullptr);
    }

    // A value set is kept settled, and its text read back shows the same.
    void controllerValues() {
        vst3::IEditController& controller = *reference_.controller;
        const auto id = anyId(input_);
        (void)controller.setParamNormalized(id, input_.anyDouble());
        const double held = controller.getParamNormalized(id);
        require(held >= 0.0 && held <= 1.0, "a normalized value outside 0..1");
        vst3::String128 shown{};
        if (controller.getParamStringByValue(id, input_.anyDouble(), shown) != vst3::kResultOk) return;
        double read = -1.0;
        require(controller.getParamValueByString(id, shown, read) == vst3::kResultOk, "a shown text not read back");
        vst3::String128 again{};
        require(controller.getParamStringByValue(id, read, again) == vst3::kResultOk, "text of a read value");
        require(std::equal(std::begin(shown), std::end(shown), std::begin(again)), "a text read back shows another");
        const double plain = controller.normalizedParamToPlain(id, input_.anyDouble());
        (void)controller.plainParamToNormalized(id, plain);
    }

    void queries() {
        Vst3Plugin& plugin = fuzzed_;
        vst3::BusInfo bus{};
        (void)plugin.component->getBusInfo(input_.integer(-1, 2), input_.integer(-1, 2), input_.integer(-1, 2), bus);
        (void)plugin.component->getBusCount(input_.integer(-1, 2), input_.integer(-1, 2));
        (void)plugin.processor->getTailSamples();
        (void)plugin.processor->getLatencySamples();
        vst3::ParameterInfo info{};
        (void)plugin.controller->getParameterInfo(input_.integer(-1, 8), info);
        const auto units = vst3host::queryOf<vst3::IUnitInfo>(plugin.controller.get());
        require(static_cast<bool>(units), "the controller's unit info");
        const vst3::ProgramListID list = input_.flag() ? kProgramList : input_.anyInteger<vst3::ProgramListID>();
        const auto program = input_.integer<vst3::int32>(-2, 16);
        vst3::String128 name{};
        (void)units->getProgramName(list, program, name);
        (void)units->getProgramInfo(list, program, "name", name);
        vst3::ProgramListInfo listInfo{};
        (void)units->getProgramListInfo(input_.integer(-1, 2), listInfo);
        vst3::UnitInfo unit{};
        (void)units->getUnitInfo(input_.integer(-1, 2), unit);
    }

    void process() {
        if (!active_ || !processing_) {
            if (!active_) activate(true);
            return switchProcessing(true);
        }
        const vst3::int32 frames = input_.choice(16) == 0 ? input_.integer(-2, 0) : input_.integer(0, activeFrames_);
        const auto buffers = static_cast<Buffers>(input_.choice(static_cast<std::size_t>(Buffers::Count)));
        const vst3::int32 filled = std::max(frames, 0);
        for (auto& channel : input) std::generate_n(channel.begin(), filled, [this] { return input_.sample(); });
        for (auto& channel : output) std::fill(channel.begin(), channel.end(), 0.5f);
        const vst3host::Ref<RawChanges> changes = changesFrom(input_, frames);
        const bool withContext = input_.flag();
        vst3::ProcessContext context = contextFrom(input_);

        // The reference: its own buffers, hearing silence where the other has no input.
        std::array<std::vector<float>, 2> heard = input;
        if (withoutInput(buffers)) for (auto& channel : heard) std::fill(channel.begin(), channel.end(), 0.0f);
        const std::array<std::vector<float>, 2> heardBefore = heard;
        std::array<std::vector<float>, 2> played = output;
        float* referenceIn[2] = {heard[0].data(), heard[1].data()};
        float* referenceOut[2] = {played[0].data(), played[1].data()};
        vst3::AudioBusBuffers referenceBuses[2]{{2, 0, {referenceIn}}, {2, 0, {referenceOut}}};

        float* fuzzedIn[2] = {input[0].data(), input[1].data()};
        float* fuzzedOut[2] = {output[0].data(), output[1].data()};
        if (buffers == Buffers::InPlace) std::copy(fuzzedIn, fuzzedIn + 2, fuzzedOut);
        if (buffers == Buffers::NoInputChannels) fuzzedIn[input_.choice(2)] = nullptr;
        if (buffers == Buffers::NoOutputChannel) fuzzedOut[input_.choice(2)] = nullptr;
        vst3::AudioBusBuffers fuzzedBuses[2]{{buffers == Buffers::MonoInput ? 1 : 2, 0, {fuzzedIn}},
                                             {2, input_.anyInteger<vst3::uint64>(), {fuzzedOut}}};

        const auto call = [&](vst3::AudioBusBuffers* buses, bool noInput, bool noOutput) {
            return vst3::ProcessData{vst3::kRealtime, vst3::kSample32, frames, noInput ? 0 : 1, noOutput ? 0 : 1,
                                     noInput ? nullptr : &buses[0], noOutput ? nullptr : &buses[1], changes.get(),
                                     nullptr, nullptr, nullptr, withContext ? &context : nullptr};
        };
        vst3::ProcessData fuzzedCall =
            call(fuzzedBuses, buffers == Buffers::NoInputBus, buffers == Buffers::NoOutputBus);
        vst3::ProcessData referenceCall = call(referenceBuses, false, false);
        // Without outputs the block brings its changes alone, as a call
        // without frames does.
        if (withoutOutput(buffers)) referenceCall.numSamples = 0;
        if (frames > 0 && input_.choice(16) == 0) {
            // Samples of a size never agreed on: refused, the changes taken
            // all the same, as a call without frames takes them.
            fuzzedCall.symbolicSampleSize = vst3::kSample64;
            referenceCall.numSamples = 0;
            require(fuzzed_.processor->process(fuzzedCall) == vst3::kInvalidArgument, "64-bit samples played");
            require(reference_.processor->process(referenceCall) == vst3::kResultOk, "a call without frames refused");
            return;
        }
        require(fuzzed_.processor->process(fuzzedCall) == vst3::kResultOk, "a block refused");
        require(reference_.processor->process(referenceCall) == vst3::kResultOk, "a reference block refused");
        if (frames <= 0 || withoutOutput(buffers)) return;
        for (std::size_t channel = 0; channel < 2; ++channel) {
            requireSameBits(heard[channel].data(), heardBefore[channel].data(), frames, "an input written");
            requireBounded(played[channel].data(), frames, "a sample out of bounds");
            const float* fuzzedPlayed = buffers == Buffers::InPlace ? input[channel].data() : output[channel].data();
            requireSameBits(played[channel].data(), fuzzedPlayed, frames, "buffers changed the sound");
            const bool flagged = ((referenceBuses[1].silenceFlags >> channel) & 1u) != 0;
            require(flagged == (((fuzzedBuses[1].silenceFlags >> channel) & 1u) != 0), "silence flags differ");
            require(flagged == holdsOnlyZeros(played[channel].data(), frames), "a silence flag that is not true");
        }
    }

    ByteReader& input_;
    Vst3Plugin reference_;
    Vst3Plugin fuzzed_;
    bool active_ = false;
    bool processing_ = false;
    vst3::int32 setupFrames_ = kMostFrames;
    vst3::int32 activeFrames_ = kMostFrames;
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
