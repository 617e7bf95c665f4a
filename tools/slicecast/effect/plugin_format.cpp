#include "plugin_format.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace slicecastcli {

namespace fs = std::filesystem;

bool isUri(const std::string& plugin) {
    const auto colon = plugin.find(':');
    if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(plugin[0]))) return false;
    for (std::size_t i = 1; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(plugin[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return false;
    }
    return true;
}

pluginhost::PluginFormat pluginFormatOf(const std::string& plugin) {
    const fs::path path(plugin);
    if (path.extension() == ".clap") return pluginhost::PluginFormat::Clap;
    if (path.extension() == ".vst3") return pluginhost::PluginFormat::Vst3;
    std::error_code error;
    if (isUri(plugin) || path.extension() == ".lv2" || fs::is_directory(path, error)) {
        return pluginhost::PluginFormat::Lv2;
    }
    return pluginhost::PluginFormat::Vst2;
}

}  // namespace slicecastcli
