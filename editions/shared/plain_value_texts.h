// The display texts read back as plain values, for every edition whose host
// hands a typed text to the plug-in: a step's text ("1/8", "1/2") gives its
// step number, a percentage ("70", "70 %", "12.5") its number clamped to
// 0..100. Spaces and tabs around the text are ignored.
#pragma once

#include <optional>
#include <string_view>

#include "parameter_tables.h"

namespace slicecast {

// Nothing for a text that is none of these.
std::optional<double> plainValueOfText(ParameterIndex index, std::string_view text) noexcept;

}  // namespace slicecast
