#include "render_command.h"

#include <chrono>
#include <cstdio>
#include <optional>

#include "transport/block_log.h"
#include "effect/effect_session.h"
#include "effect/preset_choice.h"
#include "sound_files/output_format.h"
#include "console/progress_bar.h"
#include "picture/render_picture.h"
#include "sound_files/sound_file_reader.h"
#include "sound_files/sound_file_writer.h"

namespace slicecastcli {

namespace {

std::string channelsName(int channels) { return channels == 1 ? "mono" : "stereo"; }

std::string formatted(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof(text), format, value);
    return text;
}

}  // namespace

RenderResult renderFile(const std::string& pluginPath, const RenderOptions& options, const RenderProgress& progress) {
    const auto started = std::chrono::steady_clock::now();
    SoundFileReader reader(options.input);
    // Checked for a stereo output, as effects almost always have, so that a
    // wrong name stops the render before any work; the writer checks again
    // with the effect's own count.
    constexpr int kUsualChannels = 2;
    const int format =
        outputFormatFor(options.output, options.format, reader.format(), kUsualChannels, reader.sampleRate());
    EffectSession session(pluginPath);
    session.requireRenderable(reader.channels());
    const TransportOptions& transport = options.transport;
    session.switchOn(reader.sampleRate(), transport.tempo.tempoAt(transport.start), transport.start,
                     transport.blocks.largest);

    RenderResult result;
    result.effectName = session.effect().name();
    if (!options.preset.empty()) result.preset = loadPreset(session.effect(), options.preset);
    result.settings = applySettings(session.effect(), options.settings);
    result.sampleRate = reader.sampleRate();
    result.inputChannels = reader.channels();
    result.outputChannels = session.outputChannels();

    std::optional<BlockLogFile> blockLog;
    if (!options.blocksOut.empty()) blockLog.emplace(options.blocksOut, session.effect());
    SoundFileWriter writer(options.output, format, result.outputChannels, reader.sampleRate());
    // Its facts as they stand before the first block.
    std::optional<RenderPicture> picture;
    if (!options.plot.empty()) {
        picture.emplace(options.plot, result.outputChannels,
                        pictureFacts(session.effect(), options.input, result.sampleRate, result.settings));
    }
    BlockWatcher watch;
    if (picture) watch = [&picture](const pluginhost::StereoBuffer& dry, const pluginhost::StereoBuffer& processed) {
        picture->add(dry, processed);
    };
    playFile(
        session, transport, result.settings, reader, writer,
        [&progress, &reader](std::int64_t done) { progress(done, reader.frames()); },
        [&](const pluginhost::PlayedBlock& block) {
            if (block.written()) result.frames += block.frames;
            if (blockLog) blockLog->append(block);
            if (picture) picture->play(block);
            if (options.keepPlayedBlocks) result.blocks.push_back(block);
        },
        watch);
    if (picture) picture->draw();
    if (blockLog) blockLog->commit();
    writer.commit();
    if (picture) picture->commit();
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return result;
}

RenderResult renderFile(const std::string& pluginPath, const RenderOptions& options, const Console& console) {
    ProgressBar bar(0, console.showsProgress());
    const RenderResult result = renderFile(pluginPath, options, [&bar](std::int64_t done, std::int64_t total) {
        bar.setTotal(total);
        bar.update(done);
    });
    bar.finish();
    return result;
}

void reportRender(const RenderOptions& options, const RenderResult& result, const Console& console) {
    if (!result.preset.empty()) console.say("  Preset: " + result.preset);
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
