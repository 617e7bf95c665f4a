// The two editions are one sound: every platform scenario (blocks of 1, 17,
// 512 and random lengths, jumps, a loop, tempo changes, blocks without a
// position or a tempo, a stopped transport, parameter changes) played
// through the LV2 bundle as a host loads it, with the DAW's transport sent
// as time:Position events, gives the VST 2.4 edition's bits. So do events
// inside a block, against VST 2.4 blocks cut at the same frames.
#include <gtest/gtest.h>

#include "lv2_edition.h"
#include "lv2_scenario_effect.h"
#include "render_scenarios.h"
#include "slicecast_plugin.h"

namespace {

using lv2tests::Block;
using lv2tests::VstBlock;

}  // namespace

namespace platforms {
void PrintTo(const Scenario& scenario, std::ostream* out) { *out << scenario.name; }
}  // namespace platforms

namespace {

class EditionPair : public testing::TestWithParam<platforms::Scenario> {};

TEST_P(EditionPair, LiveHostScenarioGivesTheSameBits) {
    const platforms::Scenario& scenario = GetParam();
    const auto vst = platforms::renderScenario(scenario, testsupport::slicecastEntry());
    lv2host::Lv2Instance instance(lv2tests::slicecastLv2(), scenario.sampleRate);
    platforms::Lv2ScenarioEffect<lv2host::Lv2Instance> effect(instance);
    const auto lv2 = platforms::renderScenario(scenario, effect);
    EXPECT_EQ(lv2tests::firstDifference(vst, lv2), -1) << scenario.name;
}

INSTANTIATE_TEST_SUITE_P(RenderScenarios, EditionPair, testing::ValuesIn(platforms::renderScenarios()),
                         [](const testing::TestParamInfo<platforms::Scenario>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

// One LV2 block with events inside it, and the VST 2.4 blocks cut where the
// events are, each with the position and tempo its event gives (none: the
// event says nothing of the position, and both editions count on).
struct InBlockCase {
    const char* name;
    std::uint32_t blockFrames;
    struct Cut {
        std::int32_t at;
        std::optional<double> position;
        double tempo;
    };
    std::vector<Cut> cuts;
};

void PrintTo(const InBlockCase& c, std::ostream* out) { *out << c.name; }

class EventsInsideABlock : public testing::TestWithParam<InBlockCase> {};

TEST_P(EventsInsideABlock, EqualVstBlocksCutAtTheSameFrames) {
    const InBlockCase& c = GetParam();
    const std::uint32_t blocks = 6;
    const auto input = testsupport::noise(c.blockFrames * blocks, 14);

    std::vector<Block> lv2Blocks;
    std::vector<VstBlock> vstBlocks;
    for (std::uint32_t block = 0; block < blocks; ++block) {
        Block lv2Block{c.blockFrames, {}};
        for (std::size_t i = 0; i < c.cuts.size(); ++i) {
            const auto& cut = c.cuts[i];
            lv2host::TimePosition event;
            event.offset = cut.at;
            // Each block repeats the cuts a bar later.
            if (cut.position) event.beat = lv2host::TimeValue::ofDouble(*cut.position + 4.0 * block);
            event.beatsPerMinute = lv2host::TimeValue::ofDouble(cut.tempo);
            lv2Block.events.push_back(event);
            const std::int32_t end = i + 1 < c.cuts.size() ? c.cuts[i + 1].at : static_cast<std::int32_t>(c.blockFrames);
            std::optional<double> position;
            if (cut.position) position = *cut.position + 4.0 * block;
            if (end > cut.at) vstBlocks.push_back({end - cut.at, position, cut.tempo});
        }
        lv2Blocks.push_back(lv2Block);
    }
    lv2host::Lv2Instance instance(lv2tests::slicecastLv2(), lv2tests::kSampleRate);
    // Short slices and periods, so that every cut lands in a busy stretch.
    lv2tests::VstReference vst;
    for (const auto& [index, value] : {std::pair{0, 9.0f / 11.0f}, std::pair{1, 1.0f}, std::pair{3, 0.25f}}) {
        vst.setParameter(index, value);
        instance.setControl(platforms::kFirstParameterPort + index, platforms::plainValueOf(index, value));
    }
    EXPECT_EQ(lv2tests::firstDifference(vst.render(input, vstBlocks), lv2tests::renderLv2(instance, input, lv2Blocks)),
              -1);
}

const InBlockCase inBlockCases[] = {
    {"OneJumpMidBlock", 4096, {{0, 0.0, 120.0}, {1500, 9.25, 120.0}}},
    {"TempoChangeMidBlock", 4096, {{0, 0.0, 120.0}, {2048, std::nullopt, 171.5}}},
    {"EventsOnConsecutiveFrames", 1023, {{0, 1.0, 97.0}, {1, 3.5, 97.0}, {2, std::nullopt, 140.0}, {3, 0.25, 140.0}}},
    {"LastFrameOfTheBlock", 777, {{0, 2.0, 133.0}, {776, 0.5, 133.0}}},
    {"LoopBackInsideTheBlock", 8192, {{0, 6.0, 125.0}, {3000, 2.0, 125.0}, {6000, 2.0, 125.0}}},
    {"FirstEventLate", 2000, {{0, std::nullopt, 120.0}, {999, 11.0, 120.0}}},
};

INSTANTIATE_TEST_SUITE_P(Cuts, EventsInsideABlock, testing::ValuesIn(inBlockCases),
                         [](const testing::TestParamInfo<InBlockCase>& info) { return std::string(info.param.name); });

}  // namespace
