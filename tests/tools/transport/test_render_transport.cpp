// The tool plays a file as a DAW's transport does: the effect is switched
// on before the first block, blocks are as long as asked (the last one
// shorter), and each block's time record flags position and tempo and
// gives the position reached from the start at the tempo. A probe effect
// writes what it sees into its output.
#include <gtest/gtest.h>

#include <algorithm>

#include "playback.h"
#include "sound_files.h"
#include "tool_process.h"
#include "transport.h"

namespace tooltest {

using testsupport::Sound;
using testsupport::writeSound;
using testsupport::readSound;
namespace {

void expectPlayedAsADawDoes(const Playback& playback, const std::vector<std::string>& options) {
    const ScratchFolder folder;
    const std::vector<float> silence(playback.frames, 0.0f);
    writeSound(folder.file("in.wav"), Sound{playback.sampleRate, 0, {silence, silence}});
    std::vector<std::string> args{"render", "--plugin", FIXTURE_PROBE_PATH, folder.file("in.wav"),
                                  folder.file("out.wav")};
    args.insert(args.end(), options.begin(), options.end());
    const ToolRun run = runTool(args);
    ASSERT_EQ(run.status, 0) << run.err;

    const Sound seen = readSound(folder.file("out.wav"));
    ASSERT_EQ(seen.frames(), playback.frames);
    pluginhost::Transport transport(playback.sampleRate, playback.tempo, playback.start);
    std::size_t block = 0;
    for (std::size_t first = 0; first < playback.frames; ++block) {
        const std::size_t length =
            std::min<std::size_t>(static_cast<std::size_t>(playback.blockSize), playback.frames - first);
        for (std::size_t frame = first; frame < first + length; ++frame) {
            ASSERT_EQ(seen.channels[0][frame], static_cast<float>(length)) << "block " << block << ", frame " << frame;
            ASSERT_EQ(seen.channels[1][frame], static_cast<float>(transport.position()))
                << "block " << block << ", frame " << frame;
        }
        transport.advance(static_cast<std::int64_t>(length));
        first += length;
    }
}

class RenderTransport : public testing::TestWithParam<Playback> {};

TEST_P(RenderTransport, PlaysAsADawDoes) { expectPlayedAsADawDoes(GetParam(), playbackOptions(GetParam())); }

INSTANTIATE_TEST_SUITE_P(Cases, RenderTransport,
                         testing::Values(Playback{"PreRollInOddBlocks", 48000, 100007, 333, 90.0, -4.0},
                                         Playback{"BlocksOfAWholeReadChunk", 44100, 140000, 65536, 140.0, -8.0},
                                         Playback{"BlocksLargerThanAReadChunk", 44100, 150001, 100000, 120.0, 1.0},
                                         Playback{"BlocksOfOneFrame", 8000, 700, 1, 60.0, 0.25},
                                         Playback{"OneFrameFile", 96000, 1, 512, 200.0, 3.0}),
                         [](const testing::TestParamInfo<Playback>& info) { return std::string(info.param.name); });

TEST(RenderTransport, DefaultsTo512FrameBlocksAt120FromZero) {
    expectPlayedAsADawDoes({"", 44100, 3 * 44100 + 123, 512, 120.0, 0.0}, {});
}

}  // namespace
}  // namespace tooltest
