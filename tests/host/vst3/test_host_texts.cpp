// What the driver makes of the format's numbers and texts: the process
// context of a block's time, UTF-16 texts both ways, class ids as printed,
// and where in a bundle this platform's binary lies.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>

#include "module_platform.h"
#include "process_context.h"
#include "utf16_text.h"
#include "vst3_names.h"

namespace {

struct ContextCase {
    const char* name;
    pluginhost::BlockTime time;
    vst3::uint32 state;
    double projectTimeMusic;
    double barPositionMusic;
    double tempo;
};

void PrintTo(const ContextCase& test, std::ostream* out) { *out << test.name; }

class ProcessContextOf : public testing::TestWithParam<ContextCase> {};

TEST_P(ProcessContextOf, TellsWhatTheTransportKnows) {
    const ContextCase& test = GetParam();
    const vst3::ProcessContext context = vst3host::processContextOf(test.time);
    EXPECT_EQ(context.state, test.state);
    EXPECT_EQ(context.projectTimeMusic, test.projectTimeMusic);
    EXPECT_EQ(context.barPositionMusic, test.barPositionMusic);
    EXPECT_EQ(context.tempo, test.tempo);
    EXPECT_EQ(context.sampleRate, test.time.sampleRate);
    EXPECT_EQ(context.projectTimeSamples, static_cast<vst3::int64>(test.time.samplePosition));
    EXPECT_EQ(context.continousTimeSamples, context.projectTimeSamples);
    const bool signature = (test.state & vst3::kTimeSigValid) != 0;
    EXPECT_EQ(context.timeSigNumerator, signature ? test.time.beatsPerBar : 0);
    EXPECT_EQ(context.timeSigDenominator, signature ? test.time.beatUnit : 0);
}

constexpr vst3::uint32 kAlways = vst3::kContTimeValid | vst3::kTimeSigValid;
constexpr vst3::uint32 kPosition = vst3::kProjectTimeMusicValid | vst3::kBarPositionValid;

INSTANTIATE_TEST_SUITE_P(
    Times, ProcessContextOf,
    testing::Values(
        ContextCase{"Playing", {48000.0, 96000.0, 4.5, 133.5, 4, 4, true, true, true},
                    kAlways | kPosition | vst3::kTempoValid | vst3::kPlaying, 4.5, 4.0, 133.5},
        ContextCase{"StoppedBeforeZero", {44100.0, 0.0, -2.25, 90.0, 4, 4, false, true, true},
                    kAlways | kPosition | vst3::kTempoValid, -2.25, -4.0, 90.0},
        ContextCase{"ThreeFour", {44100.0, 10.0, 7.0, 120.0, 3, 4, true, true, true},
                    kAlways | kPosition | vst3::kTempoValid | vst3::kPlaying, 7.0, 6.0, 120.0},
        ContextCase{"SixEight", {44100.0, 10.0, 7.0, 120.0, 6, 8, true, true, true},
                    kAlways | kPosition | vst3::kTempoValid | vst3::kPlaying, 7.0, 6.0, 120.0},
        ContextCase{"NoPosition", {44100.0, 512.0, 7.0, 120.0, 4, 4, true, false, true},
                    kAlways | vst3::kTempoValid | vst3::kPlaying, 0.0, 0.0, 120.0},
        ContextCase{"NoTempo", {44100.0, 512.0, 7.0, 120.0, 4, 4, true, true, false},
                    kAlways | kPosition | vst3::kPlaying, 7.0, 4.0, 0.0},
        ContextCase{"NoMetre", {44100.0, 512.0, 7.0, 120.0, 0, 4, true, true, true},
                    vst3::kContTimeValid | vst3::kProjectTimeMusicValid | vst3::kTempoValid | vst3::kPlaying, 7.0,
                    0.0, 120.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Utf16Text, RoundTripsEveryCharacterAndMarksWhatStandsForNone) {
    const struct {
        std::string utf8;
        std::u16string utf16;
    } rows[] = {
        {"Rate", u"Rate"},
        {"Ma\xC3\x9F \xE2\x82\xAC", u"Ma\u00DF \u20AC"},
        {"\xF0\x9D\x84\x9E clef", u"\U0001D11E clef"},
        {"", u""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(vst3host::utf16Of(row.utf8), row.utf16) << row.utf8;
        EXPECT_EQ(vst3host::utf8Of(row.utf16.c_str(), row.utf16.size() + 1), row.utf8) << row.utf8;
    }
    EXPECT_EQ(vst3host::utf16Of("a\xFF" "b\xC3"), u"a\uFFFDb\uFFFD") << "bytes that start no character";
    EXPECT_EQ(vst3host::utf16Of("\xC0\xAF"), u"\uFFFD\uFFFD") << "an overlong form";
    const char16_t lone[] = {u'x', 0xD800, u'y', 0};
    EXPECT_EQ(vst3host::utf8Of(lone, 4), "x\xEF\xBF\xBDy");
    const char16_t unterminated[] = {u'a', u'b', u'c'};
    EXPECT_EQ(vst3host::utf8Of(unterminated, 2), "ab") << "read no further than the field";
}

TEST(Utf16Text, WritesAtMostItsFieldAndNeverHalfACharacter) {
    const struct {
        std::string text;
        std::size_t capacity;
        std::u16string written;
    } rows[] = {
        {"Stereo In", 128, u"Stereo In"},
        {"Stereo In", 7, u"Stereo"},
        {"ab\xF0\x9D\x84\x9E", 4, u"ab"},
        {"ab\xF0\x9D\x84\x9E", 5, u"ab\U0001D11E"},
    };
    for (const auto& row : rows) {
        std::u16string field(row.capacity, u'#');
        vst3host::writeUtf16(row.text, field.data(), row.capacity);
        EXPECT_EQ(std::u16string(field.c_str()), row.written) << row.text << ", " << row.capacity;
        EXPECT_EQ(field.find(u'#'), std::u16string::npos) << "the rest filled with NULs";
    }
}

TEST(Vst3Names, ClassIdsArePrintedAsTheirFourWords) {
    // The format's own example: IComponent's id, whichever byte order the
    // platform keeps it in.
    EXPECT_EQ(vst3host::uidText(vst3::IComponent::iid), "E831FF31F2D54301928EBBEE25697802");
    EXPECT_EQ(vst3host::uidText(vst3::FUnknown::iid), "0000000000000000C000000000000046");
}

TEST(ModulePlatform, TheBinaryLiesInThisPlatformsFolderUnderTheBundlesName) {
#if defined(_WIN32) && defined(_WIN64)
    const std::filesystem::path expected = "Contents/x86_64-win/Echo.vst3";
#elif defined(_WIN32)
    const std::filesystem::path expected = "Contents/x86-win/Echo.vst3";
#elif defined(__aarch64__)
    const std::filesystem::path expected = "Contents/aarch64-linux/Echo.so";
#else
    const std::filesystem::path expected = "Contents/x86_64-linux/Echo.so";
#endif
    EXPECT_EQ(vst3host::bundleBinary("plugins/Echo.vst3"), std::filesystem::path("plugins/Echo.vst3") / expected);
    EXPECT_EQ(vst3host::bundleBinary("plugins/Echo.vst3/"), std::filesystem::path("plugins/Echo.vst3/") / expected);
}

}  // namespace
