// Texts between the effect's own (ASCII) and VST 3's UTF-16 ones. Every
// text the effect shows is ASCII, so each character is one UTF-16 unit.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "vst3_abi.h"

namespace slicecast {

// At most capacity - 1 characters of text, then NULs to the end of out.
inline void writeUtf16(std::string_view text, vst3::char16* out, std::size_t capacity) noexcept {
    std::size_t i = 0;
    for (; i + 1 < capacity && i < text.size(); ++i) out[i] = static_cast<unsigned char>(text[i]);
    for (; i < capacity; ++i) out[i] = u'\0';
}

// The ASCII text of a host's NUL-terminated UTF-16 text, read up to
// capacity - 1 units into out; nothing when it holds other characters or
// does not end in time.
inline std::optional<std::string_view> asciiOf(const vst3::char16* text, char* out, std::size_t capacity) noexcept {
    if (text == nullptr) return std::nullopt;
    for (std::size_t i = 0; i < capacity; ++i) {
        if (text[i] == u'\0') return std::string_view(out, i);
        if (text[i] > 0x7F || i + 1 == capacity) return std::nullopt;
        out[i] = static_cast<char>(text[i]);
    }
    return std::nullopt;
}

}  // namespace slicecast
