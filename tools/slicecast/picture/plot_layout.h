// Where things go in the render tool's picture of a render: its size, the
// caption band, one panel per waveform (each channel's dry sound above its
// processed sound), the time axis below, and the colours drawn with. Lines
// and waveforms are drawn without antialiasing, one pixel wide, so that
// every pixel has exactly one of these colours.
#pragma once

#include <cstdint>

namespace slicecastcli::plot {

constexpr int kWidth = 1600;
constexpr int kHeight = 900;
constexpr int kLeft = 110;  // room for the panel names
constexpr int kRight = kWidth - 20;
constexpr int kTop = 80;  // below the caption
constexpr int kBottom = kHeight - 50;  // above the time axis
constexpr int kPanelGap = 12;

struct Colour {
    int red;
    int green;
    int blue;
};

constexpr Colour kBackground{255, 255, 255};
constexpr Colour kPanelFrame{200, 200, 200};
constexpr Colour kText{30, 30, 30};
constexpr Colour kDryWave{110, 110, 110};
constexpr Colour kProcessedWave{25, 95, 190};
constexpr Colour kPeriodLine{210, 60, 20};
constexpr Colour kPassLine{245, 200, 170};
constexpr Colour kBarLine{170, 170, 170};

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

}  // namespace slicecastcli::plot
