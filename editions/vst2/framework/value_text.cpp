// The display conversions: gain as decibels, a period as hertz, a sample
// count as milliseconds, a float as eight characters and an integer as
// decimal text. Each text is built in a small local area and then written
// under the bounded-text rule: maxLen characters, NUL-filled, a NUL at
// text[maxLen] and nothing beyond. A negative maxLen leaves no room even for
// the closing NUL, so nothing is written at all. Nothing here allocates.
//
// Texts for what the eight-character layout cannot show (a choice of this
// framework; the digit loops alone would misbehave there):
// - float2string of a value that is not a number gives "NaN": its digits
//   would come from converting NaN to an integer.
// - float2string of a value whose integer part needs more than the layout's
//   room (above 9999999 when positive, below -999999 when negative, the
//   infinities included) gives "Huge!". The digit loop stops at the width of
//   eight and would silently drop the leading digits (12345678 would read
//   "2345678."). Negative values get the same "Huge!" as those at -10000000
//   and below, so that every overflow of one conversion reads the same.
// - int2string below -999999999, where the nine divisors leave no place for a
//   tenth digit (and the most negative value has no positive counterpart),
//   gives "-Huge!": the sign is kept, as for every other negative integer.
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>

#include "base_effect.h"
#include "bounded_text.h"
#include "float_to_int.h"

static_assert(std::numeric_limits<double>::is_iec559 && std::numeric_limits<float>::is_iec559,
              "the conversions rely on IEEE infinities and NaN");

namespace {

constexpr const char* kMinusInfinityText = "-oo";
constexpr const char* kHugeText = "Huge!";
constexpr const char* kNegativeHugeText = "-Huge!";
constexpr const char* kNotANumberText = "NaN";

constexpr double kDecibelsPerDecade = 20.0;
constexpr double kMillisecondsPerSecond = 1000.0;

constexpr int kFloatTextWidth = 8;
constexpr double kLargestPositiveInteger = 9999999.0;  // seven digits and "."
constexpr double kLargestNegativeInteger = 999999.0;   // "-", six digits and "."

constexpr VstInt32 kIntegerHugeFrom = 100000000;
constexpr VstInt32 kMostNegativeShown = -999999999;
constexpr std::array<VstInt32, 9> kDecimalDivisors = {100000000, 10000000, 1000000, 100000, 10000,
                                                       1000,      100,      10,      1};

// Room for every text built here; the longest is "-999999999".
using TextArea = std::array<char, 32>;

void writeText(char* text, const char* source, VstInt32 maxLen) {
    if (maxLen < 0) return;
    copyBoundedText(text, source, static_cast<std::size_t>(maxLen));
}

char digitOf(double x) { return static_cast<char>('0' + truncateToInt32(x)); }

// Narrowing to the nearest float without the undefined conversion of a value
// beyond the float range: exactly the values that round to an infinity under
// IEEE rules become that infinity.
float nearestFloat(double value) {
    constexpr double kRoundsToInfinity = 0x1.ffffffp+127;
    if (value >= kRoundsToInfinity) return std::numeric_limits<float>::infinity();
    if (value <= -kRoundsToInfinity) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

}  // namespace

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
    if (value <= 0.0f) {
        writeText(text, kMinusInfinityText, maxLen);
        return;
    }
    float2string(nearestFloat(kDecibelsPerDecade * std::log10(static_cast<double>(value))), text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
    const float rate = getSampleRate();
    const float frequency = samples == 0.0f ? 0.0f : rate / samples;
    float2string(frequency, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
    const double rate = getSampleRate();
    const double milliseconds = static_cast<double>(samples) * kMillisecondsPerSecond / rate;
    float2string(nearestFloat(milliseconds), text, maxLen);
}

// Eight characters: an optional "-", the integer digits, "." and as many
// fraction digits as fill the width. Digits are truncated, never rounded up.
void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
    double v = value;
    if (std::isnan(v)) {
        writeText(text, kNotANumberText, maxLen);
        return;
    }
    const bool negative = v < 0.0;
    if (negative) v = -v;
    double integ = std::floor(v);
    if (integ > (negative ? kLargestNegativeInteger : kLargestPositiveInteger)) {
        writeText(text, kHugeText, maxLen);
        return;
    }

    // The integer digits come out units first.
    std::array<char, kFloatTextWidth> integerDigits{};
    int digitCount = 0;
    int c = negative ? 3 : 2;
    integerDigits[digitCount++] = digitOf(std::fmod(integ, 10.0));
    integ = integ / 10.0;
    while (integ >= 1.0 && c < kFloatTextWidth) {
        integerDigits[digitCount++] = digitOf(std::fmod(integ, 10.0));
        integ = integ / 10.0;
        ++c;
    }

    TextArea area{};
    int length = 0;
    if (negative) area[length++] = '-';
    while (digitCount > 0) area[length++] = integerDigits[--digitCount];
    area[length++] = '.';

    // The fraction digits come out rightmost first.
    const int fractionDigits = kFloatTextWidth - c;
    double m = std::pow(10.0, fractionDigits) * std::fmod(v, 1.0);
    for (int position = length + fractionDigits - 1; position >= length; --position) {
        if (m > 0.0) {
            area[position] = digitOf(std::fmod(m, 10.0));
            m = m / 10.0;
        } else {
            area[position] = '0';
        }
    }
    writeText(text, area.data(), maxLen);
}

// Leading zeros are skipped; the units digit is always written.
void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
    if (value >= kIntegerHugeFrom) {
        writeText(text, kHugeText, maxLen);
        return;
    }
    if (value < kMostNegativeShown) {
        writeText(text, kNegativeHugeText, maxLen);
        return;
    }

    TextArea area{};
    int length = 0;
    if (value < 0) {
        area[length++] = '-';
        value = -value;
    }
    bool digitWritten = false;
    for (const VstInt32 divisor : kDecimalDivisors) {
        const VstInt32 digit = value / divisor;
        value -= digit * divisor;
        if (digit != 0 || digitWritten || divisor == 1) {
            area[length++] = static_cast<char>('0' + digit);
            digitWritten = true;
        }
    }
    writeText(text, area.data(), maxLen);
}
