// The LV2 edition's editor feed, as a host carries it between the plug-in
// and its editor: the editor's #EditorShown and #EditorHidden messages on
// the control port (stamped at the block's end, as jalv does), the
// summaries on the notify port in a buffer of exactly the declared size;
// an editor counts as open until it says it closed or stops saying it is
// open; and the sound is the same to the bit.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

#include "editor_feed_check.h"
#include "lv2_edition.h"
#include "lv2_editor_protocol.h"
#include "lv2_instance.h"

namespace {

using Scene = testsupport::EditorFeedScene;
using slicecast::EditorMessage;

// A control sequence with the editor's message, if any, at frame frames.
std::vector<std::uint8_t> controlSequence(lv2host::Lv2Instance& instance, EditorMessage message,
                                          std::uint32_t frames) {
    std::vector<std::uint8_t> bytes(256, 0);
    LV2_Atom_Forge forge;
    lv2_atom_forge_init(&forge, instance.uridMap().feature());
    lv2_atom_forge_set_buffer(&forge, bytes.data(), bytes.size());
    LV2_Atom_Forge_Frame sequence;
    lv2_atom_forge_sequence_head(&forge, &sequence, 0);
    if (message != EditorMessage::none) {
        const auto urids = slicecast::EditorUrids::mapped(*instance.uridMap().feature());
        lv2_atom_forge_frame_time(&forge, frames);
        slicecast::forgeEditorMessage(forge, urids, message);
    }
    lv2_atom_forge_pop(&forge, &sequence);
    bytes.resize(sizeof(LV2_Atom) + reinterpret_cast<const LV2_Atom*>(bytes.data())->size);
    return bytes;
}

struct Played {
    pluginhost::StereoBuffer output;
    std::vector<slicecast::SummaryRecord> records;
    std::vector<std::size_t> recordsPerBlock;
};

// Plays input from position 0 (the plug-in counts time by itself, as at a
// host that sends no position) with the editor's message of each block.
template <class MessageOf>
Played play(const pluginhost::StereoBuffer& input, MessageOf&& messageOf, bool notifyConnected = true) {
    lv2host::Lv2Instance instance(lv2tests::slicecastLv2(), Scene::kSampleRate);
    if (notifyConnected) instance.connectAtomOutputs(slicecast::kNotifyPortBytes);
    const auto urids = slicecast::EditorUrids::mapped(*instance.uridMap().feature());
    Played played{pluginhost::StereoBuffer(input.frames()), {}, {}};
    for (std::size_t at = 0, block = 0; at < input.frames(); at += Scene::kBlockFrames, ++block) {
        const auto frames = static_cast<std::uint32_t>(std::min<std::size_t>(Scene::kBlockFrames, input.frames() - at));
        const lv2host::StereoPorts ports{&input.left[at], &input.right[at], &played.output.left[at],
                                         &played.output.right[at]};
        instance.runRaw(ports, frames, controlSequence(instance, messageOf(block), frames));
        std::size_t count = 0;
        if (const LV2_Atom_Sequence* notify = instance.atomOutput(); notify != nullptr) {
            EXPECT_EQ(urids.atomSequence, notify->atom.type);
            LV2_ATOM_SEQUENCE_FOREACH (notify, event) {
                const std::optional<slicecast::SummaryRecord> record = slicecast::summaryOf(event->body, urids);
                EXPECT_TRUE(record.has_value()) << "an event that is no summary";
                if (record) played.records.push_back(*record);
                ++count;
            }
        }
        played.recordsPerBlock.push_back(count);
    }
    return played;
}

constexpr std::size_t kBlocksPerSecond = 100;  // 480-frame blocks at 48 kHz

struct LinkCase {
    const char* name;
    std::size_t opensAt;    // block of the first #EditorShown
    std::size_t refreshes;  // blocks between #EditorShown while open (0: sent once)
    std::size_t closesAt;   // block of #EditorHidden (SIZE_MAX: never)
    std::size_t blocks;
    std::size_t lastFed;    // the last block with records
};

const LinkCase kLinkCases[] = {
    {"open_from_the_start", 0, kBlocksPerSecond, SIZE_MAX, 420, 419},
    {"opened_inside_a_period", 63, kBlocksPerSecond, SIZE_MAX, 420, 419},
    {"closed", 0, kBlocksPerSecond, 250, 420, 249},
    {"never_refreshed_times_out_after_five_seconds", 30, 0, SIZE_MAX, 30 + 5 * kBlocksPerSecond + 50,
     30 + 5 * kBlocksPerSecond - 1},
};

class Lv2EditorFeed : public testing::TestWithParam<LinkCase> {};

TEST_P(Lv2EditorFeed, SummariesFlowWhileTheEditorSaysItIsOpen) {
    const LinkCase& c = GetParam();
    const pluginhost::StereoBuffer input = Scene::input(c.blocks * Scene::kBlockFrames);
    const Played plain = play(input, [](std::size_t) { return EditorMessage::none; }, false);
    const Played fed = play(input, [&](std::size_t block) {
        if (block == c.closesAt) return EditorMessage::hidden;
        if (block < c.opensAt || block > c.closesAt) return EditorMessage::none;
        const bool refresh = c.refreshes != 0 && (block - c.opensAt) % c.refreshes == 0;
        return block == c.opensAt || refresh ? EditorMessage::shown : EditorMessage::none;
    });
    EXPECT_TRUE(std::memcmp(plain.output.left.data(), fed.output.left.data(), sizeof(float) * input.frames()) == 0);
    EXPECT_TRUE(std::memcmp(plain.output.right.data(), fed.output.right.data(), sizeof(float) * input.frames()) == 0);
    EXPECT_TRUE(plain.records.empty());
    for (std::size_t block = 0; block < c.blocks; ++block) {
        const bool open = block >= c.opensAt && block <= c.lastFed;
        EXPECT_EQ(open, fed.recordsPerBlock[block] > 0) << "block " << block;
    }
    if (c.lastFed + 1 == c.blocks) {
        testsupport::expectFeedMatches(fed.records, fed.output, c.opensAt * Scene::kBlockFrames);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Lv2EditorFeed, testing::ValuesIn(kLinkCases),
                         [](const testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

TEST(Lv2EditorFeed, APortTooSmallForTheRunKeepsWholeEventsOnly) {
    // 8192 frames of the shortest update period bring some 270 columns: more
    // than a port of 2 KB holds. What is written must still be a sequence of
    // whole summaries within the port.
    lv2host::Lv2Instance instance(lv2tests::slicecastLv2(), Scene::kSampleRate);
    instance.setControl("update_period", 4.0f);
    constexpr std::uint32_t kSmallPort = 2048;
    instance.connectAtomOutputs(kSmallPort);
    const auto urids = slicecast::EditorUrids::mapped(*instance.uridMap().feature());
    const pluginhost::StereoBuffer input = Scene::input(8192);
    pluginhost::StereoBuffer output(8192);
    const lv2host::StereoPorts ports{input.left.data(), input.right.data(), output.left.data(), output.right.data()};
    for (int run = 0; run < 4; ++run) {
        instance.runRaw(ports, 8192, controlSequence(instance, EditorMessage::shown, 8192));
        const LV2_Atom_Sequence* notify = instance.atomOutput();
        ASSERT_NE(nullptr, notify);
        EXPECT_LE(sizeof(LV2_Atom) + notify->atom.size, kSmallPort);
        std::int32_t columns = 0;
        LV2_ATOM_SEQUENCE_FOREACH (notify, event) {
            const auto record = slicecast::summaryOf(event->body, urids);
            ASSERT_TRUE(record.has_value());
            columns += record->header.columnCount;
        }
        EXPECT_GT(columns, 0);
        EXPECT_LT(columns, 8192 * 800 / 24000);
    }
}

}  // namespace
