// Where things go in the picture of a render (the render tool's, the web
// page's): its size, the caption band, one panel per waveform (each
// channel's dry sound above its processed sound), the time axis below, and
// the colours drawn with. Lines and waveforms are drawn without
// antialiasing, one pixel wide, so that every pixel of them has exactly one
// of these colours.
#pragma once

#include <algorithm>
#include <cstdint>

#include "colour.h"

namespace picture::plot {

constexpr int kWidth = 1600;
constexpr int kHeight = 900;
constexpr int kLeft = 110;  // room for the panel names
constexpr int kRight = kWidth - 20;
constexpr int kTop = 80;  // below the caption
constexpr int kBottom = kHeight - 50;  // above the time axis
constexpr int kPanelGap = 12;

constexpr Colour kBackground{255, 255, 255};
constexpr Colour kPanelFrame{200, 200, 200};
constexpr Colour kText{30, 30, 30};
constexpr Colour kDryWave{110, 110, 110};
constexpr Colour kProcessedWave{25, 95, 190};
constexpr Colour kPeriodLine{210, 60, 20};
constexpr Colour kPassLine{245, 200, 170};
constexpr Colour kBarLine{170, 170, 170};
// The play position, over the picture.
constexpr Colour kPlayPosition{0, 150, 60};

constexpr int plotColumns() { return kRight - kLeft; }

// The column (x) of an output frame, the sound being frames long.
constexpr int columnOf(std::int64_t frame, std::int64_t frames) {
    return kLeft + static_cast<int>(frame * plotColumns() / (frames > 0 ? frames : 1));
}

// Panel i of count, top to bottom: its first and last row.
struct Rows {
    int top;
    int bottom;
};

constexpr Rows panelRows(int panel, int panels) {
    const int height = (kBottom - kTop - (panels - 1) * kPanelGap) / panels;
    const int top = kTop + panel * (height + kPanelGap);
    return {top, top + height - 1};
}

// The row a sample reaches in a waveform panel: full scale at its top and
// bottom rows, clamped there.
inline int waveRow(float sample, Rows rows) {
    const double middle = (rows.top + rows.bottom) / 2.0;
    const double half = (rows.bottom - rows.top) / 2.0;
    return static_cast<int>(middle - std::clamp(sample, -1.0f, 1.0f) * half + 0.5);
}

}  // namespace picture::plot
