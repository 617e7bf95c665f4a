// The web edition's C interface is the LV2 edition as the render tool plays
// a file through it: `slicecast render --plugin slicecast.lv2 --block 128
// --tempo T --set ...` (playScript, the Lv2Effect, 128-frame blocks from
// position 0) gives the bits the interface gives for the same input, tempo
// and plain values, with a parameter changed between blocks too; the marks
// it keeps for the page's picture are the render tool's for the same blocks;
// its step texts are the LV2 bundle's scale-point labels; its presets are
// the LV2 bundle's, loaded as a host loads them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "beat_grid.h"
#include "lv2_effect.h"
#include "pass_marks.h"
#include "scripted_playback.h"
#include "slicecast_steps.h"
#include "stereo_blocks.h"
#include "transport.h"
#include "web_interface.h"

namespace {

constexpr std::int32_t kBlock = 128;

struct WebCase {
    const char* name;
    double sampleRate;
    double tempo;
    std::array<float, 6> plain;  // step numbers and percentages
    std::int32_t frames;
};

void PrintTo(const WebCase& c, std::ostream* out) { *out << c.name; }

const std::vector<WebCase> kCases{
    {"DefaultsAt44k", 44100.0, 120.0, {5, 3, 70, 0, 100, 100}, 44100 * 3 + 77},
    {"DecimalsAt48k", 48000.0, 93.5, {7, 4, 33.3f, 25, 80, 60}, 48000 * 3},
    {"FastAt8k", 8000.0, 171.25, {11, 1, 100, 100, 95, 100}, 8000 * 6 + 1},
    {"LongSlicesSlow", 22050.0, 61.0, {0, 0, 12.5f, 0, 90, 50}, 22050 * 9},
};

// Noise under a tone, every sample a normal float: where subnormals arise,
// WebAssembly keeps them and this machine's build flushes them.
pluginhost::StereoBuffer testInput(std::int32_t frames) {
    pluginhost::StereoBuffer input(static_cast<std::size_t>(frames));
    std::uint32_t state = 7;
    for (std::size_t i = 0; i < input.frames(); ++i) {
        state = state * 1664525u + 1013904223u;
        const float noise = static_cast<float>(state) / 4294967296.0f - 0.5f;
        input.left[i] = 0.5f * noise + 0.25f;
        input.right[i] = 0.3f * static_cast<float>(i % 200) / 200.0f - noise;
    }
    return input;
}

struct ToolRender {
    pluginhost::StereoBuffer output;
    std::vector<pluginhost::PlayedBlock> played;
};

// The render tool's way: the LV2 bundle switched on at the file's rate, its
// values set before the first block, played by the scripted transport.
ToolRender renderThroughLv2(const WebCase& c, const pluginhost::StereoBuffer& input,
                            std::vector<pluginhost::ParameterAutomation> automation = {}) {
    pluginhost::Lv2Effect effect(SLICECAST_LV2_BUNDLE);
    effect.activate(c.sampleRate, kBlock);
    pluginhost::PlaybackScript script;
    script.tempo = pluginhost::TempoMap(c.tempo);
    for (std::int32_t index = 0; index < 6; ++index) script.settings.emplace_back(index, c.plain[index]);
    script.automation = std::move(automation);
    pluginhost::Transport transport(c.sampleRate, c.tempo, 0.0);
    ToolRender render;
    render.played = pluginhost::playScript(effect, transport, script, pluginhost::fixedBlocks(kBlock), input,
                                           render.output);
    return render;
}

// The page's way: the C interface, blocks of 128 from position 0; change,
// if given, sets a parameter just before the block it names.
struct Change {
    std::int32_t block = -1;
    std::int32_t index = 0;
    float plain = 0.0f;
};

class WebRender {
public:
    WebRender(const WebCase& c, const pluginhost::StereoBuffer& input, Change change = {})
        : instance_(slicecast_create(c.sampleRate, kBlock)), output_(input.frames()) {
        for (std::int32_t index = 0; index < 6; ++index) slicecast_set_parameter(instance_, index, c.plain[index]);
        slicecast_set_tempo(instance_, c.tempo);
        slicecast_locate(instance_, 0.0);
        slicecast_keep_marks(instance_);
        for (std::size_t start = 0, block = 0; start < input.frames(); start += kBlock, ++block) {
            if (static_cast<std::int32_t>(block) == change.block)
                slicecast_set_parameter(instance_, change.index, change.plain);
            const auto frames = static_cast<std::int32_t>(std::min<std::size_t>(kBlock, input.frames() - start));
            const std::size_t bytes = sizeof(float) * static_cast<std::size_t>(frames);
            std::memcpy(slicecast_buffer(instance_, 0), input.left.data() + start, bytes);
            std::memcpy(slicecast_buffer(instance_, 1), input.right.data() + start, bytes);
            slicecast_process(instance_, frames);
            std::memcpy(output_.left.data() + start, slicecast_buffer(instance_, 2), bytes);
            std::memcpy(output_.right.data() + start, slicecast_buffer(instance_, 3), bytes);
        }
    }
    ~WebRender() { slicecast_free(instance_); }
    WebRender(const WebRender&) = delete;
    WebRender& operator=(const WebRender&) = delete;

    const pluginhost::StereoBuffer& output() const { return output_; }

    std::vector<std::int64_t> marks(std::int32_t kind) const {
        const std::int64_t* first = slicecast_marks(instance_, kind);
        return {first, first + slicecast_mark_count(instance_, kind)};
    }

    std::vector<std::int64_t> beats() const {
        const std::int64_t* first = slicecast_beats(instance_);
        return {first, first + 2 * slicecast_beat_count(instance_)};
    }

private:
    slicecast::SlicecastWeb* instance_;
    pluginhost::StereoBuffer output_;
};

bool sameBits(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b) {
    return a.frames() == b.frames() &&
           std::memcmp(a.left.data(), b.left.data(), sizeof(float) * a.frames()) == 0 &&
           std::memcmp(a.right.data(), b.right.data(), sizeof(float) * a.frames()) == 0;
}

// Where the first frame of block lies, as the render tool's transport puts it.
double positionOfBlock(const WebCase& c, std::int32_t block) {
    pluginhost::Transport transport(c.sampleRate, c.tempo, 0.0);
    transport.advance(static_cast<std::int64_t>(block) * kBlock);
    return transport.position();
}

class WebEdition : public testing::TestWithParam<WebCase> {};

TEST_P(WebEdition, RendersTheLv2EditionsBits) {
    const WebCase& c = GetParam();
    const auto input = testInput(c.frames);
    EXPECT_TRUE(sameBits(WebRender(c, input).output(), renderThroughLv2(c, input).output));
}

TEST_P(WebEdition, ParameterChangedBetweenBlocksIsTheToolsAutomationAtThatBlock) {
    const WebCase& c = GetParam();
    const auto input = testInput(c.frames);
    const std::int32_t block = 41;
    const float wave = c.plain[0] == 9.0f ? 2.0f : 9.0f;
    // Stepped: the earlier point's value holds until the block at or after
    // the second point, which lies between blocks 40 and 41.
    const double between = (positionOfBlock(c, block - 1) + positionOfBlock(c, block)) / 2.0;
    const pluginhost::ParameterAutomation automation{0, true, {{0.0, c.plain[0]}, {between, wave}}};
    const auto changed = renderThroughLv2(c, input, {automation}).output;
    ASSERT_FALSE(sameBits(changed, renderThroughLv2(c, input).output)) << "the change must be heard";
    EXPECT_TRUE(sameBits(WebRender(c, input, {block, 0, wave}).output(), changed));
}

TEST_P(WebEdition, MarksAreTheRenderToolsPictureMarks) {
    const WebCase& c = GetParam();
    const auto input = testInput(c.frames);
    const ToolRender tool = renderThroughLv2(c, input);
    slicecastcli::PassTracker passes(static_cast<float>(c.sampleRate),
                                     slicecastcli::SlicecastSteps(pluginhost::PluginFormat::Lv2), c.plain[0],
                                     c.plain[1]);
    std::vector<slicecastcli::BeatMark> beats;
    for (const pluginhost::PlayedBlock& block : tool.played) {
        slicecastcli::addBeats(block, beats);
        passes.play(block);
    }
    std::vector<std::int64_t> beatPairs;
    for (const slicecastcli::BeatMark& mark : beats) beatPairs.insert(beatPairs.end(), {mark.frame, mark.beat});
    const WebRender web(c, input);
    EXPECT_FALSE(passes.marks().periodStarts.empty());
    EXPECT_EQ(web.marks(0), passes.marks().periodStarts);
    EXPECT_EQ(web.marks(1), passes.marks().passStarts);
    EXPECT_EQ(web.beats(), beatPairs);
}

INSTANTIATE_TEST_SUITE_P(Renders, WebEdition, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<WebCase>& info) { return std::string(info.param.name); });

TEST(WebEditionTexts, StepsShowTheBundlesScalePointLabels) {
    pluginhost::Lv2Effect effect(SLICECAST_LV2_BUNDLE);
    for (std::int32_t index = 0; index < 2; ++index) {
        for (std::int32_t step = 0; step <= static_cast<std::int32_t>(slicecast_parameter_maximum(index)); ++step) {
            effect.setParameter(index, static_cast<float>(step));
            EXPECT_EQ(slicecast_value_text(index, static_cast<float>(step)), effect.parameterDisplay(index))
                << slicecast_parameter_name(index) << " step " << step;
        }
    }
}

TEST(WebEditionPresets, AreTheBundlesPresetsWithTheirValues) {
    pluginhost::Lv2Effect effect(SLICECAST_LV2_BUNDLE);
    const std::vector<std::string> bundle = effect.presetNames();
    ASSERT_EQ(slicecast_preset_count(), static_cast<std::int32_t>(bundle.size()));
    EXPECT_EQ(slicecast_preset_name(slicecast_preset_count()), nullptr);
    for (std::int32_t preset = 0; preset < slicecast_preset_count(); ++preset) {
        const std::string name = slicecast_preset_name(preset);
        const auto found = std::find(bundle.begin(), bundle.end(), name);
        ASSERT_NE(found, bundle.end()) << name;
        effect.loadPreset(static_cast<std::int32_t>(found - bundle.begin()));
        for (std::int32_t index = 0; index < 6; ++index) {
            EXPECT_EQ(static_cast<float>(slicecast_preset_value(preset, index)), effect.parameter(index))
                << name << ", " << slicecast_parameter_name(index);
        }
    }
}

}  // namespace
