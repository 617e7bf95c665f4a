// What differs between platforms in loading a VST 3 module, and nowhere
// else: the folder of a bundle that holds this platform's binary, and the
// entry and exit functions called around the library's life.
#pragma once

#include <filesystem>

#include "shared_library.h"
#include "vst3_abi.h"

namespace vst3host {

// The binary in bundle (a NAME.vst3 folder) that a host of this platform
// loads: Contents/x86_64-linux/NAME.so, Contents/aarch64-linux/NAME.so,
// Contents/x86_64-win/NAME.vst3 or Contents/x86-win/NAME.vst3, named after
// the bundle.
std::filesystem::path bundleBinary(const std::filesystem::path& bundle);

// Called once the library is loaded, before its factory is asked for: on
// Linux ModuleEntry with the library's handle (it and ModuleExit must be
// exported), on Windows InitDll where it is exported. Throws HostError
// when they are missing or refuse. Answers the exit function to call before
// the library is unloaded (ModuleExit, ExitDll), or null for none.
vst3::ModuleExitProc enterModule(const pluginhost::SharedLibrary& library);

}  // namespace vst3host
