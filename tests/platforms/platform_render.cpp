// Plays the fixed scenarios (render_scenarios.h) through a plug-in library
// and writes each output as raw floats, DIR/<scenario>.f32, so that the
// builds for different platforms can be compared bit for bit. A library
// named *.clap is hosted as a CLAP plug-in, any other as a VST 2.4 one.
//
//   platform_render PLUGIN_LIBRARY DIR
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>

#include <memory>
#include <optional>

#include "clap_scenario_player.h"
#include "plugin_library.h"
#include "render_scenarios.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: platform_render PLUGIN_LIBRARY DIR\n");
        return 2;
    }
    try {
        const std::filesystem::path path(argv[1]);
        const bool clap = path.extension() == ".clap";
        std::optional<vsthost::PluginLibrary> vstLibrary;
        std::optional<claphost::ClapLibrary> clapLibrary;
        if (clap)
            clapLibrary.emplace(argv[1]);
        else
            vstLibrary.emplace(argv[1]);
        const std::filesystem::path directory(argv[2]);
        std::filesystem::create_directories(directory);
        for (const auto& scenario : platforms::renderScenarios()) {
            const std::unique_ptr<platforms::ScenarioPlayer> player =
                clap ? std::make_unique<platforms::ClapScenarioPlayer>(*clapLibrary)
                     : platforms::vstScenarioPlayer(vstLibrary->entryPoint());
            const auto bytes = platforms::interleavedBytes(platforms::renderScenario(scenario, *player));
            std::ofstream file(directory / (scenario.name + ".f32"), std::ios::binary | std::ios::trunc);
            file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            if (!file.flush()) {
                std::fprintf(stderr, "platform_render: cannot write %s\n", scenario.name.c_str());
                return 1;
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "platform_render: %s\n", error.what());
        return 1;
    }
    return 0;
}
