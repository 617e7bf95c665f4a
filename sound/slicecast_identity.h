// Who the effect is, whatever the plug-in format presents it: its names,
// its channels and its parameter count. Each edition adds the identifiers
// its format asks for in a header of its own.
#pragma once

#include <cstddef>
#include <cstdint>

namespace slicecast {

constexpr const char* kEffectName = "J'x Slicecast";
constexpr const char* kProductString = "J'x Slicecast";
constexpr const char* kVendorString = "J'x Tiv-nar";
constexpr std::int32_t kParameterCount = 6;
constexpr std::int32_t kInputCount = 2;
constexpr std::int32_t kOutputCount = 2;

// Name texts are cut at this many characters; parameter texts at kParameterTextBound.
constexpr std::size_t kNameTextBound = 24;
constexpr std::size_t kParameterTextBound = 16;

}  // namespace slicecast
