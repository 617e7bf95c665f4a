#include "module_platform.h"

namespace vst3host {

namespace {

// The folder of the bundle's Contents that holds this platform's binary,
// and the binary's extension.
#if defined(_WIN32) && (defined(__x86_64__) || defined(_M_X64))
constexpr const char* kBinaryFolder = "x86_64-win";
constexpr const char* kBinaryExtension = ".vst3";
#elif defined(_WIN32) && (defined(__i386__) || defined(_M_IX86))
constexpr const char* kBinaryFolder = "x86-win";
constexpr const char* kBinaryExtension = ".vst3";
#elif defined(__linux__) && defined(__x86_64__)
constexpr const char* kBinaryFolder = "x86_64-linux";
constexpr const char* kBinaryExtension = ".so";
#elif defined(__linux__) && defined(__aarch64__)
constexpr const char* kBinaryFolder = "aarch64-linux";
constexpr const char* kBinaryExtension = ".so";
#else
#error "no VST 3 bundle folder is known for this platform"
#endif

}  // namespace

std::filesystem::path bundleBinary(const std::filesystem::path& bundle) {
    const std::filesystem::path name = bundle.filename().empty() ? bundle.parent_path().filename() : bundle.filename();
    std::filesystem::path binary = name.stem();
    binary += kBinaryExtension;
    return bundle / "Contents" / kBinaryFolder / binary;
}

vst3::ModuleExitProc enterModule(const pluginhost::SharedLibrary& library) {
#if defined(_WIN32)
    const auto init = reinterpret_cast<vst3::InitDllProc>(library.symbol(vst3::kInitDllSymbol));
    if (init != nullptr && !init()) throw pluginhost::HostError("the VST 3 module refused InitDll: " + library.path());
    return reinterpret_cast<vst3::ExitDllProc>(library.symbol(vst3::kExitDllSymbol));
#else
    const auto entry = reinterpret_cast<vst3::ModuleEntryProc>(library.symbol(vst3::kModuleEntrySymbol));
    const auto exit = reinterpret_cast<vst3::ModuleExitProc>(library.symbol(vst3::kModuleExitSymbol));
    if (entry == nullptr || exit == nullptr) {
        throw pluginhost::HostError("the VST 3 module exports no ModuleEntry and ModuleExit: " + library.path());
    }
    if (!entry(library.handle()))
        throw pluginhost::HostError("the VST 3 module refused ModuleEntry: " + library.path());
    return exit;
#endif
}

}  // namespace vst3host
