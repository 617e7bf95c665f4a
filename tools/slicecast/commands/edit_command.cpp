#include "edit_command.h"

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "commands/drum_loop.h"
#include "effect/effect_session.h"
#include "effect/parameter_settings.h"
#include "host_window.h"
#include "picture/screenshot_file.h"
#include "sound_files/sound_file_reader.h"
#include "ui_loop.h"

namespace slicecastcli {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int32_t kBlockFrames = 512;
// How long the UI loop runs between looks at the window and the clock.
constexpr std::chrono::milliseconds kLoopTurn{20};

struct Sound {
    int sampleRate;
    pluginhost::StereoBuffer frames;
};

Sound soundFor(const EditOptions& options) {
    if (!options.input) {
        DrumLoop loop = makeDrumLoop();
        return {loop.sampleRate, std::move(loop.sound)};
    }
    SoundFileReader reader(*options.input);
    Sound sound{reader.sampleRate(), {}};
    reader.read(sound.frames, static_cast<std::size_t>(reader.frames()));
    if (sound.frames.frames() == 0) throw std::runtime_error(*options.input + " holds no sound to play");
    return sound;
}

// Plays the sound through the effect, looping, one block at a time at the
// pace of real time, the transport rolling from position 0 on, until told
// to stop.
class RealTimePlayer {
public:
    RealTimePlayer(pluginhost::HostedEffect& effect, const Sound& sound, double tempo)
        : effect_(effect), sound_(sound), tempo_(tempo), thread_([this] { run(); }) {}
    ~RealTimePlayer() {
        stop_ = true;
        thread_.join();
    }

private:
    void run() {
        pluginhost::StereoBuffer input(kBlockFrames);
        pluginhost::StereoBuffer output(kBlockFrames);
        const Clock::time_point started = Clock::now();
        std::int64_t played = 0;
        while (!stop_) {
            for (std::int32_t i = 0; i < kBlockFrames; ++i) {
                const auto from = static_cast<std::size_t>((played + i) % static_cast<std::int64_t>(sound_.frames.frames()));
                input.left[static_cast<std::size_t>(i)] = sound_.frames.left[from];
                input.right[static_cast<std::size_t>(i)] = sound_.frames.right[from];
            }
            pluginhost::BlockTime time;
            time.sampleRate = sound_.sampleRate;
            time.samplePosition = static_cast<double>(played);
            time.position = static_cast<double>(played) / sound_.sampleRate * (tempo_ / 60.0);
            time.tempo = tempo_;
            float* inputs[2] = {input.left.data(), input.right.data()};
            float* outputs[2] = {output.left.data(), output.right.data()};
            effect_.process(time, inputs, outputs, kBlockFrames);
            played += kBlockFrames;
            std::this_thread::sleep_until(started + std::chrono::duration_cast<Clock::duration>(
                                                        std::chrono::duration<double>(played / static_cast<double>(
                                                                                                 sound_.sampleRate))));
        }
    }

    pluginhost::HostedEffect& effect_;
    const Sound& sound_;
    double tempo_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace

void runEdit(const std::string& pluginPath, const EditOptions& options, const Console& console) {
    const Sound sound = soundFor(options);
    EffectSession session(pluginPath);
    pluginhost::HostedEffect& effect = session.effect();
    effect.requireRenderable(2);
    effect.activate(sound.sampleRate, kBlockFrames);
    applySettings(effect, options.settings);

    pluginhost::UiLoop loop;
    const auto window = pluginhost::HostWindow::open(loop, 100, 100, effect.name());
    if (window == nullptr) throw std::runtime_error("no display to open a window on (is DISPLAY set?)");
    const auto size = effect.openEditor(window->native(), loop, options.scale);
    if (!size) throw std::runtime_error(effect.name() + " (" + effect.location() + ") opens no editor here");
    window->resize(size->first, size->second);
    window->showChildren();
    console.say("Editing " + effect.name() + " (" + effect.location() + "), " + std::to_string(size->first) + " x " +
                std::to_string(size->second) + " pixels; close the window to quit.");
    {
        const RealTimePlayer player(effect, sound, options.tempo);
        const Clock::time_point opened = Clock::now();
        const auto shotAt = opened + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.at));
        while (!window->closed() && (options.screenshot.empty() || Clock::now() < shotAt)) {
            loop.runFor(kLoopTurn);
            effect.takeEditorReports();
        }
        if (!options.screenshot.empty()) {
            writeScreenshot(window->capture(), options.screenshot);
            console.say("Screenshot: " + options.screenshot);
        }
    }
    effect.closeEditor();
}

}  // namespace slicecastcli
