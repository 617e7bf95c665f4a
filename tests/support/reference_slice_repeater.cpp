#include "reference_slice_repeater.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "float_to_int.h"
#include "scoped_no_denormals.h"

namespace testsupport {

namespace {

constexpr std::int32_t kCapacity = 480000;
constexpr std::int32_t kSliceDivisors[] = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64};
constexpr double kUpdatePeriodScales[] = {0.25, 0.5, 1.0, 2.0, 4.0};

std::int32_t quantise(float value, float steps, std::int32_t maxIndex) {
    const float product = value * steps;
    if (!(product > 0.0f)) return 0;
    if (product >= static_cast<float>(maxIndex)) return maxIndex;
    return static_cast<std::int32_t>(product);
}

}  // namespace

ReferenceSlicecast::ReferenceSlicecast(Subnormals subnormals)
    : subnormals_(subnormals), captureLeft_(kCapacity, 0.0f), captureRight_(kCapacity, 0.0f) {}

void ReferenceSlicecast::setParameter(VstInt32 index, float value) {
    switch (index) {
        case 0: waveLengthIndex_ = quantise(value, 11.0f, 11); break;
        case 1: updatePeriodIndex_ = quantise(value, 4.0f, 4); break;
        case 2: rate_ = value; break;
        case 3: fadeOut_ = value; break;
        case 4: decayRate_ = value; break;
        case 5: mix_ = value; break;
        default: break;
    }
}

void ReferenceSlicecast::process(const VstTimeInfo* time, const float* inLeft, const float* inRight,
                                 float* outLeft, float* outRight, VstInt32 frames) {
    if (subnormals_ == Subnormals::Flushed) {
        const slicecast::ScopedNoDenormals noDenormals;
        processSamples(time, inLeft, inRight, outLeft, outRight, frames);
    } else {
        processSamples(time, inLeft, inRight, outLeft, outRight, frames);
    }
}

void ReferenceSlicecast::processSamples(const VstTimeInfo* time, const float* inLeft, const float* inRight,
                                        float* outLeft, float* outRight, VstInt32 frames) {
    if (frames <= 0) return;
    if (!(std::isfinite(sampleRate_) && sampleRate_ > 0.0f)) {
        std::memmove(outLeft, inLeft, sizeof(float) * static_cast<std::size_t>(frames));
        std::memmove(outRight, inRight, sizeof(float) * static_cast<std::size_t>(frames));
        return;
    }
    const bool positionValid = time != nullptr && (time->flags & kVstPpqPosValid) != 0 && std::isfinite(time->ppqPos);
    const double origin = positionValid ? time->ppqPos : runningPosition_;
    const bool tempoValid = time != nullptr && (time->flags & kVstTempoValid) != 0 && std::isfinite(time->tempo) &&
                            time->tempo > 0.0;
    const double tempo = tempoValid ? time->tempo : 120.0;

    const double samplesPerBeat = static_cast<double>(sampleRate_) / (tempo / 60.0);
    const double beatStep = 1.0 / samplesPerBeat;
    const std::int32_t samplesPerBar = truncateToInt32(samplesPerBeat * 4.0);
    const std::int32_t sliceLength = std::clamp(samplesPerBar / kSliceDivisors[waveLengthIndex_], 1, kCapacity);
    const double scale = kUpdatePeriodScales[updatePeriodIndex_];
    const std::int32_t periodLength = truncateToInt32(static_cast<double>(samplesPerBar) / scale);
    const float S = static_cast<float>(sliceLength);

    for (VstInt32 i = 0; i < frames; ++i) {
        const double position = origin + static_cast<double>(i) * beatStep;
        if (truncateToInt32((lastPosition_ * 0.25) * scale) != truncateToInt32((position * 0.25) * scale)) {
            sampleCounter_ = 0;
            repeatGain_ = 1.0f;
        }

        const float dryLeft = inLeft[i];
        const float dryRight = inRight[i];
        const std::uint32_t n = sampleCounter_;
        if (n >= static_cast<std::uint32_t>(periodLength)) {
            sampleCounter_ = 0;
            repeatGain_ = 0.0f;
            captureLeft_[0] = dryLeft;
            captureRight_[0] = dryRight;
        } else if (n < static_cast<std::uint32_t>(kCapacity)) {
            captureLeft_[n] = dryLeft;
            captureRight_[n] = dryRight;
        }

        const std::uint32_t k = sampleCounter_ % static_cast<std::uint32_t>(sliceLength);
        if (k == 0 && sampleCounter_ != 0) repeatGain_ = decayRate_ * repeatGain_;

        float wetLeft = captureLeft_[k] * repeatGain_;
        float wetRight = captureRight_[k] * repeatGain_;
        const float K = static_cast<float>(k);
        const std::int32_t gateLength = truncateToInt32(S * rate_);
        const std::int64_t pastGate = static_cast<std::int64_t>(k) - gateLength;
        if (rate_ > 0.0f) {
            // Past the gate the fade holds its factor at the gate.
            const float fadeIndex = pastGate > 0 ? static_cast<float>(gateLength) : K;
            wetLeft = wetLeft * (1.0f - (fadeIndex * fadeOut_) / (S * rate_));
            wetRight = wetRight * (1.0f - (fadeIndex * fadeOut_) / (S * rate_));
        }
        if (static_cast<std::int32_t>(k) < 12 && rate_ < 1.0f) {
            wetLeft = (K * wetLeft) / 12.0f;
            wetRight = (K * wetRight) / 12.0f;
        }
        if (pastGate >= 12) {
            wetLeft = 0.0f;
            wetRight = 0.0f;
        } else if (pastGate > 0) {
            wetLeft = (static_cast<float>(12 - pastGate) * wetLeft) / 12.0f;
            wetRight = (static_cast<float>(12 - pastGate) * wetRight) / 12.0f;
        }

        outLeft[i] = (1.0f - mix_) * dryLeft + mix_ * wetLeft;
        outRight[i] = (1.0f - mix_) * dryRight + mix_ * wetRight;

        ++sampleCounter_;
        lastPosition_ = position;
    }
    const double next = origin + static_cast<double>(frames) * beatStep;
    runningPosition_ = std::isfinite(next) ? next : 0.0;
}

}  // namespace testsupport
