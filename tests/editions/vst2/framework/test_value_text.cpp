// The display conversions: their texts, the bounded buffer they write, and
// that overriding float2string or getSampleRate reaches the others.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "service_test_effect.h"

namespace {

using testsupport::ServiceTestEffect;
using Conversion = std::function<void(char* text, VstInt32 maxLen)>;

constexpr char kCanary = '\x5A';
constexpr VstInt32 kRoomy = 24;
constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// Runs a conversion on a canary-filled buffer, checks that it wrote exactly
// maxLen + 1 bytes (its text, NULs up to maxLen, a NUL at maxLen) and
// answers the text.
std::string written(const Conversion& convert, VstInt32 maxLen = kRoomy) {
    std::array<char, 64> buffer;
    buffer.fill(kCanary);
    convert(buffer.data(), maxLen);
    const std::string text(buffer.data(), ::strnlen(buffer.data(), static_cast<std::size_t>(maxLen)));
    for (std::size_t i = text.size(); i <= static_cast<std::size_t>(maxLen); ++i) {
        EXPECT_EQ(buffer[i], '\0') << "byte " << i;
    }
    for (std::size_t i = static_cast<std::size_t>(maxLen) + 1; i < buffer.size(); ++i) {
        EXPECT_EQ(buffer[i], kCanary) << "byte " << i;
    }
    return text;
}

struct FloatCase {
    float input;
    const char* text;
};

struct IntCase {
    VstInt32 input;
    const char* text;
};

class ValueText : public ::testing::Test {
protected:
    void expectTexts(void (AudioEffect::*conversion)(float, char*, VstInt32), const std::vector<FloatCase>& cases) {
        for (const FloatCase& c : cases) {
            SCOPED_TRACE(c.input);
            EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { (effect.*conversion)(c.input, text, maxLen); }),
                      c.text);
        }
    }

    ServiceTestEffect effect;
};

}  // namespace

TEST_F(ValueText, DecibelsOfALinearGain) {
    expectTexts(&AudioEffect::dB2string, {
                                             {1.0f, "0.000000"},
                                             {2.0f, "6.020599"},
                                             {0.5f, "-6.02059"},
                                             {10.0f, "20.00000"},
                                             {0.1f, "-20.0000"},
                                             {0.001f, "-60.0000"},
                                             {0.0f, "-oo"},
                                             {-0.0f, "-oo"},
                                             {-1.0f, "-oo"},
                                         });
}

TEST_F(ValueText, HertzOfAPeriodInSamples) {
    expectTexts(&AudioEffect::Hz2string, {
                                             {100.0f, "441.0000"},
                                             {441.0f, "100.0000"},
                                             {1.0f, "44100.00"},
                                             {44100.0f, "1.000000"},
                                             {0.0f, "0.000000"},
                                             {-0.0f, "0.000000"},
                                         });
    effect.setSampleRate(48000.0f);
    expectTexts(&AudioEffect::Hz2string, {{480.0f, "100.0000"}});
}

TEST_F(ValueText, MillisecondsOfASampleCount) {
    expectTexts(&AudioEffect::ms2string, {
                                             {441.0f, "10.00000"},
                                             {44100.0f, "1000.000"},
                                             {22050.0f, "500.0000"},
                                             {100.0f, "2.267573"},
                                             {1.0f, "0.022675"},
                                             {0.0f, "0.000000"},
                                         });
}

TEST_F(ValueText, FloatsInEightCharactersWithTruncatedDigits) {
    expectTexts(&AudioEffect::float2string, {
                                                {0.0f, "0.000000"},
                                                {-0.0f, "0.000000"},
                                                {0.5f, "0.500000"},
                                                {-0.5f, "-0.50000"},
                                                {1234.5f, "1234.500"},
                                                {-123.25f, "-123.250"},
                                                {0.7f, "0.699999"},
                                                {0.1f, "0.100000"},
                                                {0.0001f, "0.000099"},
                                                {99.99f, "99.98999"},
                                                {44100.0f, "44100.00"},
                                                {-99999.0f, "-99999.0"},
                                                {123456.7f, "123456.7"},
                                                {1234567.0f, "1234567."},
                                                {-999999.0f, "-999999."},
                                                {9999999.0f, "9999999."},
                                                {100000000.0f, "Huge!"},
                                                {-10000000.0f, "Huge!"},
                                            });
}

TEST_F(ValueText, IntegersWithoutLeadingZeros) {
    const IntCase cases[] = {
        {0, "0"},
        {7, "7"},
        {-42, "-42"},
        {100, "100"},
        {99999999, "99999999"},
        {100000000, "Huge!"},
        {2147483647, "Huge!"},
        {-100000000, "-100000000"},
        {-999999999, "-999999999"},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.int2string(c.input, text, maxLen); }), c.text);
    }
}

TEST_F(ValueText, CutsAtMaxLenAndWritesNothingBeyond) {
    struct Case {
        const char* name;
        Conversion convert;
        VstInt32 maxLen;
        const char* text;
    } const cases[] = {
        {"float 0.5", [&](char* t, VstInt32 n) { effect.float2string(0.5f, t, n); }, 4, "0.50"},
        {"float 1234.5", [&](char* t, VstInt32 n) { effect.float2string(1234.5f, t, n); }, 3, "123"},
        {"float 1234.5 whole", [&](char* t, VstInt32 n) { effect.float2string(1234.5f, t, n); }, 8, "1234.500"},
        {"float 1234.5 none", [&](char* t, VstInt32 n) { effect.float2string(1234.5f, t, n); }, 0, ""},
        {"float huge", [&](char* t, VstInt32 n) { effect.float2string(1e9f, t, n); }, 2, "Hu"},
        {"int -12345", [&](char* t, VstInt32 n) { effect.int2string(-12345, t, n); }, 2, "-1"},
        {"int huge", [&](char* t, VstInt32 n) { effect.int2string(100000000, t, n); }, 5, "Huge!"},
        {"int 7 none", [&](char* t, VstInt32 n) { effect.int2string(7, t, n); }, 0, ""},
        {"dB 0", [&](char* t, VstInt32 n) { effect.dB2string(0.0f, t, n); }, 2, "-o"},
        {"dB 2", [&](char* t, VstInt32 n) { effect.dB2string(2.0f, t, n); }, 1, "6"},
        {"Hz 100", [&](char* t, VstInt32 n) { effect.Hz2string(100.0f, t, n); }, 5, "441.0"},
        {"ms 441", [&](char* t, VstInt32 n) { effect.ms2string(441.0f, t, n); }, 2, "10"},
        {"ms 441 roomy", [&](char* t, VstInt32 n) { effect.ms2string(441.0f, t, n); }, 40, "10.00000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(written(c.convert, c.maxLen), c.text);
    }
}

TEST_F(ValueText, ANegativeMaxLenWritesNothing) {
    std::array<char, 16> buffer;
    buffer.fill(kCanary);
    effect.float2string(1.0f, buffer.data(), -1);
    effect.int2string(-5, buffer.data(), -8);
    effect.dB2string(0.0f, buffer.data(), std::numeric_limits<VstInt32>::min());
    for (const char byte : buffer) EXPECT_EQ(byte, kCanary);
}

// What the eight-character layout cannot show reads "NaN" or "Huge!" (for
// int2string below -999999999, "-Huge!") instead of wrong digits.
TEST_F(ValueText, ValuesTheLayoutCannotShowGiveAPlainWord) {
    expectTexts(&AudioEffect::float2string, {
                                                {kNaN, "NaN"},
                                                {-kNaN, "NaN"},
                                                {kInfinity, "Huge!"},
                                                {-kInfinity, "Huge!"},
                                                {10000000.0f, "Huge!"},
                                                {12345678.0f, "Huge!"},
                                                {99999990.0f, "Huge!"},
                                                {-1000000.0f, "Huge!"},
                                                {-1234567.0f, "Huge!"},
                                                {-9999999.0f, "Huge!"},
                                                {-999999.5f, "-999999."},
                                            });
    expectTexts(&AudioEffect::dB2string, {{kNaN, "NaN"}, {kInfinity, "Huge!"}});
    expectTexts(&AudioEffect::Hz2string, {{kNaN, "NaN"}, {1e-45f, "Huge!"}, {kInfinity, "0.000000"}});

    const IntCase integers[] = {
        {-1000000000, "-Huge!"},
        {std::numeric_limits<VstInt32>::min(), "-Huge!"},
        {std::numeric_limits<VstInt32>::min() + 1, "-Huge!"},
    };
    for (const IntCase& c : integers) {
        SCOPED_TRACE(c.input);
        EXPECT_EQ(written([&](char* text, VstInt32 maxLen) { effect.int2string(c.input, text, maxLen); }), c.text);
    }
}

TEST_F(ValueText, MillisecondsAtAZeroOrTinySampleRate) {
    effect.setSampleRate(0.0f);
    expectTexts(&AudioEffect::ms2string, {{0.0f, "NaN"}, {441.0f, "Huge!"}, {-441.0f, "Huge!"}});
    effect.setSampleRate(1e-3f);
    expectTexts(&AudioEffect::ms2string, {{3e38f, "Huge!"}, {-3e38f, "Huge!"}});
}

namespace {

// Keeps what reaches float2string and writes a marker text instead.
class FloatTextRecordingEffect : public ServiceTestEffect {
public:
    void float2string(float value, char* text, VstInt32 maxLen) override {
        received.push_back(value);
        std::strncpy(text, "mine", static_cast<std::size_t>(maxLen));
        text[maxLen] = '\0';
    }
    std::vector<float> received;
};

class FortyEightKilohertzEffect : public ServiceTestEffect {
public:
    float getSampleRate() override { return 48000.0f; }
};

}  // namespace

TEST(ValueTextOverrides, AReplacedFloat2stringWritesTheOtherTexts) {
    FloatTextRecordingEffect effect;
    const Conversion conversions[] = {
        [&](char* t, VstInt32 n) { effect.dB2string(10.0f, t, n); },
        [&](char* t, VstInt32 n) { effect.Hz2string(100.0f, t, n); },
        [&](char* t, VstInt32 n) { effect.ms2string(441.0f, t, n); },
    };
    for (const Conversion& convert : conversions) EXPECT_EQ(written(convert), "mine");
    EXPECT_EQ(effect.received, (std::vector<float>{20.0f, 441.0f, 10.0f}));
}

// A millisecond count beyond the float range reaches float2string as an
// infinity, exactly what narrowing gives under IEEE rules.
TEST(ValueTextOverrides, MillisecondsBeyondTheFloatRangeArriveAsInfinity) {
    FloatTextRecordingEffect effect;
    effect.setSampleRate(1e-3f);
    EXPECT_EQ(written([&](char* t, VstInt32 n) { effect.ms2string(3e38f, t, n); }), "mine");
    EXPECT_EQ(written([&](char* t, VstInt32 n) { effect.ms2string(-3e38f, t, n); }), "mine");
    EXPECT_EQ(effect.received, (std::vector<float>{kInfinity, -kInfinity}));
}

TEST(ValueTextOverrides, AReplacedSampleRateReachesHertzAndMilliseconds) {
    FortyEightKilohertzEffect effect;
    EXPECT_EQ(written([&](char* t, VstInt32 n) { effect.Hz2string(480.0f, t, n); }), "100.0000");
    EXPECT_EQ(written([&](char* t, VstInt32 n) { effect.ms2string(48.0f, t, n); }), "1.000000");
}
