// The effect's sound restated sample by sample, as plainly as the rules
// read, for the differential tests: whatever the library does to be fast,
// it must give these bits. Besides the rules themselves it keeps the
// project's own choices: index values clamped into their tables, slice
// lengths clamped to 1..480000, an unusable sample rate passing the input
// dry, unusable tempos replaced by 120, the 11 samples after the gate
// fading out as (12 - d) x wet / 12, and the parameters read once per
// block. A block without a usable position starts where the last processed
// block ended (0.0 before the first; back to 0.0 should that ever be
// infinite).
#pragma once

#include <cstdint>
#include <vector>

#include "vst_abi.h"

namespace testsupport {

class ReferenceSlicecast {
public:
    // Flushed runs every block with subnormals flushed to zero, as the
    // library does; Kept computes them as the plain arithmetic gives them.
    enum class Subnormals { Flushed, Kept };

    explicit ReferenceSlicecast(Subnormals subnormals = Subnormals::Flushed);

    // The host's parameter value, as setParameter receives it.
    void setParameter(VstInt32 index, float value);
    void setSampleRate(float sampleRate) { sampleRate_ = sampleRate; }

    // One processReplacing call whose time query was answered with time
    // (null: no record).
    void process(const VstTimeInfo* time, const float* inLeft, const float* inRight, float* outLeft,
                 float* outRight, VstInt32 frames);

private:
    void processSamples(const VstTimeInfo* time, const float* inLeft, const float* inRight, float* outLeft,
                        float* outRight, VstInt32 frames);

    Subnormals subnormals_;
    float sampleRate_ = 44100.0f;
    std::int32_t waveLengthIndex_ = 5;
    std::int32_t updatePeriodIndex_ = 3;
    float rate_ = 0.7f;
    float fadeOut_ = 0.0f;
    float decayRate_ = 1.0f;
    float mix_ = 1.0f;
    std::uint32_t sampleCounter_ = 0;
    float repeatGain_ = 0.0f;
    double lastPosition_ = -500.0;
    double runningPosition_ = 0.0;
    std::vector<float> captureLeft_;
    std::vector<float> captureRight_;
};

}  // namespace testsupport
