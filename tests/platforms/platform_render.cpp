// Plays the fixed scenarios (render_scenarios.h) through a plug-in library
// and writes each output as raw floats, DIR/<scenario>.f32, so that the
// builds for different platforms can be compared bit for bit. A library
// named *.clap is hosted as a CLAP plug-in, a bundle named *.vst3 as a VST 3
// one, any other as a VST 2.4 one; with the LV2 edition's binary too, its
// outputs go to DIR/lv2/<scenario>.f32.
//
//   platform_render PLUGIN DIR [LV2_BINARY]
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <stdexcept>

#include "clap_scenario_player.h"
#include "descriptor_instance.h"
#include "shared_library.h"
#include "render_scenarios.h"
#include "vst3_scenario_player.h"
#include "vst_entry_point.h"

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: platform_render PLUGIN DIR [LV2_BINARY]\n");
        return 2;
    }
    try {
        const std::filesystem::path path(argv[1]);
        std::optional<pluginhost::SharedLibrary> vstLibrary;
        std::optional<claphost::ClapLibrary> clapLibrary;
        std::optional<vst3host::Vst3Module> vst3Module;
        if (path.extension() == ".clap")
            clapLibrary.emplace(argv[1]);
        else if (path.extension() == ".vst3")
            vst3Module.emplace(argv[1]);
        else
            vstLibrary.emplace(argv[1]);
        const auto newPlayer = [&]() -> std::unique_ptr<platforms::ScenarioPlayer> {
            if (clapLibrary) return std::make_unique<platforms::ClapScenarioPlayer>(*clapLibrary);
            if (vst3Module) return std::make_unique<platforms::Vst3ScenarioPlayer>(*vst3Module);
            return platforms::vstScenarioPlayer(vst2host::entryPointOf(*vstLibrary));
        };
        const std::filesystem::path directory(argv[2]);
        std::filesystem::create_directories(directory);
        std::unique_ptr<pluginhost::SharedLibrary> lv2;
        if (argc == 4) {
            lv2 = std::make_unique<pluginhost::SharedLibrary>(argv[3]);
            std::filesystem::create_directories(directory / "lv2");
        }
        const auto write = [](const std::filesystem::path& path, const pluginhost::StereoBuffer& output) {
            const auto bytes = platforms::interleavedBytes(output);
            std::ofstream file(path, std::ios::binary | std::ios::trunc);
            file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            if (!file.flush()) throw std::runtime_error("cannot write " + path.string());
        };
        for (const auto& scenario : platforms::renderScenarios()) {
            const std::unique_ptr<platforms::ScenarioPlayer> player = newPlayer();
            write(directory / (scenario.name + ".f32"), platforms::renderScenario(scenario, *player));
            if (lv2) write(directory / "lv2" / (scenario.name + ".f32"), platforms::renderLv2Scenario(scenario, *lv2));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "platform_render: %s\n", error.what());
        return 1;
    }
    return 0;
}
