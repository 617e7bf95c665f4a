// The bounded text copy used for every text handed to the host: at most
// bound characters of the source, the rest of the first bound bytes filled
// with NULs, then a NUL at position bound. Exactly bound + 1 bytes are
// written, never more.
#pragma once

#include <cstddef>
#include <cstring>

inline void copyBoundedText(char* destination, const char* source, std::size_t bound) noexcept {
    std::strncpy(destination, source, bound);
    destination[bound] = '\0';
}
