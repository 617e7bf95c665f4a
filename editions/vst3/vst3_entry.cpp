// The module's exports: GetPluginFactory on every platform, and the entry
// and exit pair its platform's hosts call around loading the library
// (ModuleEntry and ModuleExit on Linux, InitDll and ExitDll on Windows).
// Everything else in the library is hidden.
//
// The library holds nothing but constant data and its factory, so the
// entry and exit calls have nothing to set up or tear down, and any number
// of them in any order is harmless.
#include "slicecast_factory.h"
#include "vst3_abi.h"

namespace {
constinit slicecast::SlicecastFactory factory;
}  // namespace

extern "C" SLICECAST_VST3_EXPORT vst3::IPluginFactory* SLICECAST_VST3_CALL GetPluginFactory() {
    return &factory;
}

#if defined(_WIN32)
extern "C" SLICECAST_VST3_EXPORT bool InitDll() { return true; }
extern "C" SLICECAST_VST3_EXPORT bool ExitDll() { return true; }
#else
extern "C" SLICECAST_VST3_EXPORT bool ModuleEntry(void*) { return true; }
extern "C" SLICECAST_VST3_EXPORT bool ModuleExit() { return true; }
#endif
