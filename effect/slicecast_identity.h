// Who the effect is, as a host sees it.
#pragma once

#include "vst_abi.h"

namespace slicecast {

constexpr const char* kEffectName = "J'x Slicecast";
constexpr const char* kProductString = "J'x Slicecast";
constexpr const char* kVendorString = "J'x Tiv-nar";
constexpr VstInt32 kUniqueId = fourCharCode("wjzc");
constexpr VstInt32 kProgramCount = 1;
constexpr VstInt32 kParameterCount = 6;
constexpr VstInt32 kInputCount = 2;
constexpr VstInt32 kOutputCount = 2;

// Name texts are cut at this many characters; parameter texts at kParameterTextBound.
constexpr std::size_t kNameTextBound = 24;
constexpr std::size_t kParameterTextBound = 16;

}  // namespace slicecast
