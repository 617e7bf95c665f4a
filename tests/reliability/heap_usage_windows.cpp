#include <malloc.h>

#include "heap_usage.h"

namespace reliability {

// Every block the C runtime's heap holds for its callers, large ones
// included: the DLL's malloc and the test's are the same runtime's.
std::size_t heapInUse() {
    std::size_t used = 0;
    _HEAPINFO entry{};
    while (_heapwalk(&entry) == _HEAPOK) {
        if (entry._useflag == _USEDENTRY) used += entry._size;
    }
    return used;
}

}  // namespace reliability
