// Turns fuzzer bytes into a sequence of host calls on one effect instance:
// dispatcher opcodes with arguments, parameter changes with any float,
// time records with garbage or none at all, and audio blocks of any size,
// in place or not. Only calls the host contract allows are made: text
// opcodes always get real buffers, pointers are never invented.
#pragma once

#include <cstddef>
#include <cstdint>

#include "vst_abi.h"

namespace slicecastfuzz {

// Plays the script in data against a new instance created through entry.
// Aborts if the effect breaks a rule a host can see (writing its inputs).
void playHostCalls(VstPluginMainProc entry, const std::uint8_t* data, std::size_t size);

}  // namespace slicecastfuzz
