// Each edition's editor in the project's own host, as a DAW opens it: inside
// the host's window at the host's scale, worked by the window system's own
// pointer input, run by the host's loop, told of the host's changes, opened
// and closed again and again.
#include <gtest/gtest.h>

#include <dirent.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "clap_effect.h"
#include "editor_layout.h"
#include "host_window.h"
#include "lv2_effect.h"
#include "slicecast_clap_plugin.h"
#include "slicecast_vst3_plugin.h"
#include "ui_loop.h"
#include "virtual_display.h"
#include "vst3_effect.h"

namespace {

using pluginhost::EditorReport;
using pluginhost::HostedEffect;
using namespace slicecast::editor;
using namespace std::chrono_literals;

struct Edition {
    const char* name;
    std::function<std::unique_ptr<HostedEffect>()> load;
};

const Edition kEditions[] = {
    {"CLAP", [] { return std::make_unique<pluginhost::ClapEffect>(testsupport::slicecastClapPath()); }},
    {"VST3", [] { return std::make_unique<pluginhost::Vst3Effect>(testsupport::slicecastVst3Path()); }},
    {"LV2", [] { return std::make_unique<pluginhost::Lv2Effect>(SLICECAST_LV2_BUNDLE); }},
};

// The colour of a chosen step's cell (0x00RRGGBB), as the editor paints it.
constexpr std::uint32_t kChosenCell = 0xE29636;

std::size_t openDescriptors() {
    std::size_t count = 0;
    if (DIR* folder = opendir("/proc/self/fd")) {
        while (readdir(folder) != nullptr) ++count;
        closedir(folder);
    }
    return count;
}

class EditorsInHost : public testing::TestWithParam<Edition> {
protected:
    void SetUp() override { ASSERT_EQ(display_.failure(), ""); }

    // The effect, active, with its editor open in a host window at scale.
    void open(double scale = 0.0) {
        effect_.reset();
        effect_ = GetParam().load();
        effect_->activate(48000.0, 512);
        window_ = pluginhost::HostWindow::open(loop_, 100, 100, "editor test");
        ASSERT_NE(window_, nullptr);
        const auto size = effect_->openEditor(window_->native(), loop_, scale);
        ASSERT_TRUE(size.has_value());
        size_ = *size;
        window_->resize(size_.first, size_.second);
        window_->showChildren();
        settle();
    }

    void settle() { loop_.runFor(120ms); }

    // Blocks of a tone with the transport rolling on from where it stands,
    // as a host plays between its UI's turns.
    void play(int blocks, float level = 0.0f) {
        constexpr std::int32_t kFrames = 256;
        std::vector<float> left(kFrames), right(kFrames), outLeft(kFrames), outRight(kFrames);
        float* inputs[2] = {left.data(), right.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        for (int block = 0; block < blocks; ++block) {
            for (std::int32_t i = 0; i < kFrames; ++i) {
                left[i] = right[i] = level * std::sin(static_cast<float>(frames_ + i) * 0.05f);
            }
            pluginhost::BlockTime time;
            time.sampleRate = 48000.0;
            time.samplePosition = static_cast<double>(frames_);
            time.position = static_cast<double>(frames_) / 48000.0 * 2.0;
            effect_->process(time, inputs, outputs, kFrames);
            frames_ += kFrames;
        }
    }
    void playBlock() { play(1); }

    // How many pixels of the picture area show a colour.
    std::size_t pictureShows(std::uint32_t colour) {
        const pluginhost::Pixels pixels = window_->capture();
        std::size_t count = 0;
        for (std::int32_t y = at(kPictureArea.y); y < at(kPictureArea.y + kPictureArea.height); ++y) {
            for (std::int32_t x = at(kPictureArea.x); x < at(kPictureArea.right()); ++x) {
                count += pixels.rgb.at(static_cast<std::size_t>(y * pixels.width + x)) == colour ? 1 : 0;
            }
        }
        return count;
    }

    double scale() const { return static_cast<double>(size_.first) / kLogicalWidth; }
    std::int32_t at(double logical) const { return static_cast<std::int32_t>(logical * scale()); }

    // Where a step's cell lies, a little inside its top left (clear of its
    // label), in the host window.
    std::uint32_t cellColour(slicecast::ParameterIndex parameter, int step) {
        const ControlLayout& control = kControlLayouts[parameter];
        const double cell = static_cast<double>(control.track.width) / control.steps;
        const pluginhost::Pixels pixels = window_->capture();
        const std::int32_t x = at(control.track.x + step * cell + 4);
        const std::int32_t y = at(control.track.y + 3);
        return pixels.rgb.at(static_cast<std::size_t>(y * pixels.width + x));
    }

    void moveToTrack(slicecast::ParameterIndex parameter, double fraction) {
        const Rect& track = kControlLayouts[parameter].track;
        window_->moveTo(at(track.x + fraction * track.width), at(track.y + track.height / 2.0));
        settle();
    }

    // The effect goes first, closing its editor while the host's window
    // still stands.
    testsupport::VirtualDisplay display_;
    pluginhost::UiLoop loop_;
    std::unique_ptr<pluginhost::HostWindow> window_;
    std::unique_ptr<HostedEffect> effect_;
    std::pair<std::int32_t, std::int32_t> size_;
    std::int64_t frames_ = 0;
};

TEST_P(EditorsInHost, OpensAtTheHostsScaleShowingTheValues) {
    for (const double scale : {0.0, 1.0, 1.5, 2.0}) {
        open(scale);
        const double expected = scale == 0.0 ? 1.0 : scale;
        EXPECT_EQ(size_.first, static_cast<std::int32_t>(kLogicalWidth * expected)) << scale;
        EXPECT_EQ(size_.second, static_cast<std::int32_t>(kLogicalHeight * expected)) << scale;
        EXPECT_EQ(cellColour(slicecast::kWaveLength, 5), kChosenCell) << "the default 1/8, at scale " << scale;
        EXPECT_NE(cellColour(slicecast::kWaveLength, 4), kChosenCell) << scale;
        effect_->closeEditor();
    }
}

TEST_P(EditorsInHost, ADragIsOneGestureTheHostAndTheSoundFollow) {
    open();
    moveToTrack(slicecast::kRate, 0.25);
    window_->press();
    settle();
    moveToTrack(slicecast::kRate, 0.5);
    window_->release();
    settle();
    const std::vector<EditorReport> reports = effect_->takeEditorReports();
    ASSERT_GE(reports.size(), 3u);
    EXPECT_EQ(reports.front(), (EditorReport{EditorReport::Kind::begin, slicecast::kRate, 0.0f}));
    EXPECT_EQ(reports.back(), (EditorReport{EditorReport::Kind::end, slicecast::kRate, 0.0f}));
    const EditorReport& last = reports[reports.size() - 2];
    ASSERT_EQ(last.kind, EditorReport::Kind::value);
    EXPECT_NEAR(last.value, 50.0f, 0.5f);
    EXPECT_EQ(effect_->parameter(slicecast::kRate), last.value) << "the host holds what the hand set";

    // The sound hears the edit as it hears the same value from the host.
    auto reference = GetParam().load();
    reference->activate(48000.0, 512);
    reference->setParameter(slicecast::kRate, last.value);
    std::vector<float> input(512);
    for (std::size_t i = 0; i < input.size(); ++i) input[i] = static_cast<float>(i % 97) / 97.0f - 0.5f;
    std::vector<float> edited(512), expected(512), scratch(512);
    float* inputs[2] = {input.data(), input.data()};
    float* editedOut[2] = {edited.data(), scratch.data()};
    float* expectedOut[2] = {expected.data(), scratch.data()};
    effect_->process({}, inputs, editedOut, 512);
    reference->process({}, inputs, expectedOut, 512);
    EXPECT_EQ(edited, expected);
}

TEST_P(EditorsInHost, ThePictureShowsWhatTheSoundPlays) {
    // The output's columns, strong, appear as the transport rolls and move
    // on with it; stopped, the last page stays.
    constexpr std::uint32_t kOutput = 0xE29636;
    open();
    EXPECT_EQ(pictureShows(kOutput), 0u) << "nothing played yet";
    play(40, 0.8f);
    settle();
    const std::size_t early = pictureShows(kOutput);
    EXPECT_GT(early, 100u);
    play(40, 0.8f);
    settle();
    const std::size_t later = pictureShows(kOutput);
    EXPECT_GT(later, early) << "more of the period drawn";
    settle();
    EXPECT_EQ(pictureShows(kOutput), later) << "the page stays while nothing plays";
}

TEST_P(EditorsInHost, TheHostsChangesMoveTheControls) {
    open();
    effect_->setParameter(slicecast::kWaveLength, 9.0f);
    playBlock();
    settle();
    EXPECT_EQ(cellColour(slicecast::kWaveLength, 9), kChosenCell);
    EXPECT_NE(cellColour(slicecast::kWaveLength, 5), kChosenCell);
    EXPECT_TRUE(effect_->takeEditorReports().empty()) << "the host's own change is not reported back";
}

TEST_P(EditorsInHost, OpensAndClosesAgainAndAgainLeavingNothingBehind) {
    open();
    effect_->closeEditor();
    const std::size_t descriptors = openDescriptors();
    for (int cycle = 0; cycle < 50; ++cycle) {
        ASSERT_TRUE(effect_->openEditor(window_->native(), loop_, 1.0).has_value()) << cycle;
        loop_.runFor(5ms);
        effect_->closeEditor();
    }
    EXPECT_EQ(loop_.timerCount(), 0u);
    EXPECT_EQ(loop_.descriptorCount(), 1u) << "the host window's own";
    EXPECT_EQ(openDescriptors(), descriptors) << "every display connection closed";
}

TEST_P(EditorsInHost, SeveralOpenAtOnceEachWithItsOwnValues) {
    open();
    auto other = GetParam().load();
    other->activate(48000.0, 512);
    auto otherWindow = pluginhost::HostWindow::open(loop_, size_.first, size_.second, "second editor");
    ASSERT_NE(otherWindow, nullptr);
    ASSERT_TRUE(other->openEditor(otherWindow->native(), loop_, 0.0).has_value());
    otherWindow->showChildren();
    // The second window lies on top of the first: the hand works its editor.
    moveToTrack(slicecast::kMix, 0.1);
    window_->press();
    window_->release();
    settle();
    other->takeEditorReports();
    effect_->takeEditorReports();
    EXPECT_NEAR(other->parameter(slicecast::kMix), 10.0f, 0.5f);
    EXPECT_EQ(effect_->parameter(slicecast::kMix), 100.0f) << "the first instance keeps its own value";
    other->closeEditor();
}

TEST_P(EditorsInHost, OutlivesTheHostsWindow) {
    // Some hosts destroy their window, and the editor's with it, before
    // they close the editor; the editor's next drawing finds it gone.
    open();
    window_.reset();
    loop_.runFor(100ms);
    effect_->closeEditor();
    EXPECT_EQ(loop_.timerCount(), 0u);
    EXPECT_EQ(loop_.descriptorCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Editions, EditorsInHost, testing::ValuesIn(kEditions),
                         [](const testing::TestParamInfo<Edition>& info) { return std::string(info.param.name); });

}  // namespace
