// Bytes of the C library's heap in use, counting the large blocks that live
// in their own mappings (an instance is one such block). Measured by the
// C library of each platform: heap_usage_glibc.cpp, heap_usage_windows.cpp.
#pragma once

#include <cstddef>

namespace reliability {

std::size_t heapInUse();

}  // namespace reliability
