// Calls a function the way a 32-bit host that keeps the stack aligned to 4
// bytes only may call it: the stack pointer at the call is skew bytes (4, 8
// or 12) past a 16-byte boundary. The arguments are 32-bit words, pushed as
// the C calling convention pushes them. 32-bit x86 only.
#pragma once

#include <cstdint>

extern "C" {
std::uint32_t misalignedCall(const void* function, const std::uint32_t* arguments, std::uint32_t count,
                             std::uint32_t skew);
// The same call for a function that answers a float (in the x87 register).
float misalignedCallFloat(const void* function, const std::uint32_t* arguments, std::uint32_t count,
                          std::uint32_t skew);
}
