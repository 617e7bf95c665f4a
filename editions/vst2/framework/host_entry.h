// How the functions that a host calls are declared, per platform: the entry
// point's export and its second name, and the stack alignment they may
// assume.
#pragma once

#include "vst_abi.h"

#if defined(_WIN32)
// A module-definition file (exports.def) names the two exports, main as a
// second name of VSTPluginMain; nothing is exported by attribute.
#define SLICECAST_EXPORT
#define SLICECAST_EXPORT_AS_MAIN(function)
#else
// Everything is hidden by default; the version script (exports.map) keeps
// the two names. main cannot be spelled in C++ for anything but a program's
// main, so the alias is given to the linker directly.
#define SLICECAST_EXPORT __attribute__((visibility("default")))
#define SLICECAST_EXPORT_AS_MAIN(function)                                                  \
    extern "C" SLICECAST_EXPORT AEffect* vstPluginMainAlias(audioMasterCallback host) \
        noexcept __asm__("main") __attribute__((alias(#function)));
#endif

#if defined(__i386__)
// 32-bit hosts may call with a stack aligned to 4 bytes only, while the
// compiled code keeps 16-byte-aligned SSE values on it: every function a
// host calls aligns its own frame. (The 32-bit MinGW compiler realigns
// wherever it needs to by default; the attribute keeps the guarantee for
// these functions whatever the flags.)
#define SLICECAST_HOST_ENTRY __attribute__((force_align_arg_pointer))
#else
#define SLICECAST_HOST_ENTRY
#endif
