// A PNG picture the tool drew, read back with cairo, pixel by pixel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "colour.h"

namespace tooltest {

class Picture {
public:
    // Throws when the file is not a PNG cairo reads.
    explicit Picture(const std::string& path);

    int width() const { return width_; }
    int height() const { return height_; }
    bool is(int x, int y, picture::Colour colour) const;
    // Whether any row from top to bottom of column x has the colour.
    bool columnHas(int x, int top, int bottom, picture::Colour colour) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, row after row
};

}  // namespace tooltest
