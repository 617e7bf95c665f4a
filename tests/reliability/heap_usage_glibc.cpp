#include <malloc.h>

#include "heap_usage.h"

namespace reliability {

std::size_t heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

}  // namespace reliability
