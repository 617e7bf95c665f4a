// `slicecast render IN OUT`: plays a sound file through an effect as a
// DAW's transport would, and writes what comes out.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "console/console.h"
#include "transport/file_playback.h"
#include "effect/parameter_settings.h"

namespace slicecastcli {

struct RenderOptions {
    std::string input;
    std::string output;
    TransportOptions transport;
    // A name from encodingNames(), or empty for the best the output's
    // container holds.
    std::string format;
    // One of the effect's presets by name (none if empty), loaded once the
    // effect is switched on, before the settings.
    std::string preset;
    // NAME=VALUE, applied in order once the effect is switched on.
    std::vector<std::string> settings;
    // Where to write the list of processing calls (none if empty).
    std::string blocksOut;
    // Where to draw the picture of the render, .png or .svg (none if empty).
    std::string plot;
    // Keep every processing call in RenderResult::blocks. Off unless
    // needed: a long render in tiny blocks makes millions of them.
    bool keepPlayedBlocks = false;
};

struct RenderResult {
    std::string effectName;
    // The preset loaded, as the effect names it; empty for none.
    std::string preset;
    std::vector<ParameterValue> settings;
    // Frames written: the input's, and the loop's repeats.
    std::int64_t frames = 0;
    int sampleRate = 0;
    int inputChannels = 0;
    int outputChannels = 0;
    double seconds = 0.0;
    // Every processing call as played, if options.keepPlayedBlocks.
    std::vector<pluginhost::PlayedBlock> blocks;
};

// Told, now and then, how many frames of how many a render has done.
using RenderProgress = std::function<void(std::int64_t done, std::int64_t total)>;

// The whole render: the output file appears only if everything worked.
// The output has as many channels as the effect has outputs, so a mono
// file played through a stereo effect comes out stereo. The output's
// format is checked before the effect is loaded.
RenderResult renderFile(const std::string& pluginPath, const RenderOptions& options, const RenderProgress& progress);
// The same with a progress bar on the console.
RenderResult renderFile(const std::string& pluginPath, const RenderOptions& options, const Console& console);

// The preset and settings used, how long the render took and how many times faster
// than real time it ran.
void reportRender(const RenderOptions& options, const RenderResult& result, const Console& console);

}  // namespace slicecastcli
