#include "screenshot_file.h"

#include <cairo.h>

#include <memory>
#include <stdexcept>
#include <vector>

namespace slicecastcli {

void writeScreenshot(const pluginhost::Pixels& pixels, const std::string& file) {
    // 0x00RRGGBB words are what cairo's RGB24 surface holds.
    std::vector<std::uint32_t> words = pixels.rgb;
    const std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(words.data()), CAIRO_FORMAT_RGB24,
                                            pixels.width, pixels.height, pixels.width * 4),
        &cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_write_to_png(surface.get(), file.c_str()) != CAIRO_STATUS_SUCCESS) {
        throw std::runtime_error("cannot write the screenshot " + file);
    }
}

}  // namespace slicecastcli
