// The host's four channel buffers of a block, and how they lie to one
// another.
#pragma once

#include <cstdint>

namespace slicecast {

// The host's channels for a stretch of frames. Inputs and outputs may be
// the same memory: every frame's input pair is read before its output pair
// is written.
struct StereoIo {
    const float* inLeft;
    const float* inRight;
    float* outLeft;
    float* outRight;
};

// The sample loops run fastest when they know, for a whole block, that no
// output shares memory with anything else it reads or writes; they then
// need no check of their own. Hosts hand over either separate buffers or
// process in place, each output replacing its own input; anything else
// (buffers that overlap each other part of the way) is taken frame by
// frame, as the rules are written.
enum class BufferLayout {
    separate,  // no output overlaps an input or the other output
    inPlace,   // each output is its own input, and the two channels are apart
    tangled,   // any other overlap
};

inline BufferLayout layoutOf(const StereoIo& io, std::int32_t frames) noexcept {
    // Compared as addresses: the buffers are separate allocations, which
    // the language does not let pointers compare.
    // Two blocks of bytes bytes overlap where their starts lie less than
    // bytes apart either way: with the distance d taken modulo the address
    // space, d + bytes - 1 then falls below 2 x bytes - 1, and only then.
    const auto bytes = static_cast<std::uintptr_t>(frames) * sizeof(float);
    const auto overlap = [bytes](const float* a, const float* b) {
        const auto distance = reinterpret_cast<std::uintptr_t>(a) - reinterpret_cast<std::uintptr_t>(b);
        return distance + (bytes - 1) < 2 * bytes - 1;
    };
    if (io.outLeft == io.inLeft && io.outRight == io.inRight) {
        return overlap(io.outLeft, io.outRight) ? BufferLayout::tangled : BufferLayout::inPlace;
    }
    const bool apart = !overlap(io.outLeft, io.inLeft) && !overlap(io.outLeft, io.inRight) &&
                       !overlap(io.outRight, io.inLeft) && !overlap(io.outRight, io.inRight) &&
                       !overlap(io.outLeft, io.outRight);
    return apart ? BufferLayout::separate : BufferLayout::tangled;
}

}  // namespace slicecast
