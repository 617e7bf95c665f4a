// The speaker-arrangement utilities: block sizes and contents, speaker
// copies with their name cut, matching, and the null places and channel
// counts they refuse. Under AddressSanitizer a block shorter than its
// records, or one that is never released, fails these tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "service_test_effect.h"

namespace {

using testsupport::ServiceTestEffect;

constexpr VstInt32 kLargestCount = 19173961;  // 8 + 112 * n is still 2^31 - 8

std::size_t blockLength(VstInt32 channels) { return 8 + 112 * static_cast<std::size_t>(channels); }

bool allZero(const void* bytes, std::size_t length) {
    const auto* byte = static_cast<const unsigned char*>(bytes);
    for (std::size_t i = 0; i < length; ++i) {
        if (byte[i] != 0) return false;
    }
    return true;
}

// A speaker whose every field is distinctive: a negative zero and two NaNs
// with payloads (which a float copy through the FPU could alter), a name of
// the given text, a negative type and numbered reserved bytes.
VstSpeakerProperties distinctiveSpeaker(const std::string& name) {
    VstSpeakerProperties speaker;
    std::memset(&speaker, 0x33, sizeof speaker);
    speaker.azimuth = -0.0f;
    speaker.elevation = std::bit_cast<float>(0x7F800001u);
    speaker.radius = 1.5f;
    speaker.reserved = std::bit_cast<float>(0xFFC00123u);
    std::memcpy(speaker.name, name.data(), std::min(name.size(), sizeof speaker.name));
    if (name.size() < sizeof speaker.name) speaker.name[name.size()] = '\0';
    speaker.type = -7;
    for (std::size_t i = 0; i < sizeof speaker.future; ++i) speaker.future[i] = static_cast<char>(i + 1);
    return speaker;
}

// Every byte outside the name equal, and the name as expected with NULs to
// its last byte.
void expectCopied(const VstSpeakerProperties& copy, const VstSpeakerProperties& source,
                  const std::string& expectedName) {
    EXPECT_EQ(std::memcmp(&copy, &source, offsetof(VstSpeakerProperties, name)), 0);
    EXPECT_EQ(std::memcmp(&copy.type, &source.type, sizeof source - offsetof(VstSpeakerProperties, type)), 0);
    EXPECT_EQ(std::string(copy.name), expectedName);
    EXPECT_TRUE(allZero(copy.name + expectedName.size(), sizeof copy.name - expectedName.size()));
}

class SpeakerArrangement : public ::testing::Test {
protected:
    ~SpeakerArrangement() override {
        effect.deallocateArrangement(&place);
        effect.deallocateArrangement(&source);
    }

    ServiceTestEffect effect;
    VstSpeakerArrangement* place = nullptr;
    VstSpeakerArrangement* source = nullptr;
};

}  // namespace

TEST_F(SpeakerArrangement, AllocatesZeroedBlocksOfEightBytesAndOneRecordPerChannel) {
    for (const VstInt32 channels : {0, 1, 3, 2, 0}) {
        SCOPED_TRACE(channels);
        ASSERT_TRUE(effect.allocateArrangement(&place, channels));
        ASSERT_NE(place, nullptr);
        EXPECT_EQ(place->type, 0);
        EXPECT_EQ(place->numChannels, channels);
        EXPECT_TRUE(allZero(speakerAt(place, 0), blockLength(channels) - 8));
        std::memset(place, 0xFF, blockLength(channels));
    }
}

TEST_F(SpeakerArrangement, RefusesCountsWhoseBlockWouldNotFitA32BitLength) {
    for (const VstInt32 channels : {-1, std::numeric_limits<VstInt32>::min(), kLargestCount + 1,
                                    std::numeric_limits<VstInt32>::max()}) {
        SCOPED_TRACE(channels);
        ASSERT_TRUE(effect.allocateArrangement(&place, 2));
        EXPECT_FALSE(effect.allocateArrangement(&place, channels));
        EXPECT_EQ(place, nullptr);
    }
}

TEST_F(SpeakerArrangement, AllocatesTheLargestCountThatFits) {
    ASSERT_TRUE(effect.allocateArrangement(&place, kLargestCount));
    EXPECT_EQ(place->numChannels, kLargestCount);
    speakerAt(place, kLargestCount - 1)->future[27] = 1;
}

TEST_F(SpeakerArrangement, DeallocatesAndEmptiesThePlace) {
    EXPECT_TRUE(effect.deallocateArrangement(&place));
    EXPECT_EQ(place, nullptr);
    ASSERT_TRUE(effect.allocateArrangement(&place, 4));
    EXPECT_TRUE(effect.deallocateArrangement(&place));
    EXPECT_EQ(place, nullptr);
}

TEST_F(SpeakerArrangement, ANullPlaceIsRefused) {
    ASSERT_TRUE(effect.allocateArrangement(&source, 1));
    EXPECT_FALSE(effect.allocateArrangement(nullptr, 1));
    EXPECT_FALSE(effect.deallocateArrangement(nullptr));
    EXPECT_FALSE(effect.matchArrangement(nullptr, source));
}

TEST(SpeakerCopy, CopiesEveryFieldBitForBitAndCutsTheNameAt63Characters) {
    ServiceTestEffect effect;
    const std::string seventy(70, 'n');
    const struct {
        std::string name;
        std::string expected;
    } cases[] = {
        {"Left", "Left"},
        {"", ""},
        {std::string(63, 'a'), std::string(63, 'a')},
        {seventy, seventy.substr(0, 63)},
        {std::string(64, 'u'), std::string(63, 'u')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        VstSpeakerProperties source = distinctiveSpeaker(c.name);
        VstSpeakerProperties copy;
        std::memset(&copy, 0xAA, sizeof copy);
        EXPECT_TRUE(effect.copySpeaker(&copy, &source));
        expectCopied(copy, source, c.expected);

        EXPECT_TRUE(effect.copySpeaker(&source, &source));
        expectCopied(source, copy, c.expected);
    }
}

TEST(SpeakerCopy, RefusesNullRecordsAndWritesNothing) {
    ServiceTestEffect effect;
    VstSpeakerProperties speaker = distinctiveSpeaker("Centre");
    const VstSpeakerProperties before = speaker;
    EXPECT_FALSE(effect.copySpeaker(&speaker, nullptr));
    EXPECT_FALSE(effect.copySpeaker(nullptr, &speaker));
    EXPECT_FALSE(effect.copySpeaker(nullptr, nullptr));
    EXPECT_EQ(std::memcmp(&speaker, &before, sizeof speaker), 0);
}

TEST_F(SpeakerArrangement, MatchReplacesThePlaceWithACopyOfTheSource) {
    for (const VstInt32 channels : {2, 0, 5}) {
        SCOPED_TRACE(channels);
        ASSERT_TRUE(effect.allocateArrangement(&source, channels));
        source->type = 7 + channels;
        for (VstInt32 channel = 0; channel < channels; ++channel) {
            *speakerAt(source, channel) = distinctiveSpeaker("speaker " + std::to_string(channel));
        }
        ASSERT_TRUE(effect.allocateArrangement(&place, 3));

        EXPECT_TRUE(effect.matchArrangement(&place, source));
        ASSERT_NE(place, nullptr);
        EXPECT_NE(place, source);
        EXPECT_EQ(place->type, source->type);
        EXPECT_EQ(place->numChannels, channels);
        for (VstInt32 channel = 0; channel < channels; ++channel) {
            expectCopied(*speakerAt(place, channel), *speakerAt(source, channel), "speaker " + std::to_string(channel));
        }
    }
}

TEST_F(SpeakerArrangement, MatchRefusesANullSourceAndKeepsThePlace) {
    ASSERT_TRUE(effect.allocateArrangement(&place, 1));
    VstSpeakerArrangement* const held = place;
    EXPECT_FALSE(effect.matchArrangement(&place, nullptr));
    EXPECT_EQ(place, held);
}

TEST_F(SpeakerArrangement, MatchWithACountOutOfRangeLeavesThePlaceEmpty) {
    VstSpeakerArrangement header{3, -1};
    ASSERT_TRUE(effect.allocateArrangement(&place, 1));
    EXPECT_FALSE(effect.matchArrangement(&place, &header));
    EXPECT_EQ(place, nullptr);
}

TEST_F(SpeakerArrangement, MatchingThePlaceToItselfKeepsIt) {
    ASSERT_TRUE(effect.allocateArrangement(&place, 2));
    place->type = 4;
    *speakerAt(place, 1) = distinctiveSpeaker("Right");
    VstSpeakerArrangement* const held = place;
    std::vector<char> before(blockLength(2));
    std::memcpy(before.data(), place, before.size());

    EXPECT_TRUE(effect.matchArrangement(&place, place));
    EXPECT_EQ(place, held);
    EXPECT_EQ(std::memcmp(place, before.data(), before.size()), 0);
}

namespace {

// Refuses to copy the second speaker it is asked for.
class FailingCopyEffect : public ServiceTestEffect {
public:
    bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from) override {
        return ++copies != 2 && ServiceTestEffect::copySpeaker(to, from);
    }
    int copies = 0;
};

}  // namespace

TEST(SpeakerMatch, StopsAtTheFirstRefusedSpeakerKeepingWhatWasCopied) {
    FailingCopyEffect effect;
    VstSpeakerArrangement* source = nullptr;
    VstSpeakerArrangement* place = nullptr;
    ASSERT_TRUE(effect.allocateArrangement(&source, 3));
    for (VstInt32 channel = 0; channel < 3; ++channel) *speakerAt(source, channel) = distinctiveSpeaker("s");

    EXPECT_FALSE(effect.matchArrangement(&place, source));
    EXPECT_EQ(effect.copies, 2);
    ASSERT_NE(place, nullptr);
    EXPECT_EQ(place->numChannels, 3);
    expectCopied(*speakerAt(place, 0), *speakerAt(source, 0), "s");
    EXPECT_TRUE(allZero(speakerAt(place, 1), 2 * sizeof(VstSpeakerProperties)));

    effect.deallocateArrangement(&place);
    effect.deallocateArrangement(&source);
}
