// The font's file as bytes, generated at build time from the system's
// DejaVuSans.ttf (fonts-dejavu-core) by embed_file.cmake.
#pragma once

#include <cstddef>

namespace picture {

extern const unsigned char kDejaVuSans[];
extern const std::size_t kDejaVuSansBytes;

}  // namespace picture
