#include "random_blocks.h"

namespace pluginhost {

namespace {

std::uint64_t splitMix64(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

}  // namespace

BlockSizer randomBlocks(std::int32_t minFrames, std::int32_t maxFrames, std::uint64_t seed) {
    const auto choices = static_cast<std::uint64_t>(maxFrames - minFrames) + 1;
    // The slight bias of the remainder is far below anything a test of
    // block handling could notice.
    return [state = seed, minFrames, choices](std::int64_t, std::int64_t) mutable {
        return static_cast<std::int32_t>(minFrames + static_cast<std::int64_t>(splitMix64(state) % choices));
    };
}

}  // namespace pluginhost
