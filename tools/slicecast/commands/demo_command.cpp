#include "demo_command.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

#include "drum_loop.h"
#include "sound_files/output_format.h"
#include "render_command.h"
#include "sound_files/sound_file_writer.h"

namespace slicecastcli {

namespace {

// A stutter on every beat: each beat's first sixteenth of a bar is caught
// and repeated four times, each repeat quieter and gated short.
const std::vector<std::string> kDemoSettings{
    "WaveLength=1/16", "UpdatePeriod=1/4", "Rate=80", "FadeOut=20", "DecayRate=80", "Mix=100",
};

constexpr std::int32_t kDemoBlockSize = 512;

}  // namespace

void runDemo(const std::string& pluginPath, const std::string& folder, const Console& console) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) throw std::runtime_error("cannot make the folder " + folder + ": " + error.message());

    const DrumLoop loop = makeDrumLoop();
    const std::string dry = (fs::path(folder) / "dry.wav").string();
    constexpr int kStereo = 2;
    SoundFileWriter writer(dry, outputFormatFor(dry, "float", 0, kStereo, loop.sampleRate), kStereo, loop.sampleRate);
    writer.write(loop.sound);
    writer.commit();

    RenderOptions options;
    options.input = dry;
    options.output = (fs::path(folder) / "slicecast.wav").string();
    options.transport.tempo = pluginhost::TempoMap(loop.tempo);
    options.transport.blocks = {kDemoBlockSize, kDemoBlockSize, std::nullopt};
    options.settings = kDemoSettings;
    options.plot = (fs::path(folder) / "slicecast.png").string();
    const RenderResult result = renderFile(pluginPath, options, console);

    console.say("A drum loop of " + std::to_string(loop.bars) + " bars at " +
                std::to_string(static_cast<int>(loop.tempo)) + " BPM, made in code:");
    console.say("  dry:               " + dry);
    console.say("  through Slicecast: " + options.output);
    console.say("  picture:           " + options.plot);
    console.say("Settings:");
    reportRender(options, result, console);
}

}  // namespace slicecastcli
