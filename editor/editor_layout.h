// Where everything sits in the editor's window, in logical pixels: one fixed
// size that fits every host's plug-in window, multiplied by the host's
// display scale when drawn. The picture fills the top; below it the two
// musical lengths as rows of their step labels, and the four percentages as
// horizontal sliders in two columns.
#pragma once

#include <array>
#include <cstdint>

#include "parameter_tables.h"

namespace slicecast::editor {

constexpr std::int32_t kLogicalWidth = 800;
constexpr std::int32_t kLogicalHeight = 450;

struct Rect {
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;

    constexpr bool contains(double px, double py) const noexcept {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
    constexpr std::int32_t right() const noexcept { return x + width; }
};

// The plug-in's name and vendor, and the live picture.
constexpr Rect kTitleArea{16, 8, 768, 28};
constexpr Rect kPictureArea{16, 44, 768, 232};

// One control: its name's place, the part a click or drag works on (the
// step cells side by side, or a slider's track), and where its display text
// stands.
struct ControlLayout {
    ParameterIndex parameter;
    Rect name;
    Rect track;
    Rect value;
    std::int32_t steps;  // cells in the track; 0 for a slider
};

namespace layout_detail {
constexpr std::int32_t kStepRowTop = 288;
constexpr std::int32_t kStepRowHeight = 28;
constexpr std::int32_t kStepRowGap = 8;
constexpr std::int32_t kSliderTop = 366;
constexpr std::int32_t kSliderHeight = 28;
constexpr std::int32_t kSliderGap = 12;
constexpr std::int32_t kColumnWidth = 376;

constexpr ControlLayout stepRow(ParameterIndex parameter, std::int32_t row, std::int32_t steps) {
    const std::int32_t top = kStepRowTop + row * (kStepRowHeight + kStepRowGap);
    // Cells of whole pixels: the row ends where the last cell does.
    const std::int32_t cell = 648 / steps;
    return {parameter, {16, top, 120, kStepRowHeight}, {136, top, cell * steps, kStepRowHeight}, {0, 0, 0, 0}, steps};
}

constexpr ControlLayout slider(ParameterIndex parameter, std::int32_t column, std::int32_t row) {
    const std::int32_t left = 16 + column * (kColumnWidth + 16);
    const std::int32_t top = kSliderTop + row * (kSliderHeight + kSliderGap);
    return {parameter,
            {left, top, 104, kSliderHeight},
            {left + 104, top, 216, kSliderHeight},
            {left + 328, top, kColumnWidth - 328, kSliderHeight},
            0};
}
}  // namespace layout_detail

// In parameter order.
constexpr std::array<ControlLayout, 6> kControlLayouts{{
    layout_detail::stepRow(kWaveLength, 0, kMaxWaveLengthIndex + 1),
    layout_detail::stepRow(kUpdatePeriod, 1, kMaxUpdatePeriodIndex + 1),
    layout_detail::slider(kRate, 0, 0),
    layout_detail::slider(kFadeOut, 0, 1),
    layout_detail::slider(kDecayRate, 1, 0),
    layout_detail::slider(kMix, 1, 1),
}};

}  // namespace slicecast::editor
