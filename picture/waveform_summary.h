// A sound of any length reduced, as it streams by, to the smallest and
// largest sample of short stretches: never more than twice as many
// stretches as the picture has columns, so a long file needs neither much
// memory nor a second reading.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace picture {

struct SampleRange {
    float lowest;
    float highest;
};

class WaveformSummary {
public:
    // columns: how many columns the sound will be drawn over (at least 1).
    explicit WaveformSummary(int columns);

    void add(const float* samples, std::size_t count);
    std::int64_t frames() const { return frames_; }

    // The range of the samples drawn in each column, the whole sound over
    // columns columns; empty for a column no stretch begins in (when there
    // are fewer frames than columns).
    std::vector<std::optional<SampleRange>> columns() const;

private:
    void halve();

    std::size_t columns_;
    // Frames per stretch: a power of two, doubled whenever the stretches
    // would grow beyond twice the columns.
    std::int64_t stretchFrames_ = 1;
    // Frames the last stretch still takes before the next begins.
    std::int64_t leftInStretch_ = 0;
    std::vector<SampleRange> stretches_;
    std::int64_t frames_ = 0;
};

}  // namespace picture
