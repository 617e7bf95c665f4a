#include "waveform_summary.h"

#include <algorithm>

namespace picture {

WaveformSummary::WaveformSummary(int columns) : columns_(static_cast<std::size_t>(std::max(1, columns))) {
    stretches_.reserve(2 * columns_);
}

void WaveformSummary::add(const float* samples, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const float sample = samples[i];
        if (leftInStretch_ == 0) {
            if (stretches_.size() == 2 * columns_) halve();
            stretches_.push_back({sample, sample});
            leftInStretch_ = stretchFrames_;
        }
        SampleRange& range = stretches_.back();
        range.lowest = std::min(range.lowest, sample);
        range.highest = std::max(range.highest, sample);
        --leftInStretch_;
        ++frames_;
    }
}

void WaveformSummary::halve() {
    // Every stretch is full here (a new one is about to begin), so they
    // pair up exactly, and the next begins on a boundary of the doubled
    // length.
    for (std::size_t i = 0; i < columns_; ++i) {
        const SampleRange& first = stretches_[2 * i];
        const SampleRange& second = stretches_[2 * i + 1];
        stretches_[i] = {std::min(first.lowest, second.lowest), std::max(first.highest, second.highest)};
    }
    stretches_.resize(columns_);
    stretchFrames_ *= 2;
}

std::vector<std::optional<SampleRange>> WaveformSummary::columns() const {
    std::vector<std::optional<SampleRange>> drawn(columns_);
    if (frames_ == 0) return drawn;
    for (std::size_t i = 0; i < stretches_.size(); ++i) {
        // The column of the stretch's first frame; stretches are never wider
        // than a column, so every column gets at least one once the sound
        // has as many frames as there are columns.
        const auto first = static_cast<std::int64_t>(i) * stretchFrames_;
        const auto column = static_cast<std::size_t>(first * static_cast<std::int64_t>(columns_) / frames_);
        const SampleRange& stretch = stretches_[i];
        std::optional<SampleRange>& range = drawn[column];
        range = range ? SampleRange{std::min(range->lowest, stretch.lowest), std::max(range->highest, stretch.highest)}
                      : stretch;
    }
    return drawn;
}

}  // namespace picture
