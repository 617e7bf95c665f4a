// The page's picture of a render, drawn in the module by the picture
// library as the render tool draws its PNG: the waveforms taken in and the
// marks found (where Slicecast starts its update periods and its passes,
// where the transport reaches each beat) as the blocks are played, then
// painted into the raster's pixels and handed to the page as RGBA bytes,
// which a canvas's ImageData holds as they are.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "beat_marks.h"
#include "block_time.h"
#include "pass_marks.h"
#include "waveform_summary.h"

namespace slicecast {

class WebPicture {
public:
    // The caption's two lines: the title and the details under it.
    static constexpr std::int32_t kCaptionLines = 2;
    static constexpr std::size_t kCaptionBytes = 512;

    // waveLength and updatePeriod: the two steps' plain values before the
    // first block.
    WebPicture(float sampleRate, float waveLength, float updatePeriod);

    // A parameter set before the next block.
    void parameterSet(std::int32_t index, float plain);
    // The next block, frames long, played with the transport at time, with
    // its input (left, right) and its output.
    void played(const pluginhost::BlockTime& time, std::int32_t frames, const std::array<const float*, 4>& io);

    // Where the page writes a caption line, UTF-8, ended by a zero byte;
    // null for other lines.
    char* caption(std::int32_t line) noexcept;
    // The picture of what was played so far, as RGBA bytes, row after row
    // (the plot layout's width and height).
    const std::uint8_t* draw();

private:
    picture::PassTracker passes_;
    std::vector<picture::BeatMark> beats_;
    std::vector<picture::WaveformSummary> dry_;
    std::vector<picture::WaveformSummary> processed_;
    std::array<std::array<char, kCaptionBytes>, kCaptionLines> caption_{};
    std::vector<std::uint8_t> rgba_;
    std::int64_t outputFrame_ = 0;
};

}  // namespace slicecast
