// How parameter values in 0..1 become table indices, and how values become
// display texts. Pure functions, so that they are the same for every instance.
#pragma once

#include <cstddef>
#include <cstdint>

namespace slicecast {

// v x steps in single precision, truncated toward zero. Values outside 0..1
// (and NaN) are kept inside the table: below 0 gives 0, above gives maxIndex.
std::int32_t quantiseIndex(float value, float steps, std::int32_t maxIndex) noexcept;

std::int32_t waveLengthIndexFor(float value) noexcept;
std::int32_t updatePeriodIndexFor(float value) noexcept;
float waveLengthValueOf(std::int32_t index) noexcept;
float updatePeriodValueOf(std::int32_t index) noexcept;

// Display texts, written with the parameter-text bound (17 bytes).
void writeWaveLengthDisplay(std::int32_t index, char* text) noexcept;
void writeUpdatePeriodDisplay(std::int32_t index, char* text) noexcept;
// value x 100 truncated, in decimal. NaN shows "NaN"; a percentage beyond the
// 32-bit range shows "Huge!" or "-Huge!" rather than a wrapped number.
void writePercentDisplay(float value, char* text) noexcept;

}  // namespace slicecast
