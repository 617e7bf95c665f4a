// The interface's numbers as a user reads them: flag names, plug-in
// categories, four-character codes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "vst_abi.h"

namespace vst2host {

// "effFlagsCanReplacing, effFlagsCanDoubleReplacing"; unknown bits in hex;
// "none" for 0.
std::string flagNames(VstInt32 flags);

// The answer to effGetPlugCategory: "Effect", "Unknown", ... or the number.
std::string categoryName(VstIntPtr category);

// "wjzc" for 0x776A7A63; nothing for a code with unprintable characters.
std::optional<std::string> fourCharText(VstInt32 code);

// "0x776A7A63": all eight digits.
std::string hexText(std::uint32_t value);

}  // namespace vst2host
