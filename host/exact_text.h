// Numbers as the render tool and the block lists print them: the shortest
// text that reads back to the same bits.
#pragma once

#include <charconv>
#include <string>

namespace pluginhost {

inline std::string exactText(double number) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof(text), number);
    return std::string(text, result.ptr);
}

}  // namespace pluginhost
