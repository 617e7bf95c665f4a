#include "parameter_values.h"

#include <charconv>

#include "bounded_text.h"
#include "float_to_int.h"
#include "parameter_tables.h"
#include "slicecast_identity.h"

namespace slicecast {

std::int32_t quantiseIndex(float value, float steps, std::int32_t maxIndex) noexcept {
    const float product = value * steps;
    if (!(product > 0.0f)) return 0;
    if (product >= static_cast<float>(maxIndex)) return maxIndex;
    return static_cast<std::int32_t>(product);
}

std::int32_t waveLengthIndexFor(float value) noexcept { return quantiseIndex(value, 11.0f, kMaxWaveLengthIndex); }

std::int32_t updatePeriodIndexFor(float value) noexcept {
    return quantiseIndex(value, 4.0f, kMaxUpdatePeriodIndex);
}

float waveLengthValueOf(std::int32_t index) noexcept { return static_cast<float>(index) / 11.0f; }

float updatePeriodValueOf(std::int32_t index) noexcept { return static_cast<float>(index) * 0.25f; }

namespace {
void writeDecimal(const char* prefix, std::int32_t number, char* text) noexcept {
    char digits[24] = {};
    std::size_t length = 0;
    for (const char* p = prefix; *p != '\0'; ++p) digits[length++] = *p;
    std::to_chars(digits + length, digits + sizeof(digits) - 1, number);
    copyBoundedText(text, digits, kParameterTextBound);
}
}  // namespace

void writeWaveLengthDisplay(std::int32_t index, char* text) noexcept {
    writeDecimal("1/", sliceDivisors[static_cast<std::size_t>(index)], text);
}

void writeUpdatePeriodDisplay(std::int32_t index, char* text) noexcept {
    copyBoundedText(text, updatePeriodLabels[static_cast<std::size_t>(index)], kParameterTextBound);
}

void writePercentDisplay(float value, char* text) noexcept {
    const float percent = value * 100.0f;
    if (percent != percent) {
        copyBoundedText(text, "NaN", kParameterTextBound);
    } else if (percent >= 2147483648.0f) {
        copyBoundedText(text, "Huge!", kParameterTextBound);
    } else if (percent <= -2147483904.0f) {
        copyBoundedText(text, "-Huge!", kParameterTextBound);
    } else {
        writeDecimal("", truncateToInt32(percent), text);
    }
}

}  // namespace slicecast
