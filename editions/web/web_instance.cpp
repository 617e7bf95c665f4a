#include "web_instance.h"

#include <cmath>
#include <cstdlib>
#include <new>

namespace slicecast {

namespace {

constexpr std::int32_t kBufferCount = kInputCount + kOutputCount;

// The buffers follow the instance in its allocation, aligned as floats are.
constexpr std::size_t kBuffersOffset = (sizeof(SlicecastWeb) + alignof(float) - 1) / alignof(float) * alignof(float);

// As the LV2 edition reads time:beatsPerMinute: known while finite and
// above 0 (the sound plays any other at its default tempo).
bool usableTempo(double tempo) noexcept { return std::isfinite(tempo) && tempo > 0.0; }

}  // namespace

SlicecastWeb::SlicecastWeb(double sampleRate, std::int32_t maxFrames, float* buffers) noexcept
    : sampleRate_(static_cast<float>(sampleRate)),
      maxFrames_(maxFrames),
      buffers_(buffers),
      transport_(sampleRate, kDefaultTempo, 0.0) {
    for (std::size_t index = 0; index < plain_.size(); ++index)
        plain_[index] = static_cast<float>(plainRanges[index].defaultValue);
}

SlicecastWeb* SlicecastWeb::create(double sampleRate, std::int32_t maxFrames) noexcept {
    if (maxFrames <= 0) return nullptr;
    const std::size_t bufferBytes = sizeof(float) * kBufferCount * static_cast<std::size_t>(maxFrames);
    void* storage = std::calloc(1, kBuffersOffset + bufferBytes);
    if (storage == nullptr) return nullptr;
    auto* buffers = reinterpret_cast<float*>(static_cast<char*>(storage) + kBuffersOffset);
    return new (storage) SlicecastWeb(sampleRate, maxFrames, buffers);
}

void SlicecastWeb::destroy(SlicecastWeb* instance) noexcept {
    if (instance == nullptr) return;
    instance->~SlicecastWeb();
    std::free(instance);
}

float* SlicecastWeb::buffer(std::int32_t channel) noexcept {
    if (channel < 0 || channel >= kBufferCount) return nullptr;
    return buffers_ + static_cast<std::size_t>(channel) * static_cast<std::size_t>(maxFrames_);
}

void SlicecastWeb::setParameter(std::int32_t index, float plain) noexcept {
    if (index < 0 || index >= kParameterCount) return;
    plain_[static_cast<std::size_t>(index)] = plain;
    mapping_.updateOne(static_cast<ParameterIndex>(index), static_cast<double>(plain));
    if (picture_) picture_->parameterSet(index, plain);
}

void SlicecastWeb::setTempo(double tempo) noexcept { transport_.setTempo(tempo); }

void SlicecastWeb::setSampleRate(double sampleRate) noexcept {
    sampleRate_ = static_cast<float>(sampleRate);
    transport_.setSampleRate(sampleRate);
}

void SlicecastWeb::locate(double position) noexcept { transport_.locate(position); }

void SlicecastWeb::process(std::int32_t frames) noexcept {
    if (frames <= 0 || frames > maxFrames_) return;
    const pluginhost::BlockTime& time = transport_.blockTime();
    const BlockTransport told{time.positionValid, time.position, usableTempo(time.tempo), time.tempo};
    const StereoIo io{buffer(0), buffer(1), buffer(2), buffer(3)};
    sound_.process(told, mapping_.mapped(), sampleRate_, io, frames);
    if (picture_) picture_->played(time, frames, {buffer(0), buffer(1), buffer(2), buffer(3)});
    transport_.advance(frames);
}

void SlicecastWeb::reset() noexcept {
    sound_.reset();
    transport_.locate(0.0);
}

void SlicecastWeb::keepPicture() {
    picture_ = std::make_unique<WebPicture>(sampleRate_, plain_[kWaveLength], plain_[kUpdatePeriod]);
}

}  // namespace slicecast
