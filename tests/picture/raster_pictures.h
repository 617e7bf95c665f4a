// A fixed set of pictures drawn by the raster, each at the display scales
// an editor meets (1, 1.5, 2): text at several sizes, rectangles blended
// over each other and clipped at the canvas's edges and beyond, and a
// render's picture with waveform columns, period, pass and beat marks.
// Every platform must draw them to the same pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"
#include "plot_drawing.h"

namespace rastertest {

inline constexpr double kScales[] = {1.0, 1.5, 2.0};

// The logical size of the text and rectangle pictures.
inline constexpr int kWidth = 800;
inline constexpr int kHeight = 450;

struct RasterPicture {
    std::string name;
    picture::Canvas canvas;
};

// The render's picture: a synthetic stereo sound through blocks with a
// tempo change, its marks found as the blocks were played.
picture::PlotContent renderContent();

// Every picture of the set, at every scale; names are "kind@scale".
std::vector<RasterPicture> rasterPictures();

// FNV-1a over the pixels' bytes in little-endian order, as 16 hex digits.
std::string pixelHash(const picture::Canvas& canvas);

}  // namespace rastertest
