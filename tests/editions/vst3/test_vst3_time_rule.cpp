// VST 3's time in the sound's terms: the position only with its flag, the
// tempo only with its own, and nothing else in the context heard.
#include <gtest/gtest.h>

#include "vst3_block_transport.h"

namespace {

using slicecast::BlockTransport;
using slicecast::transportOf;

TEST(Vst3TimeRule, PositionAndTempoCountOnlyWithTheirFlags) {
    const struct {
        const char* name;
        vst3::uint32 state;
        bool positionKnown;
        bool tempoKnown;
    } rows[] = {
        {"both", vst3::kProjectTimeMusicValid | vst3::kTempoValid, true, true},
        {"the position alone", vst3::kProjectTimeMusicValid, true, false},
        {"the tempo alone", vst3::kTempoValid, false, true},
        {"neither", 0, false, false},
        {"bars, loop, signature and a playing transport",
         vst3::kBarPositionValid | vst3::kCycleValid | vst3::kTimeSigValid | vst3::kPlaying | vst3::kCycleActive, false,
         false},
    };
    for (const auto& row : rows) {
        vst3::ProcessContext context{};
        context.state = row.state;
        context.projectTimeMusic = 13.5;
        context.tempo = 97.25;
        context.barPositionMusic = 12.0;
        context.timeSigNumerator = 3;
        context.timeSigDenominator = 8;
        const BlockTransport transport = transportOf(&context);
        EXPECT_EQ(transport.positionKnown, row.positionKnown) << row.name;
        EXPECT_EQ(transport.tempoKnown, row.tempoKnown) << row.name;
        if (row.positionKnown) {
            EXPECT_EQ(transport.position, 13.5) << row.name << ": in quarter notes, as given";
        }
        if (row.tempoKnown) {
            EXPECT_EQ(transport.tempo, 97.25) << row.name;
        }
    }
    const BlockTransport none = transportOf(nullptr);
    EXPECT_FALSE(none.positionKnown);
    EXPECT_FALSE(none.tempoKnown);
}

}  // namespace
