#include "plugin_path.h"

#include <array>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace slicecastcli {

namespace fs = std::filesystem;

namespace {

// Relative to the folder of this program: the build tree, then the
// installed layout.
constexpr std::array<const char*, 2> kBundledPluginPlaces{"../effect/slicecast.so", "../lib/vst/slicecast.so"};

std::string bundledPluginPath() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        throw std::runtime_error("cannot tell where this program lives (" + error.message() +
                                 "); give the plug-in with --plugin PATH");
    }
    std::string tried;
    for (const char* place : kBundledPluginPlaces) {
        const fs::path candidate = (program.parent_path() / place).lexically_normal();
        if (fs::exists(candidate, error)) return candidate.string();
        tried += (tried.empty() ? "" : ", ") + candidate.string();
    }
    throw std::runtime_error("cannot find the Slicecast plug-in (looked for " + tried +
                             "); give one with --plugin PATH");
}

}  // namespace

std::string pluginPath(const std::optional<std::string>& userPath) {
    if (!userPath) return bundledPluginPath();
    if (userPath->empty()) throw std::runtime_error("--plugin needs the path of an effect library");
    return fs::absolute(*userPath).lexically_normal().string();
}

}  // namespace slicecastcli
