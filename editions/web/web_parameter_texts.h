// The six parameters as the page shows them: the plug-in's names, and each
// plain value's text as the plug-in displays it (a step's label, a
// percentage truncated), followed by its unit where it has one.
#pragma once

#include <cstddef>
#include <cstdint>

namespace slicecast {

// Room for any value text, its end included.
constexpr std::size_t kValueTextBound = 24;

// Null for an index that is not a parameter's.
const char* parameterName(std::int32_t index) noexcept;

// Writes the text of plain (as the LV2 and CLAP editions map it) into text,
// which holds kValueTextBound bytes; an empty text for an index that is not
// a parameter's.
void writeValueText(std::int32_t index, float plain, char* text) noexcept;

}  // namespace slicecast
