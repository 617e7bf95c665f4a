// What every edition's editor feed must show of a stretch of playing, as a
// host sees it: the records of a reader, checked against the output the
// host received. The scene every edition plays: a transport rolling from
// position 0 at 120 BPM, 48 kHz, the default parameters (1/8-bar slices in
// half-bar periods: a capture and three repeats per period), blocks of 480
// frames.
#pragma once

#include <cstdint>
#include <vector>

#include "live_summary.h"
#include "stereo_blocks.h"

namespace testsupport {

struct EditorFeedScene {
    static constexpr double kSampleRate = 48000.0;
    static constexpr double kTempo = 120.0;
    static constexpr std::uint32_t kBlockFrames = 480;
    static constexpr std::uint32_t kFramesPerPeriod = 48000;  // half a bar at 120 BPM
    static constexpr std::uint32_t kFramesPerSlice = 12000;  // an eighth of a bar
    // Noise, the same every time, so that the output varies from column to
    // column.
    static pluginhost::StereoBuffer input(std::size_t frames);
    // The host's position at a frame, in quarter notes.
    static double positionAt(std::size_t frame) { return static_cast<double>(frame) * kTempo / 60.0 / kSampleRate; }
};

// Checks records read while the frames from readFrom on were played from
// position 0 (output: the host's output of all frames): one page per update
// period begun while reading, a period mark at each page's start, the
// repeats marked, columns in order on their pages, and the columns' ranges
// together the range of the output the host received in those frames.
void expectFeedMatches(const std::vector<slicecast::SummaryRecord>& records, const pluginhost::StereoBuffer& output,
                       std::size_t readFrom);

}  // namespace testsupport
