#include "plugin_path.h"

#include <array>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "plugin_format.h"

namespace slicecastcli {

namespace fs = std::filesystem;

namespace {

// Relative to the folder of this program: the build tree first, so that a
// build never picks up an older installed copy, then the folder the build
// installs the plug-in into (absolute when it was configured so, and then
// taken as it is).
const std::array<fs::path, 2> kBundledPluginPlaces{
    fs::path("../editions/vst2") / SLICECAST_PLUGIN_FILE_NAME,
    fs::path(SLICECAST_VST_DIR_FROM_TOOL) / SLICECAST_PLUGIN_FILE_NAME,
};

std::string bundledPluginPath() {
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        throw std::runtime_error("cannot tell where this program lives (" + error.message() +
                                 "); give the plug-in with --plugin PATH");
    }
    std::string tried;
    for (const fs::path& place : kBundledPluginPlaces) {
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
    if (isUri(*userPath)) return *userPath;
    return fs::absolute(*userPath).lexically_normal().string();
}

}  // namespace slicecastcli
