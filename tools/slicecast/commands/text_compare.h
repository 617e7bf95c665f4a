// Comparing what a user types with what an effect shows: case and the
// blanks around a text do not matter.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace slicecastcli {

std::string_view trimmed(std::string_view text);

bool sameText(std::string_view a, std::string_view b);

// The number that the whole text (blanks around it aside) spells, if any.
template <typename Number>
std::optional<Number> parseNumber(std::string_view text) {
    text = trimmed(text);
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return number;
}

}  // namespace slicecastcli
