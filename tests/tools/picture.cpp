#include "picture.h"

#include <cairo.h>

#include <cstring>
#include <stdexcept>

namespace tooltest {

Picture::Picture(const std::string& path) {
    cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        throw std::runtime_error("cannot read " + path + " as PNG");
    }
    width_ = cairo_image_surface_get_width(surface);
    height_ = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
    for (int y = 0; y < height_; ++y) {
        std::memcpy(&pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_)],
                    data + static_cast<std::ptrdiff_t>(y) * stride, static_cast<std::size_t>(width_) * 4);
    }
    cairo_surface_destroy(surface);
}

bool Picture::is(int x, int y, picture::Colour colour) const {
    const std::uint32_t pixel = pixels_.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                           static_cast<std::size_t>(x)) & 0xFFFFFFu;
    return pixel == ((static_cast<std::uint32_t>(colour.red) << 16) | (static_cast<std::uint32_t>(colour.green) << 8) |
                     static_cast<std::uint32_t>(colour.blue));
}

bool Picture::columnHas(int x, int top, int bottom, picture::Colour colour) const {
    for (int y = top; y <= bottom; ++y) {
        if (is(x, y, colour)) return true;
    }
    return false;
}

}  // namespace tooltest
