// The audio buffers of one run of a stereo LV2 plug-in.
#pragma once

namespace lv2host {

// Two channels in, two out; outputs may be the inputs (in place).
struct StereoPorts {
    const float* inLeft;
    const float* inRight;
    float* outLeft;
    float* outRight;
};

}  // namespace lv2host
