#include "slicecast_processor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "block_pieces.h"
#include "block_plan.h"
#include "parameter_tables.h"
#include "vst3_block_transport.h"
#include "vst3_identity.h"
#include "vst3_programs.h"
#include "vst3_state.h"
#include "vst3_text.h"

namespace slicecast {

namespace {

constexpr vst3::SpeakerArrangement kStereo = vst3::speaker_arrangements::kStereo;

bool isMainAudioBus(vst3::MediaType type, vst3::BusDirection direction, vst3::int32 index) noexcept {
    return type == vst3::kAudio && (direction == vst3::kInput || direction == vst3::kOutput) && index == 0;
}

// The two channels of the first bus, or null when there is no such bus or
// it is not stereo.
float* const* stereoChannels(const vst3::AudioBusBuffers* buses, vst3::int32 count) noexcept {
    if (buses == nullptr || count < 1) return nullptr;
    const vst3::AudioBusBuffers& bus = buses[0];
    if (bus.numChannels < 2 || bus.channelBuffers32 == nullptr) return nullptr;
    if (bus.channelBuffers32[0] == nullptr || bus.channelBuffers32[1] == nullptr) return nullptr;
    return bus.channelBuffers32;
}

// Whether frames samples are all zeros (+0 or -0: bits clear but the sign).
// Looked at in runs of 64 whose bits are ORed together with no branch
// inside, which the compiler turns into vector ORs: a gated or decayed pass
// leaves whole blocks of zeros, and a compare per sample would cost as much
// as the sound's own work on them. A run with sound ends the search.
bool holdsOnlyZeros(const float* samples, std::int32_t frames) noexcept {
    constexpr std::int32_t kRun = 64;
    constexpr std::uint32_t kMagnitude = 0x7fffffffu;
    const auto bitsOf = [](float sample) noexcept {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &sample, sizeof bits);
        return bits;
    };
    std::int32_t at = 0;
    for (; at + kRun <= frames; at += kRun) {
        std::uint32_t ored = 0;
        for (std::int32_t i = 0; i < kRun; ++i) ored |= bitsOf(samples[at + i]);
        if ((ored & kMagnitude) != 0) return false;
    }
    std::uint32_t ored = 0;
    for (; at < frames; ++at) ored |= bitsOf(samples[at]);
    return (ored & kMagnitude) == 0;
}

// Bit c set for each of the two channels that holds only zeros, so that a
// host may pass over what follows; a host may also have copied the input's
// flags there, which would no longer be true.
vst3::uint64 silenceFlagsOf(const float* const* channels, std::int32_t frames) noexcept {
    vst3::uint64 flags = 0;
    for (std::size_t channel = 0; channel < 2; ++channel) {
        if (holdsOnlyZeros(channels[channel], frames)) flags |= vst3::uint64{1} << channel;
    }
    return flags;
}

}  // namespace

vst3::FUnknown* SlicecastProcessor::create() noexcept {
    auto* processor = new (std::nothrow) SlicecastProcessor();
    return processor != nullptr ? static_cast<vst3::IComponent*>(processor) : nullptr;
}

void* SlicecastProcessor::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::calloc(1, size);
}

void SlicecastProcessor::operator delete(void* storage) noexcept { std::free(storage); }

SlicecastProcessor::SlicecastProcessor() noexcept {
    const NormalizedValues defaults = defaultNormalizedValues();
    const PlainValues plain = plainValuesOf(defaults);
    for (vst3::ParamID id = 0; id < kVst3ParameterCount; ++id) {
        values_[id].store(defaults[id]);
        plain_[id].store(plain[id]);
    }
    parameters_ = soundParametersOf(defaults);
}

// ---------------------------------------------------------------- FUnknown

vst3::tresult SlicecastProcessor::queryInterface(const vst3::TUID interfaceId, void** object) noexcept {
    if (object == nullptr) return vst3::kInvalidArgument;
    *object = nullptr;
    if (vst3::FUnknown::iid.matches(interfaceId) || vst3::IPluginBase::iid.matches(interfaceId) ||
        vst3::IComponent::iid.matches(interfaceId))
        *object = static_cast<vst3::IComponent*>(this);
    else if (vst3::IAudioProcessor::iid.matches(interfaceId))
        *object = static_cast<vst3::IAudioProcessor*>(this);
    else if (vst3::IProcessContextRequirements::iid.matches(interfaceId))
        *object = static_cast<vst3::IProcessContextRequirements*>(this);
    else if (vst3::IConnectionPoint::iid.matches(interfaceId))
        *object = static_cast<vst3::IConnectionPoint*>(this);
    else
        return vst3::kNoInterface;
    addRef();
    return vst3::kResultOk;
}

vst3::uint32 SlicecastProcessor::addRef() noexcept { return references_.add(); }

vst3::uint32 SlicecastProcessor::release() noexcept {
    const std::uint32_t left = references_.drop();
    if (left == 0) delete this;
    return left;
}

// ---------------------------------------------------------------- IPluginBase

vst3::tresult SlicecastProcessor::initialize(vst3::FUnknown* context) noexcept {
    // The context makes the message that hands the editor's feed over; a
    // host that makes none gets an effect without a live picture.
    if (initialized_) return vst3::kResultFalse;
    initialized_ = true;
    void* host = nullptr;
    if (context != nullptr && context->queryInterface(vst3::IHostApplication::iid.data(), &host) == vst3::kResultOk &&
        host != nullptr) {
        auto* application = static_cast<vst3::IHostApplication*>(host);
        host_.reset(application);
        application->release();
    }
    feed_.reset(SharedFeed::create());
    return vst3::kResultOk;
}

vst3::tresult SlicecastProcessor::terminate() noexcept {
    peer_.drop();
    feed_.reset();
    host_.reset();
    initialized_ = false;
    return vst3::kResultOk;
}

// ---------------------------------------------------------------- IComponent

vst3::tresult SlicecastProcessor::getControllerClassId(vst3::TUID classId) noexcept {
    if (classId == nullptr) return vst3::kInvalidArgument;
    std::memcpy(classId, kVst3ControllerClassId.data(), sizeof(vst3::TUID));
    return vst3::kResultOk;
}

vst3::tresult SlicecastProcessor::setIoMode(vst3::IoMode) noexcept { return vst3::kNotImplemented; }

vst3::int32 SlicecastProcessor::getBusCount(vst3::MediaType type, vst3::BusDirection direction) noexcept {
    return isMainAudioBus(type, direction, 0) ? 1 : 0;
}

vst3::tresult SlicecastProcessor::getBusInfo(vst3::MediaType type, vst3::BusDirection direction, vst3::int32 index,
                                             vst3::BusInfo& bus) noexcept {
    if (!isMainAudioBus(type, direction, index)) return vst3::kInvalidArgument;
    std::memset(&bus, 0, sizeof bus);
    bus.mediaType = vst3::kAudio;
    bus.direction = direction;
    bus.channelCount = vst3::channelCountOf(kStereo);
    writeUtf16(direction == vst3::kInput ? "Stereo In" : "Stereo Out", bus.name, vst3::kString128Size);
    bus.busType = vst3::kMain;
    bus.flags = vst3::kDefaultActive;
    return vst3::kResultOk;
}

vst3::tresult SlicecastProcessor::getRoutingInfo(vst3::RoutingInfo&, vst3::RoutingInfo&) noexcept {
    return vst3::kNotImplemented;
}

vst3::tresult SlicecastProcessor::activateBus(vst3::MediaType type, vst3::BusDirection direction, vst3::int32 index,
                                              vst3::TBool) noexcept {
    // Both buses are always read and written when the host gives them.
    return isMainAudioBus(type, direction, index) ? vst3::kResultOk : vst3::kInvalidArgument;
}

vst3::tresult SlicecastProcessor::setActive(vst3::TBool state) noexcept {
    // An activation starts as a new instance does (parameters kept): what
    // was captured before, perhaps at another rate, would replay wrongly.
    if (state != 0 && !active_) {
        activeRate_ = setupRate_;
        sound_.reset();
    }
    active_ = state != 0;
    return vst3::kResultOk;
}

vst3::tresult SlicecastProcessor::setState(vst3::IBStream* state) noexcept {
    if (state == nullptr) return vst3::kInvalidArgument;
    const std::optional<SavedState> saved = readState(*state);
    if (!saved) return vst3::kResultFalse;
    // The program only names the choice again: the values stand as saved.
    const NormalizedValues normalized = normalizedValuesOf(saved->values);
    for (vst3::ParamID id = 0; id < kVst3ParameterCount; ++id) {
        values_[id].store(normalized[id], std::memory_order_relaxed);
        plain_[id].store(saved->values[id], std::memory_order_relaxed);
    }
    program_.store(saved->preset.value_or(0), std::memory_order_relaxed);
    revision_.fetch_add(1, std::memory_order_release);
    return vst3::kResultOk;
}

vst3::tresult SlicecastProcessor::getState(vst3::IBStream* state) noexcept {
    if (state == nullptr) return vst3::kInvalidArgument;
    PlainValues plain{};
    for (vst3::ParamID id = 0; id < kVst3ParameterCount; ++id) plain[id] = plain_[id].load(std::memory_order_relaxed);
    const std::int32_t program = program_.load(std::memory_order_relaxed);
    return writeState(*state, plain, program) ? vst3::kResultOk : vst3::kResultFalse;
}

// ---------------------------------------------------------------- IAudioProcessor

vst3::tresult SlicecastProcessor::setBusArrangements(vst3::SpeakerArrangement* inputs, vst3::int32 numIns,
                                                     vst3::SpeakerArrangement* outputs,
                                                     vst3::int32 numOuts) noexcept {
    // Stereo in, stereo out, and nothing else: any other wish leaves the
    // stereo pair in place, which is what the host reads back.
    if (active_ || numIns != 1 || numOuts != 1 || inputs == nullptr || outputs == nullptr) return vst3::kResultFalse;
    return inputs[0] == kStereo && outputs[0] == kStereo ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::tresult SlicecastProcessor::getBusArrangement(vst3::BusDirection direction, vst3::int32 index,
                                                    vst3::SpeakerArrangement& arrangement) noexcept {
    if (!isMainAudioBus(vst3::kAudio, direction, index)) return vst3::kInvalidArgument;
    arrangement = kStereo;
    return vst3::kResultOk;
}

vst3::tresult SlicecastProcessor::canProcessSampleSize(vst3::int32 symbolicSampleSize) noexcept {
    return symbolicSampleSize == vst3::kSample32 ? vst3::kResultTrue : vst3::kResultFalse;
}

vst3::uint32 SlicecastProcessor::getLatencySamples() noexcept { return 0; }

vst3::tresult SlicecastProcessor::setupProcessing(vst3::ProcessSetup& setup) noexcept {
    if (setup.symbolicSampleSize != vst3::kSample32) return vst3::kResultFalse;
    const auto rate = static_cast<float>(setup.sampleRate);
    if (!std::isfinite(rate) || !(rate > 0.0f)) return vst3::kInvalidArgument;
    // Taken by the next activation: the sound keeps the rate it was
    // started with until then.
    setupRate_ = rate;
    return vst3::kResultOk;
}

vst3::tresult SlicecastProcessor::setProcessing(vst3::TBool) noexcept { return vst3::kResultOk; }

vst3::tresult SlicecastProcessor::process(vst3::ProcessData& data) noexcept {
    catchUp();
    changes_.start(data.inputParameterChanges);
    const std::int32_t frames = data.numSamples;
    // A call without frames (the host's flush) brings parameter changes
    // alone; so does one without output buffers to fill.
    if (frames <= 0) {
        applyChanges();
        return vst3::kResultOk;
    }
    if (data.symbolicSampleSize != vst3::kSample32) {
        applyChanges();
        return vst3::kInvalidArgument;
    }
    float* const* outputs = stereoChannels(data.outputs, data.numOutputs);
    if (outputs == nullptr) {
        applyChanges();
        return vst3::kResultOk;
    }
    const BlockTransport transport = transportOf(data.processContext);
    lastTempo_.store(tempoOf(transport), std::memory_order_relaxed);
    EditorFeed* feed = feed_.get() != nullptr ? &feed_.get()->feed() : nullptr;
    BlockPieces pieces(sound_, activeRate_, transport, stereoChannels(data.inputs, data.numInputs), outputs, frames,
                       feed != nullptr ? feed->summariserWhileRead() : nullptr, feed);
    ChangePoint point;
    while (changes_.next(point)) {
        // A point out of order, or past the end, applies at the earliest
        // frame still to come, or after the block.
        pieces.playUntil(point.offset, parameters_);
        set(point.id, point.value);
    }
    pieces.finish(parameters_);
    data.outputs[0].silenceFlags = silenceFlagsOf(outputs, frames);
    return vst3::kResultOk;
}

void SlicecastProcessor::applyChanges() noexcept {
    ChangePoint point;
    while (changes_.next(point)) set(point.id, point.value);
}

void SlicecastProcessor::set(vst3::ParamID id, double normalized) noexcept {
    if (isProgramParameter(id)) {
        choose(programOfNormalized(normalized));
        return;
    }
    const double settled = settledNormalized(id, normalized);
    values_[id].store(settled, std::memory_order_relaxed);
    plain_[id].store(plainOfNormalized(id, settled), std::memory_order_relaxed);
    mapInto(parameters_, id, settled);
}

void SlicecastProcessor::choose(std::int32_t program) noexcept {
    if (program == program_.load(std::memory_order_relaxed)) return;
    program_.store(program, std::memory_order_relaxed);
    const NormalizedValues preset = programValues(program);
    for (vst3::ParamID id = 0; id < kVst3ParameterCount; ++id) set(id, preset[id]);
}

void SlicecastProcessor::catchUp() noexcept {
    const std::uint32_t revision = revision_.load(std::memory_order_acquire);
    if (revision == mappedRevision_) return;
    mappedRevision_ = revision;
    parameters_ = soundParametersOf(values());
}

NormalizedValues SlicecastProcessor::values() const noexcept {
    NormalizedValues normalized{};
    for (vst3::ParamID id = 0; id < kVst3ParameterCount; ++id)
        normalized[id] = values_[id].load(std::memory_order_relaxed);
    return normalized;
}

vst3::uint32 SlicecastProcessor::getTailSamples() noexcept {
    // The repeats go on until the update period under way ends: at most one
    // whole period, at the tempo last played (the sound's own default before
    // any block) and the rate of the last setup, rounded up.
    const auto period = static_cast<std::size_t>(
        plainOfNormalized(kUpdatePeriod, values_[kUpdatePeriod].load(std::memory_order_relaxed)));
    const double samplesPerQuarter =
        static_cast<double>(setupRate_) / (lastTempo_.load(std::memory_order_relaxed) / 60.0);
    const double samples = std::ceil(samplesPerQuarter * 4.0 / updatePeriodScales[period]);
    return static_cast<vst3::uint32>(std::clamp(samples, 1.0, static_cast<double>(vst3::kInfiniteTail - 1)));
}

vst3::uint32 SlicecastProcessor::getProcessContextRequirements() noexcept {
    return vst3::kNeedProjectTimeMusic | vst3::kNeedTempo;
}

// ---------------------------------------------------------------- IConnectionPoint

vst3::tresult SlicecastProcessor::connect(vst3::IConnectionPoint* other) noexcept {
    const vst3::tresult answer = peer_.connect(other);
    if (answer == vst3::kResultOk && feed_.get() != nullptr && host_.get() != nullptr)
        feed_.get()->sendTo(*other, *host_.get());
    return answer;
}

vst3::tresult SlicecastProcessor::disconnect(vst3::IConnectionPoint* other) noexcept {
    return peer_.disconnect(other);
}

vst3::tresult SlicecastProcessor::notify(vst3::IMessage*) noexcept { return vst3::kResultFalse; }

}  // namespace slicecast
