// Texts between the host's UTF-8 and the UTF-16 that VST 3 writes its names,
// parameter texts and strings in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "vst3_abi.h"

namespace vst3host {

// The text of at most capacity units, up to its first NUL. A unit that
// stands for no character (a lone surrogate) becomes U+FFFD.
std::string utf8Of(const vst3::char16* text, std::size_t capacity);
std::u16string utf16Of(std::string_view utf8);

// text into a String128 or the like: at most capacity - 1 units, the rest
// NULs.
void writeUtf16(std::string_view utf8, vst3::char16* out, std::size_t capacity);

}  // namespace vst3host
