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
// Reading takes streams that move any number of bytes per call, and refuses
// empty, short, longer, foreign or newer data and values outside their
// ranges: a refused state changes nothing.
#pragma once

#include <array>
#include <optional>

#include "byte_stream.h"

namespace slicecast {

using PlainValues = std::array<double, 6>;

bool writeSavedState(ByteSink& sink, const PlainValues& values) noexcept;
std::optional<PlainValues> readSavedState(ByteSource& source) noexcept;

}  // namespace slicecast
