// The bounded text copy used for every text handed to the host: at most
// bound characters of the source, the rest of the first bound bytes filled
// with NULs, then a NUL at position bound. Exactly bound + 1 bytes are
// written, never more.
#pragma once

#include <cstddef>

inline void copyBoundedText(char* destination, const char* source, std::size_t bound) noexcept {
    std::size_t i = 0;
    for (; i < bound && source[i] != '\0'; ++i) destination[i] = source[i];
    for (; i <= bound; ++i) destination[i] = '\0';
}
