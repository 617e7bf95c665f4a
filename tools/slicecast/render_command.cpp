#include "render_command.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "effect_session.h"
#include "output_format.h"
#include "progress_bar.h"
#include "sound_file_reader.h"
#include "sound_file_writer.h"

namespace slicecastcli {

namespace {

// Frames read, rendered and written at a time: a whole number of blocks,
// so that streaming does not change where blocks start.
constexpr std::int32_t kChunkFrames = 65536;

std::string channelsName(int channels) { return channels == 1 ? "mono" : "stereo"; }

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof(text), format, value);
    return text;
}

}  // namespace

RenderResult renderFile(const std::string& pluginPath, const RenderOptions& options, const Console& console) {
    const auto started = std::chrono::steady_clock::now();
    SoundFileReader reader(options.input);
    EffectSession session(pluginPath);
    session.requireRenderable(reader.channels());
    session.switchOn(reader.sampleRate(), options.tempo, options.start, options.blockSize);

    RenderResult result;
    result.effectName = session.instance().effectName();
    result.settings = applySettings(session.instance(), options.settings);
    result.sampleRate = reader.sampleRate();
    result.inputChannels = reader.channels();
    result.outputChannels = session.outputChannels();

    SoundFileWriter writer(options.output, outputFormat(options.format, reader.format()), result.outputChannels,
                           reader.sampleRate());
    const auto chunk = static_cast<std::size_t>(options.blockSize) *
                       static_cast<std::size_t>(std::max(1, kChunkFrames / options.blockSize));
    vsthost::StereoBuffer input;
    vsthost::StereoBuffer output;
    ProgressBar progress(reader.frames(), console.showsProgress());
    for (reader.read(input, chunk); input.frames() > 0; reader.read(input, chunk)) {
        session.render(input, output);
        writer.write(output);
        result.frames += static_cast<std::int64_t>(input.frames());
        progress.update(result.frames);
    }
    progress.finish();
    writer.commit();
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

void reportRender(const RenderOptions& options, const RenderResult& result, const Console& console) {
    for (const ParameterValue& setting : result.settings) console.say("  " + describe(setting));
    const double audioSeconds = static_cast<double>(result.frames) / result.sampleRate;
    console.say("Rendered " + options.input + " (" + formatted("%.3f", audioSeconds) + " s, " +
                channelsName(result.inputChannels) + ", " + std::to_string(result.sampleRate) + " Hz) through " +
                result.effectName + " to " + options.output + " (" + channelsName(result.outputChannels) + ")");
    const std::string speed = result.seconds > 0.0
                                  ? formatted("%.1f", audioSeconds / result.seconds) + " times faster than real time"
                                  : "too fast to time";
    console.say("Took " + formatted("%.3f", result.seconds) + " s, " + speed);
}

}  // namespace slicecastcli
