// The two ends of the DAW stage: `generate` writes the stereo input that
// the session's region plays (as two mono float files, the way the DAW
// keeps recorded audio), and `check` compares the DAW's export with what
// the effect must make of that input at the session's tempo.
//
// What the DAW does that the check allows for: every block comes with a
// time record that has position and tempo flagged valid, the position
// rounded to 1/1920 of a quarter note, all blocks of the engine's size;
// and before an export rolls, the DAW sends seconds of stopped blocks at
// the start position. Those leave the effect muted (its capture ran past
// the update period without a boundary), so up to the first boundary the
// export must be the dry part of the mix alone; from that boundary on the
// history is forgotten and the export must equal the effect driven
// directly with the DAW's transport.
#include <CLI/CLI.hpp>
#include <sndfile.h>

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

namespace {

std::vector<float> readMono(const std::string& path, int expectedChannels, int channel, double& rate) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) throw std::runtime_error("cannot read " + path + ": " + sf_strerror(nullptr));
    if (info.channels != expectedChannels) {
        sf_close(file);
        throw std::runtime_error(path + " has " + std::to_string(info.channels) + " channels");
    }
    std::vector<float> interleaved(static_cast<std::size_t>(info.frames) * info.channels);
    sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    rate = info.samplerate;
    std::vector<float> samples(static_cast<std::size_t>(info.frames));
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = interleaved[i * info.channels + channel];
    return samples;
}

void writeMono(const std::string& path, const std::vector<float>& samples, int rate) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) throw std::runtime_error("cannot write " + path + ": " + sf_strerror(nullptr));
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
}

// Noise on the left, a sawtooth on the right: a repeat of the wrong slice
// or a wrong gain shows at once in either.
int generate(const std::string& left, const std::string& right, int rate, double seconds) {
    const auto frames = static_cast<std::size_t>(rate * seconds);
    auto input = testsupport::noise(frames, 77);
    for (std::size_t i = 0; i < frames; ++i) {
        input.left[i] *= 0.5f;
        input.right[i] = static_cast<float>(i % 331) / 331.0f - 0.5f;
    }
    writeMono(left, input.left, rate);
    writeMono(right, input.right, rate);
    return 0;
}

struct Session {
    double rate;
    double tempo;
    std::int32_t block;
    std::vector<float> parameters;
};

// The effect driven the way the DAW drives it while rolling from 0.
vsthost::StereoBuffer renderLikeTheDaw(const Session& session, const vsthost::StereoBuffer& input) {
    testsupport::ScriptedTimeHost host;
    VstTimeInfo record{};
    record.sampleRate = session.rate;
    record.tempo = session.tempo;
    record.flags = kVstPpqPosValid | kVstTempoValid | kVstTransportPlaying;
    host.answerWith(&record);
    reliability::Preset preset{};
    std::copy(session.parameters.begin(), session.parameters.end(), preset.begin());
    auto instance = reliability::openInstance(host, static_cast<float>(session.rate), preset, session.block);
    vsthost::StereoBuffer output;
    vsthost::Transport unused;
    vsthost::renderInBlocks(*instance, unused, input, output, vsthost::fixedBlocks(session.block),
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

int check(const Session& session, const std::string& left, const std::string& right, const std::string& exported) {
    double rate = 0.0;
    vsthost::StereoBuffer input;
    input.left = readMono(left, 1, 0, rate);
    input.right = readMono(right, 1, 0, rate);
    vsthost::StereoBuffer daw;
    daw.left = readMono(exported, 2, 0, rate);
    daw.right = readMono(exported, 2, 1, rate);
    if (rate != session.rate) throw std::runtime_error("the export's rate is " + std::to_string(rate));
    if (daw.frames() != input.frames()) {
        std::printf("export has %zu frames, the region %zu\n", daw.frames(), input.frames());
        return 1;
    }

    const vsthost::StereoBuffer expected = renderLikeTheDaw(session, input);
    const std::size_t boundary = firstBoundaryFrame(session);
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
    CLI::App app{"Generates the DAW stage's input and checks its export"};
    app.require_subcommand(1);
    std::string left, right, exported;
    int rate = 48000;
    double seconds = 4.0;
    auto* generateCommand = app.add_subcommand("generate", "write the input as two mono float files");
    generateCommand->add_option("--left", left)->required();
    generateCommand->add_option("--right", right)->required();
    generateCommand->add_option("--rate", rate);
    generateCommand->add_option("--seconds", seconds);

    Session session{48000.0, 120.0, 1024, {}};
    auto* checkCommand = app.add_subcommand("check", "compare the DAW's export with the effect");
    checkCommand->add_option("--left", left)->required();
    checkCommand->add_option("--right", right)->required();
    checkCommand->add_option("--export", exported)->required();
    checkCommand->add_option("--rate", session.rate);
    checkCommand->add_option("--tempo", session.tempo);
    checkCommand->add_option("--block", session.block);
    checkCommand->add_option("--parameters", session.parameters)->expected(6)->required();
    CLI11_PARSE(app, argc, argv);

    try {
        if (*generateCommand) return generate(left, right, rate, seconds);
        return check(session, left, right, exported);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "ardour_export_check: %s\n", error.what());
        return 2;
    }
}
