// The CLAP edition's editor feed as a host process sees it: the plug-in's
// own extension gives the ring it keeps; nothing is written while no
// editor reads; a reader gets the summary of what the host received, from
// the block after it began to read; and the sound is the same to the bit.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "clap_live_summary.h"
#include "clap_pair.h"
#include "clap_transport.h"
#include "editor_feed_check.h"

namespace {

using Scene = testsupport::EditorFeedScene;
using claptest::ClapRig;

// Plays every block from position 0 through rig, calling before(frame)
// ahead of each.
template <class Before>
pluginhost::StereoBuffer play(ClapRig& rig, const pluginhost::StereoBuffer& input, Before&& before) {
    pluginhost::StereoBuffer output(input.frames());
    for (std::size_t at = 0; at < input.frames(); at += Scene::kBlockFrames) {
        before(at);
        const auto frames = static_cast<std::uint32_t>(std::min<std::size_t>(Scene::kBlockFrames, input.frames() - at));
        const clap::EventTransport transport = claphost::playingTransport(Scene::positionAt(at), Scene::kTempo);
        const claphost::EventList none;
        rig.plugin.process({&input.left[at], &input.right[at], &output.left[at], &output.right[at], frames, &transport,
                            &none, static_cast<std::int64_t>(at)});
    }
    return output;
}

slicecast::SummaryRing* ringOf(const ClapRig& rig) {
    const auto* extension = static_cast<const slicecast::ClapLiveSummary*>(
        rig.plugin.extension(slicecast::kClapExtLiveSummary));
    return extension != nullptr ? extension->ring(&rig.plugin.plugin()) : nullptr;
}

struct ReaderCase {
    const char* name;
    std::size_t opensAt;   // the frame before which the editor begins to read
    std::size_t closesAt;  // ... and stops; past the end: never
};

const ReaderCase kReaderCases[] = {
    {"open_from_the_start", 0, SIZE_MAX},
    {"opened_inside_a_period", 30240, SIZE_MAX},
    {"opened_on_a_period", 96000, SIZE_MAX},
};

class ClapEditorFeed : public testing::TestWithParam<ReaderCase> {};

TEST_P(ClapEditorFeed, AReaderGetsWhatTheHostHeardAndTheSoundIsUnchanged) {
    const ReaderCase& c = GetParam();
    const pluginhost::StereoBuffer input = Scene::input(4 * Scene::kFramesPerPeriod + 12345);
    ClapRig plain(Scene::kSampleRate);
    ClapRig read(Scene::kSampleRate);
    slicecast::SummaryRing* ring = ringOf(read);
    ASSERT_NE(nullptr, ring);
    std::uint64_t cursor = 0;
    std::vector<slicecast::SummaryRecord> records;
    const auto take = [&] {
        ring->readFrom(cursor, [&](const slicecast::SummaryRecord& record) { records.push_back(record); });
    };
    const pluginhost::StereoBuffer expected = play(plain, input, [](std::size_t) {});
    const pluginhost::StereoBuffer heard = play(read, input, [&](std::size_t at) {
        if (at == c.opensAt) {
            EXPECT_EQ(0u, ring->written());
            ring->addReader();
        }
        take();
    });
    take();
    EXPECT_EQ(0, std::memcmp(expected.left.data(), heard.left.data(), sizeof(float) * heard.frames()));
    EXPECT_EQ(0, std::memcmp(expected.right.data(), heard.right.data(), sizeof(float) * heard.frames()));
    testsupport::expectFeedMatches(records, heard, c.opensAt);
    ring->removeReader();
}

INSTANTIATE_TEST_SUITE_P(Cases, ClapEditorFeed, testing::ValuesIn(kReaderCases),
                         [](const testing::TestParamInfo<ReaderCase>& info) { return std::string(info.param.name); });

TEST(ClapEditorFeed, NothingIsWrittenOnceTheLastReaderLeaves) {
    const pluginhost::StereoBuffer input = Scene::input(Scene::kFramesPerPeriod);
    ClapRig rig(Scene::kSampleRate);
    slicecast::SummaryRing* ring = ringOf(rig);
    ASSERT_NE(nullptr, ring);
    ring->addReader();
    ring->addReader();
    std::uint64_t written = 0;
    play(rig, input, [&](std::size_t at) {
        if (at == 9600) ring->removeReader();
        if (at == 19200) {
            ring->removeReader();
            written = ring->written();
        }
    });
    EXPECT_GT(written, 0u);
    EXPECT_EQ(written, ring->written());
}

TEST(ClapEditorFeed, AStoppedTransportLeavesTheLastPage) {
    // A stopped host gives every block the same position: no record comes,
    // and the reader keeps what it has until the transport rolls again.
    const pluginhost::StereoBuffer input = Scene::input(Scene::kBlockFrames);
    pluginhost::StereoBuffer output(Scene::kBlockFrames);
    ClapRig rig(Scene::kSampleRate);
    slicecast::SummaryRing* ring = ringOf(rig);
    ASSERT_NE(nullptr, ring);
    ring->addReader();
    const claphost::EventList none;
    const auto block = [&](double position) {
        const clap::EventTransport transport = claphost::playingTransport(position, Scene::kTempo);
        rig.plugin.process({input.left.data(), input.right.data(), output.left.data(), output.right.data(),
                            Scene::kBlockFrames, &transport, &none, -1});
        return ring->written();
    };
    const double step = Scene::positionAt(Scene::kBlockFrames);
    double position = 0.0;
    for (int i = 0; i < 10; ++i, position += step) block(position);
    // The transport stops here: this block is the last that moves on.
    const std::uint64_t rolled = block(position);
    EXPECT_GT(rolled, 0u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(rolled, block(position));
    EXPECT_GT(block(position + step), rolled);
    ring->removeReader();
}

}  // namespace
