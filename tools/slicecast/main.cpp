// slicecast: a command-line host for VST 2.4, LV2, CLAP and VST 3 effects,
// Slicecast by default.
//   slicecast render IN OUT   play a sound file through the effect
//   slicecast render IN... --out-dir DIR   many files at once
//   slicecast info            what a host sees of the effect
//   slicecast demo            a drum loop, dry and through Slicecast
// Errors are one line on standard error; the exit status is 2 for a bad
// command line and 1 for anything that went wrong while running.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <stdexcept>
#include <thread>

#include "commands/batch_render.h"
#include "console/console.h"
#include "commands/demo_command.h"
#include "commands/info_command.h"
#include "sound_files/output_format.h"
#include "picture/plot_drawing.h"
#include "effect/plugin_path.h"
#include "commands/render_command.h"
#include "transport/transport_options.h"
#include "commands/usage_error.h"

namespace {

using namespace slicecastcli;

constexpr int kRunFailed = 1;
constexpr int kBadCommandLine = 2;
// More than any count-in or loop a render would want, and well inside
// what the block and frame counters hold.
constexpr std::int32_t kMaxRepeats = 1 << 20;
constexpr unsigned kMaxJobs = 128;

const CLI::Validator kFiniteNumber(
    [](std::string& text) {
        double value = 0.0;
        return CLI::detail::lexical_cast(text, value) && std::isfinite(value) ? std::string()
                                                                              : "not a finite number: " + text;
    },
    "NUMBER");

// Accepts what parse accepts; its reason otherwise.
template <typename Parse>
CLI::Validator parsedBy(Parse parse, const std::string& form) {
    return CLI::Validator(
        [parse](std::string& text) {
            try {
                parse(text);
                return std::string();
            } catch (const std::invalid_argument& error) {
                return std::string(error.what());
            }
        },
        form);
}

unsigned defaultJobs() { return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxJobs); }

struct CommandLine {
    std::optional<std::string> plugin;
    bool quiet = false;
    // IN OUT, or with an output folder the inputs alone.
    std::vector<std::string> files;
    std::string outputFolder;
    std::string extension;
    unsigned jobs = defaultJobs();
    RenderOptions render;
    // Texts of the transport options, made into render.transport once all
    // are read.
    std::string tempo = "120";
    std::string blocks = "512";
    std::optional<std::string> loop;
    std::int32_t loopCount = 1;
    std::vector<std::string> automation;
    std::string demoFolder = "out/demo";
};

TransportOptions transportOptions(const CommandLine& line) {
    TransportOptions transport = line.render.transport;
    transport.tempo = parseTempo(line.tempo);
    transport.blocks = parseBlockSizes(line.blocks);
    if (line.loop) {
        transport.loop = parseLoop(*line.loop);
        transport.loop->count = line.loopCount;
    }
    for (const std::string& automation : line.automation) transport.automation.push_back(parseAutomation(automation));
    requireConsistent(transport);
    return transport;
}

void addPluginOption(CLI::App& command, CommandLine& line) {
    command.add_option(
        "--plugin", line.plugin,
        "effect to load: a .clap file (CLAP), a .vst3 bundle (VST 3), another LV2 bundle folder or plug-in URI, "
        "or else a VST 2.4 library "
        "(default: the VST 2.4 Slicecast built or installed with this program)");
}

void addQuietOption(CLI::App& command, CommandLine& line) {
    command.add_flag("-q,--quiet", line.quiet, "print nothing but errors");
}

CLI::App* addRender(CLI::App& app, CommandLine& line) {
    RenderOptions& options = line.render;
    CLI::App* render = app.add_subcommand(
        "render",
        "Play a sound file (or, with --out-dir, many) through the effect as a DAW's transport would and write "
        "the result. Any format libsndfile reads is taken; mono input is fed to both inputs of a stereo effect. "
        "The output has one channel per effect output (so a mono file comes out stereo through Slicecast) and "
        "appears only when the render succeeded.");
    render
        ->add_option("files", line.files,
                     "IN OUT: the sound file to play and the one to write (its extension gives the format); "
                     "with --out-dir, the files (or folders of files) to play")
        ->required();
    CLI::Option* outputFolder = render->add_option(
        "--out-dir", line.outputFolder,
        "render every input on its own into this folder (made if missing), under the input's stem");
    render->add_option("--ext", line.extension, "with --out-dir: extension, and so format, of the outputs "
                                                "(default: each input's own)")
        ->needs(outputFolder);
    render->add_option("--jobs", line.jobs, "with --out-dir: files rendered at a time (default: the number of cores)")
        ->needs(outputFolder)
        ->check(CLI::Range(1u, kMaxJobs));
    TransportOptions& transport = options.transport;
    render
        ->add_option("--tempo", line.tempo,
                     "tempo in beats per minute, or a tempo map 120,16:140,32:90 (changes at quarter-note positions, "
                     "each taking effect at the first block that starts at or after it)")
        ->capture_default_str()
        ->check(parsedBy(parseTempo, "TEMPO[,POS:TEMPO...]"));
    render
        ->add_option("--start", transport.start,
                     "musical position of the first frame in quarter notes (may be negative)")
        ->capture_default_str()
        ->check(kFiniteNumber);
    render
        ->add_option("--block", line.blocks,
                     "frames per processing call (the last one may be shorter), or random:MIN-MAX:SEED for seeded "
                     "varying lengths")
        ->capture_default_str()
        ->check(parsedBy(parseBlockSizes, "N|random:MIN-MAX:SEED"));
    CLI::Option* loop =
        render
            ->add_option("--loop", line.loop,
                         "START:END in quarter notes: at END the transport jumps back to START (the input with it), "
                         "--loop-count times; the output holds everything played")
            ->check(parsedBy(parseLoop, "START:END"));
    render->add_option("--loop-count", line.loopCount, "how many times the loop jumps back")
        ->capture_default_str()
        ->check(CLI::Range(1, kMaxRepeats))
        ->needs(loop);
    render
        ->add_option("--count-in", transport.countInBlocks,
                     "blocks played with the transport stopped at the start before it rolls; fed silence, not written")
        ->check(CLI::Range(0, kMaxRepeats));
    render
        ->add_option("--automate", line.automation,
                     "NAME=POS:VALUE,POS:VALUE,..., repeatable: parameter automation at quarter-note positions, values "
                     "as for --set; straight lines between points, steps for stepped parameters; set before the "
                     "block they fall in (for CLAP as events, for VST 3 as change points, at its first frame)")
        ->check(parsedBy(parseAutomation, "NAME=POS:VALUE,..."))
        ->allow_extra_args(false);
    render->add_flag("--no-position", transport.noPosition,
                     "time records with tempo and the playing flag but no valid position, as offline editors give "
                     "(LV2: no time:Position events at all; CLAP: transports without the beats timeline; VST 3: "
                     "process contexts without the project-time-music flag)");
    render->add_option("--blocks-out", options.blocksOut,
                       "CSV file listing every processing call: frames, the time as the format sent it (VST 2.4: "
                       "position, tempo, flags, sample rate; LV2: the time:Position event's keys; CLAP: the "
                       "transport's flags, fixed-point position and tempo; VST 3: the process context's state, "
                       "position, tempo and sample position), parameters set, input and output frame");
    render->add_option("--plot", options.plot,
                       "draw the render into FILE.png or FILE.svg: dry and processed waveform of each channel over "
                       "bars and beats, with lines where Slicecast's update periods (dark) and passes (light) begin");
    render
        ->add_option("--format", options.format,
                     "sample encoding where the output's container has a choice: pcm16, pcm24, pcm32, float, "
                     "double, vorbis, opus, or same (as the input); default: the best it holds (float for WAV, "
                     "AIFF, CAF and W64, 24-bit for FLAC)")
        ->check(CLI::IsMember(encodingNames()));
    render->add_option("--preset", options.preset,
                       "NAME: load one of the effect's presets (any case) the way its format's hosts do (VST 3: a "
                       "program change; CLAP: preset-load; LV2: the preset's state), before any --set; `info` lists "
                       "them");
    render
        ->add_option("--set", options.settings,
                     "NAME=VALUE, repeatable: a parameter by name (any case) or index, set to a number in the "
                     "format's units (VST 2.4: 0 to 1; LV2, CLAP and VST 3: the plain value, for Slicecast steps "
                     "0-11 and 0-4 and percent 0-100) or to a text the effect shows, such as WaveLength=1/16 or "
                     "Rate=70")
        ->allow_extra_args(false);
    addPluginOption(*render, line);
    addQuietOption(*render, line);
    return render;
}

CLI::App* addInfo(CLI::App& app, CommandLine& line) {
    CLI::App* info = app.add_subcommand(
        "info",
        "Show what a host sees of the effect, as its format tells it: identity, channels or ports, parameters.");
    addPluginOption(*info, line);
    return info;
}

CLI::App* addDemo(CLI::App& app, CommandLine& line) {
    CLI::App* demo = app.add_subcommand(
        "demo", "Make a drum loop at 120 BPM in code and write it dry and through Slicecast, to hear what it does.");
    demo->add_option("--out", line.demoFolder, "folder for the two WAV files")->capture_default_str();
    addPluginOption(*demo, line);
    addQuietOption(*demo, line);
    return demo;
}

void fail(const std::string& message) { std::cerr << "slicecast: error: " << message << '\n'; }

// One file, or with an output folder a batch: the exit status.
int runRender(const std::string& plugin, CommandLine& line, const Console& console) {
    if (!line.render.plot.empty() && !isPlotFile(line.render.plot)) {
        throw UsageError("cannot draw " + line.render.plot + ": a picture is written as .png or .svg");
    }
    if (line.outputFolder.empty()) {
        if (line.files.size() != 2) {
            throw UsageError("render takes an input and an output file, or inputs and --out-dir (see --help)");
        }
        line.render.input = line.files[0];
        line.render.output = line.files[1];
        reportRender(line.render, renderFile(plugin, line.render, console), console);
        return 0;
    }
    if (!line.render.blocksOut.empty() || !line.render.plot.empty()) {
        throw UsageError("--blocks-out and --plot tell of one render; leave them out with --out-dir");
    }
    const std::vector<BatchFile> plan = planBatch(line.files, line.outputFolder, line.extension, line.render.format);
    std::error_code error;
    std::filesystem::create_directories(line.outputFolder, error);
    if (error) throw std::runtime_error("cannot make the folder " + line.outputFolder + ": " + error.message());
    const auto started = std::chrono::steady_clock::now();
    const std::vector<BatchFailure> failures = renderBatch(plugin, plan, line.render, line.jobs, console);
    for (const BatchFailure& failure : failures) fail(failure.input + ": " + failure.message);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    char took[32];
    std::snprintf(took, sizeof(took), "%.3f s", seconds);
    console.say("Rendered " + std::to_string(plan.size() - failures.size()) + " of " + std::to_string(plan.size()) +
                " files into " + line.outputFolder + ", took " + took);
    return failures.empty() ? 0 : kRunFailed;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("A command-line host for VST 2.4, LV2, CLAP and VST 3 effects, Slicecast by default.", "slicecast");
    // At most one command; none at all is reported below, in a plainer line
    // than the parser's, and an unknown word is reported as unexpected.
    app.require_subcommand(0, 1);
    CommandLine line;
    const CLI::App* render = addRender(app, line);
    const CLI::App* info = addInfo(app, line);
    const CLI::App* demo = addDemo(app, line);
    try {
        app.parse(argc, argv);
        if (render->parsed()) line.render.transport = transportOptions(line);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(error);
        fail(error.what());
        return kBadCommandLine;
    } catch (const std::invalid_argument& error) {
        fail(error.what());
        return kBadCommandLine;
    }
    if (app.get_subcommands().empty()) {
        fail("give a command: render, info or demo (see --help)");
        return kBadCommandLine;
    }
    try {
        const Console console(line.quiet);
        const std::string plugin = pluginPath(line.plugin);
        if (render->parsed()) return runRender(plugin, line, console);
        if (info->parsed()) runInfo(plugin);
        if (demo->parsed()) runDemo(plugin, line.demoFolder, console);
    } catch (const UsageError& error) {
        fail(error.what());
        return kBadCommandLine;
    } catch (const std::bad_alloc&) {
        fail("out of memory");
        return kRunFailed;
    } catch (const std::exception& error) {
        fail(error.what());
        return kRunFailed;
    }
    return 0;
}
