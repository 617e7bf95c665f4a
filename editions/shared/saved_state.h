// The saved state of every edition that keeps one: the six plain values
// (steps 0..11 and 0..4, percentages 0..100) in a small versioned format
// that reads the same on every platform.
//
//   bytes 0..3   "SLCS"
//   bytes 4..7   format version, 32-bit little-endian (1)
//   bytes 8..11  value count, 32-bit little-endian (6)
//   then         each value as the IEEE-754 bits of a double, 64-bit
//                little-endian, in parameter order
//
// Version 2 adds the factory preset chosen last, for an edition whose host
// shows it as a parameter of its own (VST 3's program): the same, version 2,
// then the preset's index, 32-bit little-endian. It is only a name to show
// again: the six values stand as saved, edited after the choice or not.
// Version 1 stays what the editions without a preset parameter write, and
// what every edition wrote before presets came.
//
// Reading takes streams that move any number of bytes per call, and refuses
// empty, short, longer, foreign or newer data and values outside their
// ranges: a refused state changes nothing.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "byte_stream.h"

namespace slicecast {

using PlainValues = std::array<double, 6>;

struct SavedState {
    PlainValues values;
    // None for a version 1 state.
    std::optional<std::int32_t> preset;
};

// Version 1.
bool writeSavedState(ByteSink& sink, const PlainValues& values) noexcept;
// Version 2, with the index of a factory preset.
bool writeSavedState(ByteSink& sink, const PlainValues& values, std::int32_t preset) noexcept;
// Either version; a preset index outside the factory table is refused.
std::optional<SavedState> readSavedStateAndPreset(ByteSource& source) noexcept;
// Either version, the values alone.
std::optional<PlainValues> readSavedState(ByteSource& source) noexcept;

}  // namespace slicecast
