// `render --plot`: the picture has its size, the waveforms where the sound
// is, and Slicecast's period and pass lines (or, for another effect, the
// bar lines) where the transport as played puts them: read back pixel by
// pixel from the PNG the tool wrote.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <tuple>

#include "formats/editions.h"
#include "picture.h"
#include "plot_layout.h"
#include "slicecast_plugin.h"
#include "sound_files.h"
#include "tool_process.h"

namespace tooltest {

namespace plot = picture::plot;
using testsupport::stereoSound;
using testsupport::writeSound;

namespace {

constexpr int kSampleRate = 48000;
// At 120 BPM a bar is 96000 frames; the input is four of them.
constexpr std::int64_t kBar = 96000;
constexpr std::int64_t kFrames = 4 * kBar;
constexpr float kBurst = 0.5f;

// Silence, but for the first beat of the second bar: a square wave that
// reaches +-kBurst.
pluginhost::StereoBuffer burstInBarTwo() {
    pluginhost::StereoBuffer sound(kFrames);
    for (std::int64_t frame = kBar; frame < kBar + kBar / 4; ++frame) {
        const float sample = frame % 2 == 0 ? kBurst : -kBurst;
        sound.left[static_cast<std::size_t>(frame)] = sample;
        sound.right[static_cast<std::size_t>(frame)] = sample;
    }
    return sound;
}

// Columns whose pixel just inside the panel's top has the colour; the
// waveforms of these tests never reach that high.
std::vector<int> linesIn(const Picture& image, plot::Rows rows, picture::Colour colour) {
    std::vector<int> columns;
    for (int x = plot::kLeft; x < plot::kRight; ++x) {
        if (image.is(x, rows.top + 1, colour)) columns.push_back(x);
    }
    return columns;
}

std::vector<int> columnsOf(const std::vector<std::int64_t>& frames, std::int64_t total) {
    std::vector<int> columns;
    for (std::int64_t frame : frames) columns.push_back(plot::columnOf(frame, total));
    return columns;
}

// Every frame from first on, step apart, before end.
std::vector<std::int64_t> every(std::int64_t first, std::int64_t step, std::int64_t end) {
    std::vector<std::int64_t> frames;
    for (std::int64_t frame = first; frame < end; frame += step) frames.push_back(frame);
    return frames;
}

std::vector<std::int64_t> joined(std::initializer_list<std::vector<std::int64_t>> parts) {
    std::vector<std::int64_t> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    std::sort(all.begin(), all.end());
    return all;
}

// Pass starts are where the slice's multiples fall, but for the period
// starts among them, which begin a live pass.
std::vector<std::int64_t> except(std::vector<std::int64_t> frames, const std::vector<std::int64_t>& removed) {
    std::erase_if(frames, [&removed](std::int64_t frame) {
        return std::find(removed.begin(), removed.end(), frame) != removed.end();
    });
    return frames;
}

struct LinesCase {
    const char* name;
    std::vector<std::string> options;
    std::int64_t outputFrames;
    // Output frames where lines are expected: Slicecast's periods and
    // passes, or for another effect the bars (as periods, passes empty).
    std::vector<std::int64_t> periods;
    std::vector<std::int64_t> passes;
    bool slicecast = true;
};

void PrintTo(const LinesCase& test, std::ostream* out) { *out << test.name; }

class PlotLines : public testing::TestWithParam<LinesCase> {};

// Renders with the options and checks the lines against the case.
void expectLines(const LinesCase& test, const std::vector<std::string>& moreOptions) {
    const ScratchFolder folder;
    writeSound(folder.file("in.wav"), stereoSound(burstInBarTwo(), kSampleRate));
    std::vector<std::string> args{"render", folder.file("in.wav"), folder.file("out.wav"), "--plot",
                                  folder.file("out.png"), "--quiet", "--block", "500"};
    args.insert(args.end(), test.options.begin(), test.options.end());
    args.insert(args.end(), moreOptions.begin(), moreOptions.end());
    const ToolRun run = runTool(args);
    ASSERT_EQ(run.status, 0) << run.err;

    const Picture image(folder.file("out.png"));
    EXPECT_EQ(image.width(), plot::kWidth);
    EXPECT_EQ(image.height(), plot::kHeight);
    const picture::Colour dark = test.slicecast ? plot::kPeriodLine : plot::kBarLine;
    for (int panel : {0, 1, 2, 3}) {
        const plot::Rows rows = plot::panelRows(panel, 4);
        EXPECT_EQ(linesIn(image, rows, dark), columnsOf(test.periods, test.outputFrames)) << "panel " << panel;
        EXPECT_EQ(linesIn(image, rows, plot::kPassLine), columnsOf(test.passes, test.outputFrames))
            << "panel " << panel;
    }
    if (!test.slicecast) {
        EXPECT_TRUE(linesIn(image, plot::panelRows(0, 4), plot::kPeriodLine).empty());
    }
}

TEST_P(PlotLines, WhereTheTransportPutThem) { expectLines(GetParam(), {}); }

const std::vector<std::string> kQuarterSlicesEveryBar{"--set", "WaveLength=1/4", "--set", "UpdatePeriod=1/1"};

std::vector<std::string> with(std::vector<std::string> options) {
    options.insert(options.begin(), kQuarterSlicesEveryBar.begin(), kQuarterSlicesEveryBar.end());
    return options;
}

// Passes start a quarter of a bar apart, periods every bar; at 240 BPM a
// bar is half as many frames. A count-in of 2000 frames, stopped at
// position 0, starts the first capture before the output does: its passes
// come 2000 frames early, no period line marks frame 0, and the period runs
// out 2000 frames before bar two, muting the pass that would start there. Automation switches to half-bar periods at
// bar 3. The loop jumps from position 8 back to 4: within the same update
// period, so no capture starts there and the period runs out, muting
// everything (passes too) until the boundary at position 8 comes again.
const std::vector<std::int64_t> kTempoMapPeriods = joined({{0}, every(kBar, kBar / 2, kFrames)});
const std::vector<std::int64_t> kAutomatedPeriods = joined({{0, kBar}, every(2 * kBar, kBar / 2, kFrames)});
const std::vector<std::int64_t> kLoopPeriods{0, kBar, 3 * kBar, 4 * kBar};
constexpr std::int64_t kCountIn = 4 * 500;

const std::vector<LinesCase> kLinesCases{
        LinesCase{"SteadyTempo", with({"--tempo", "120"}), kFrames, every(0, kBar, kFrames),
                  except(every(0, kBar / 4, kFrames), every(0, kBar, kFrames))},
        // The effect keeps its own time when the host gives no position.
        LinesCase{"NoPosition", with({"--no-position"}), kFrames, every(0, kBar, kFrames),
                  except(every(0, kBar / 4, kFrames), every(0, kBar, kFrames))},
        LinesCase{"TempoMap", with({"--tempo", "120,4:240"}), kFrames, kTempoMapPeriods,
                  except(joined({every(0, kBar / 4, kBar), every(kBar, kBar / 8, kFrames)}), kTempoMapPeriods)},
        LinesCase{"Automation", with({"--automate", "UpdatePeriod=0:1/1,8:1/2"}), kFrames, kAutomatedPeriods,
                  except(every(0, kBar / 4, kFrames), kAutomatedPeriods)},
        LinesCase{"Loop", with({"--loop", "4:8", "--loop-count", "1"}), 5 * kBar, kLoopPeriods,
                  except(joined({every(0, kBar / 4, 2 * kBar), every(3 * kBar, kBar / 4, 5 * kBar)}), kLoopPeriods)},
        LinesCase{"CountIn", with({"--count-in", "4"}), kFrames, every(kBar, kBar, kFrames),
                  joined({every(kBar / 4 - kCountIn, kBar / 4, kBar - kCountIn), except(every(kBar, kBar / 4, kFrames),
                                                                             every(kBar, kBar, kFrames))})},
        LinesCase{"OtherEffectBarsOnly", {"--plugin", FIXTURE_PROBE_PATH}, kFrames, every(0, kBar, kFrames), {},
                  false}};

INSTANTIATE_TEST_SUITE_P(Cases, PlotLines, testing::ValuesIn(kLinesCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Slicecast's other editions get their lines where the VST 2.4 one does:
// the picture knows each of them and reads their plain step values.
class EditionPlotLines : public testing::TestWithParam<std::tuple<LinesCase, Edition>> {};

TEST_P(EditionPlotLines, WhereTheVstEditionHasThem) {
    const auto& [test, edition] = GetParam();
    expectLines(test, {"--plugin", edition.plugin});
}

std::vector<LinesCase> slicecastLinesCases() {
    std::vector<LinesCase> cases;
    std::copy_if(kLinesCases.begin(), kLinesCases.end(), std::back_inserter(cases),
                 [](const LinesCase& test) { return test.slicecast; });
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, EditionPlotLines,
                         testing::Combine(testing::ValuesIn(slicecastLinesCases()), testing::ValuesIn(kOtherEditions)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace tooltest

namespace tooltest {
namespace {

// Rows where a waveform of a channel shows a sample between a fraction
// lowest and highest of full scale (positive side).
bool reaches(const Picture& image, int x, plot::Rows rows, float lowest, float highest, picture::Colour colour) {
    const double middle = (rows.top + rows.bottom) / 2.0;
    const double half = (rows.bottom - rows.top) / 2.0;
    return image.columnHas(x, static_cast<int>(middle - highest * half), static_cast<int>(middle - lowest * half),
                           colour);
}

// The dry panel shows the burst where it is in the input; the processed
// panel shows it where Slicecast plays it: live, then repeated at full
// level over the rest of bar two (Rate and DecayRate 100 %), and nowhere
// else.
TEST(Plot, WaveformsWhereTheSoundIs) {
    const ScratchFolder folder;
    writeSound(folder.file("in.wav"), stereoSound(burstInBarTwo(), kSampleRate));
    const ToolRun run = runTool({"render", folder.file("in.wav"), folder.file("out.wav"), "--plot",
                                 folder.file("out.png"), "--quiet", "--set", "WaveLength=1/4", "--set",
                                 "UpdatePeriod=1/1", "--set", "Rate=100", "--set", "DecayRate=100"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Picture image(folder.file("out.png"));
    for (int channel : {0, 1}) {
        const plot::Rows dry = plot::panelRows(2 * channel, 4);
        const plot::Rows processed = plot::panelRows(2 * channel + 1, 4);
        for (std::int64_t frame = 1000; frame < kFrames; frame += 4000) {
            const int x = plot::columnOf(frame, kFrames);
            const bool burst = frame >= kBar && frame < kBar + kBar / 4;
            const bool repeats = frame >= kBar && frame < 2 * kBar;
            EXPECT_EQ(reaches(image, x, dry, 0.4f, 0.6f, plot::kDryWave), burst) << "frame " << frame;
            EXPECT_EQ(reaches(image, x, processed, 0.4f, 0.6f, plot::kProcessedWave), repeats) << "frame " << frame;
        }
    }
}

// A click of one sample in a long file still shows in its column: the
// picture keeps every stretch's extremes, it does not pick samples.
TEST(Plot, OneSampleInALongFileShows) {
    constexpr std::int64_t kLong = 1500007;
    constexpr std::int64_t kClick = 1234567;
    pluginhost::StereoBuffer sound(static_cast<std::size_t>(kLong));
    sound.left[kClick] = 0.9f;
    const ScratchFolder folder;
    writeSound(folder.file("in.wav"), stereoSound(sound, kSampleRate));
    const ToolRun run = runTool({"render", folder.file("in.wav"), folder.file("out.wav"), "--plot",
                                 folder.file("out.png"), "--quiet", "--set", "Mix=0"});
    ASSERT_EQ(run.status, 0) << run.err;
    const Picture image(folder.file("out.png"));
    const int click = plot::columnOf(kClick, kLong);
    for (int panel : {0, 1}) {
        const plot::Rows rows = plot::panelRows(panel, 4);
        const picture::Colour wave = panel == 0 ? plot::kDryWave : plot::kProcessedWave;
        for (int x = click - 2; x <= click + 2; ++x) {
            EXPECT_EQ(reaches(image, x, rows, 0.85f, 0.95f, wave), x == click) << "panel " << panel << " x " << x;
        }
    }
    EXPECT_FALSE(reaches(image, click, plot::panelRows(2, 4), 0.1f, 0.95f, plot::kDryWave));
}

TEST(Plot, SvgByItsExtension) {
    const ScratchFolder folder;
    writeSound(folder.file("in.wav"), stereoSound(testsupport::noise(10000), kSampleRate));
    const ToolRun run = runTool({"render", folder.file("in.wav"), folder.file("out.wav"), "--plot",
                                 folder.file("out.svg"), "--quiet"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string svg = fileContents(folder.file("out.svg"));
    EXPECT_THAT(svg, testing::StartsWith("<?xml"));
    EXPECT_THAT(svg, testing::HasSubstr("<svg"));
    EXPECT_THAT(svg, testing::HasSubstr("width=\"1600\""));
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"in.wav", "out.svg", "out.wav"}));
}

}  // namespace
}  // namespace tooltest
