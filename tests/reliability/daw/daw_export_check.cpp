// The two ends of the real-host stages (Ardour, Audacity): `generate`
// writes the stereo input that the host plays (as two mono float files, the
// way Ardour keeps recorded audio, or one stereo file to import), and
// `check` compares the host's export with what the effect must make of that
// input at the session's tempo, in blocks of the host's size.
//
// What Ardour does that the check allows for: every block comes with a
// time record that has position and tempo flagged valid, the position
// rounded to 1/1920 of a quarter note; and before an export rolls, it
// sends seconds of stopped blocks at the start position. Those leave the
// effect muted (its capture ran past the update period without a
// boundary), so up to the first boundary the export must be the dry part of
// the mix alone; from that boundary on the history is forgotten and the
// export must equal the effect driven directly with the DAW's transport.
//
// An offline editor (--no-position, Audacity) flags only the tempo and
// the playing transport, never a position, and sends nothing before the
// selection: the export must equal the effect driven with such records
// from the first frame on.
#include <CLI/CLI.hpp>

#include <array>
#include <cmath>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "reliability_support.h"
#include "scripted_time_host.h"
#include "slicecast_plugin.h"
#include "sound_files.h"

namespace {

// Ardour keeps each recorded channel in a mono float file.
void writeMono(const std::string& path, const std::vector<float>& samples, int rate) {
    testsupport::writeSound(path, testsupport::Sound{rate, 0, {samples}});
}

struct InputFiles {
    std::string left, right;  // two mono files
    std::string stereo;       // or one stereo file
};

testsupport::Sound readSound(const std::string& path, std::size_t expectedChannels) {
    testsupport::Sound sound = testsupport::readSound(path);
    if (sound.channels.size() != expectedChannels) {
        throw std::runtime_error(path + " has " + std::to_string(sound.channels.size()) + " channels");
    }
    return sound;
}

// Noise on the left, a sawtooth on the right: a repeat of the wrong slice
// or a wrong gain shows at once in either.
int generate(const InputFiles& files, int rate, double seconds) {
    const auto frames = static_cast<std::size_t>(rate * seconds);
    auto input = testsupport::noise(frames, 77);
    for (std::size_t i = 0; i < frames; ++i) {
        input.left[i] *= 0.5f;
        input.right[i] = static_cast<float>(i % 331) / 331.0f - 0.5f;
    }
    if (!files.stereo.empty()) {
        testsupport::writeSound(files.stereo, testsupport::stereoSound(input, rate));
    } else {
        writeMono(files.left, input.left, rate);
        writeMono(files.right, input.right, rate);
    }
    return 0;
}

pluginhost::StereoBuffer readInput(const InputFiles& files) {
    if (!files.stereo.empty()) return testsupport::stereoBuffer(readSound(files.stereo, 2));
    pluginhost::StereoBuffer input;
    input.left = readSound(files.left, 1).channels[0];
    input.right = readSound(files.right, 1).channels[0];
    return input;
}

struct Session {
    double rate;
    double tempo;
    std::int32_t block;
    std::vector<float> parameters;
    bool positions = true;  // false: the host never flags a position
};

// The effect driven the way the host drives it while rolling from 0.
pluginhost::StereoBuffer renderLikeTheHost(const Session& session, const pluginhost::StereoBuffer& input) {
    testsupport::ScriptedTimeHost host;
    VstTimeInfo record{};
    record.sampleRate = session.rate;
    record.tempo = session.tempo;
    record.flags = kVstTempoValid | kVstTransportPlaying | (session.positions ? kVstPpqPosValid : 0);
    host.answerWith(&record);
    reliability::Preset preset{};
    std::copy(session.parameters.begin(), session.parameters.end(), preset.begin());
    auto instance = reliability::openInstance(host, static_cast<float>(session.rate), preset, session.block);
    pluginhost::StereoBuffer output;
    pluginhost::Transport unused;
    vst2host::renderInBlocks(*instance, unused, input, output, pluginhost::fixedBlocks(session.block),
                            [&](std::int64_t frame) {
                                const double quarters = static_cast<double>(frame) * (session.tempo / 60.0) / session.rate;
                                record.ppqPos = std::nearbyint(quarters * 1920.0) / 1920.0;
                            });
    return output;
}

std::size_t firstBoundaryFrame(const Session& session) {
    const auto periodIndex = static_cast<std::size_t>(session.parameters[1] * 4.0f);
    const double scale = std::array<double, 5>{0.25, 0.5, 1.0, 2.0, 4.0}[periodIndex];
    return static_cast<std::size_t>(std::ceil(4.0 / scale * 60.0 / session.tempo * session.rate));
}

int check(const Session& session, const InputFiles& files, const std::string& exported) {
    const pluginhost::StereoBuffer input = readInput(files);
    const testsupport::Sound exportedSound = readSound(exported, 2);
    const pluginhost::StereoBuffer daw = testsupport::stereoBuffer(exportedSound);
    if (exportedSound.sampleRate != session.rate) {
        throw std::runtime_error("the export's rate is " + std::to_string(exportedSound.sampleRate));
    }
    if (daw.frames() != input.frames()) {
        std::printf("export has %zu frames, the input %zu\n", daw.frames(), input.frames());
        return 1;
    }

    const pluginhost::StereoBuffer expected = renderLikeTheHost(session, input);
    const std::size_t boundary = session.positions ? firstBoundaryFrame(session) : 0;
    const float mix = session.parameters[5];
    std::size_t mismatches = 0;
    for (std::size_t i = 0; i < daw.frames(); ++i) {
        const bool muted = i < boundary;
        const float wantLeft = muted ? (1.0f - mix) * input.left[i] + mix * 0.0f : expected.left[i];
        const float wantRight = muted ? (1.0f - mix) * input.right[i] + mix * 0.0f : expected.right[i];
        if (daw.left[i] != wantLeft || daw.right[i] != wantRight) {
            if (mismatches++ < 10) {
                std::printf("frame %zu: export (%.9g, %.9g), expected (%.9g, %.9g)%s\n", i, daw.left[i], daw.right[i],
                            wantLeft, wantRight, muted ? " before the first boundary" : "");
            }
        }
    }
    std::printf("%zu frames compared (first boundary at %zu), %zu differ\n", daw.frames(), boundary, mismatches);
    return mismatches == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Generates the input of a real-host stage and checks the host's export"};
    app.require_subcommand(1);
    InputFiles files;
    std::string exported;
    int rate = 48000;
    double seconds = 4.0;
    // Either two mono files or one stereo file.
    const auto addInputOptions = [&files](CLI::App* command) {
        auto* left = command->add_option("--left", files.left, "left channel, a mono file");
        auto* right = command->add_option("--right", files.right, "right channel, a mono file");
        auto* stereo = command->add_option("--stereo", files.stereo, "both channels, one stereo file");
        left->needs(right)->excludes(stereo);
        right->needs(left)->excludes(stereo);
    };
    auto* generateCommand = app.add_subcommand("generate", "write the input as float WAV");
    addInputOptions(generateCommand);
    generateCommand->add_option("--rate", rate);
    generateCommand->add_option("--seconds", seconds);

    Session session{48000.0, 120.0, 1024, {}};
    bool noPosition = false;
    auto* checkCommand = app.add_subcommand("check", "compare the host's export with the effect");
    addInputOptions(checkCommand);
    checkCommand->add_option("--export", exported)->required();
    checkCommand->add_flag("--no-position", noPosition, "the host flags tempo and playing, never a position");
    checkCommand->add_option("--rate", session.rate);
    checkCommand->add_option("--tempo", session.tempo);
    checkCommand->add_option("--block", session.block);
    checkCommand->add_option("--parameters", session.parameters)->expected(6)->required();
    CLI11_PARSE(app, argc, argv);
    session.positions = !noPosition;
    if (files.left.empty() && files.stereo.empty()) {
        std::fprintf(stderr, "daw_export_check: give --left and --right, or --stereo\n");
        return 2;
    }

    try {
        if (*generateCommand) return generate(files, rate, seconds);
        return check(session, files, exported);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "daw_export_check: %s\n", error.what());
        return 2;
    }
}
