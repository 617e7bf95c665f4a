// The picture of one render (`render --plot FILE`, and the demo's): the
// waveforms and the blocks as played are taken in while the render streams
// by, then drawn. It appears at its path only together with the sound.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "beat_marks.h"
#include "effect/parameter_settings.h"
#include "pass_marks.h"
#include "played_block.h"
#include "slicecast_steps.h"
#include "sound_files/atomic_output_file.h"
#include "stereo_blocks.h"
#include "waveform_summary.h"

namespace slicecastcli {

// What the caption tells and what the lines are drawn from.
struct PictureFacts {
    std::string title;
    int sampleRate = 0;
    // Every parameter worth naming, as it stood before the first block.
    std::vector<ParameterValue> parameters;
    // Slicecast's two length parameters before the first block, when the
    // effect is one of Slicecast's editions; otherwise bar lines are drawn.
    struct SlicecastLengths {
        SlicecastSteps steps;
        float waveLength;
        float updatePeriod;
    };
    std::optional<SlicecastLengths> slicecast;
};

// The facts of a render through effect at sampleRate, before its first
// block: the title names the input file; settings are the --set values,
// which the caption lists instead of every parameter for effects with many.
PictureFacts pictureFacts(pluginhost::HostedEffect& effect, const std::string& inputPath, int sampleRate,
                          const std::vector<ParameterValue>& settings);

class RenderPicture {
public:
    // path must end in .png or .svg (see isPlotFile).
    RenderPicture(std::string path, int channels, PictureFacts facts);

    // The next frames as they went into the effect and came out.
    void add(const pluginhost::StereoBuffer& dry, const pluginhost::StereoBuffer& processed);
    // The next processing call as played.
    void play(const pluginhost::PlayedBlock& block);
    // Draws into a temporary file beside the path.
    void draw();
    // Moves it into place.
    void commit();

private:
    // The caption's second line: tempo, sample rate, parameters.
    std::string details() const;

    std::string path_;
    PictureFacts facts_;
    std::vector<picture::WaveformSummary> dry_;
    std::vector<picture::WaveformSummary> processed_;
    std::vector<picture::BeatMark> beats_;
    std::optional<picture::PassTracker> passes_;
    double lowestTempo_ = 0.0;
    double highestTempo_ = 0.0;
    std::size_t blocksPlayed_ = 0;
    // Parameters the host changed after the first block.
    std::set<std::int32_t> automated_;
    std::optional<AtomicOutputFile> file_;
};

}  // namespace slicecastcli
