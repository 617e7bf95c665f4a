// The editor's summary of a block against what the sound did: its columns
// hold the smallest and largest input and output sample of the frames that
// lie in them, found here frame by frame; its marks sit where the rules,
// restated sample by sample, start periods and passes; and summing up
// changes no output bit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>
#include <random>
#include <vector>

#include "block_plan.h"
#include "float_to_int.h"
#include "live_page.h"
#include "slicecast_sound.h"

namespace {

using slicecast::ColumnSummary;
using slicecast::SampleRange;
using slicecast::SummaryRecord;

struct FreeSound {
    void operator()(slicecast::SlicecastSound* sound) const {
        sound->~SlicecastSound();
        std::free(sound);
    }
};
using SoundPointer = std::unique_ptr<slicecast::SlicecastSound, FreeSound>;

SoundPointer newSound() {
    void* storage = std::calloc(1, sizeof(slicecast::SlicecastSound));
    if (storage == nullptr) throw std::bad_alloc();
    return SoundPointer(new (storage) slicecast::SlicecastSound);
}

struct RecordList final : slicecast::SummarySink {
    std::vector<SummaryRecord> records;
    void take(const SummaryRecord& record) noexcept override { records.push_back(record); }
};

struct Case {
    const char* name;
    std::int32_t waveLengthIndex;
    std::int32_t updatePeriodIndex;
    float decayRate;
    double tempo;
    float sampleRate;
    std::vector<std::int32_t> blocks;  // lengths, repeated until the total
    double startPosition;
    bool inPlace;
    double jumpAtBlock;  // the host moves the position here (quarter notes) after block 7; < -1e9: never
};

constexpr double kNoJump = -1e12;

const Case kCases[] = {
    {"defaults_512", 5, 3, 1.0f, 120.0, 48000.0f, {512}, 0.0, false, kNoJump},
    {"short_period_odd_blocks", 11, 4, 0.5f, 97.0, 44100.0f, {37, 300, 1, 4096}, 0.0, false, kNoJump},
    {"in_place_long_period", 0, 0, 0.9f, 180.0, 48000.0f, {8192}, 3.0, true, kNoJump},
    {"count_in_and_jump", 7, 3, 0.7f, 140.0, 48000.0f, {256, 999}, -6.5, false, 1.25},
    {"blocks_span_pages", 9, 4, 1.0f, 300.0, 22050.0f, {10000}, 0.0, true, kNoJump},
    {"columns_narrower_than_a_frame", 3, 4, 1.0f, 300.0, 2000.0f, {64, 3}, 0.0, false, kNoJump},
    {"far_into_the_song", 5, 2, 0.8f, 133.0, 96000.0f, {333}, 123456.75, false, kNoJump},
};
constexpr std::int64_t kTotalFrames = 150000;

// A frame's place on the pages, found frame by frame.
struct Place {
    double page;
    std::int32_t column;
    bool operator==(const Place&) const = default;
};

// The period rules restated per sample: where captures and repeats begin.
class MarkOracle {
public:
    std::uint32_t marksAt(double position, double lastPosition, const slicecast::BlockPlan& plan) {
        std::uint32_t marks = 0;
        const auto period = [&](double p) { return truncateToInt32((p * 0.25) * plan.scale); };
        if (period(position) != period(lastPosition)) {
            counter_ = 0;
            muted_ = false;
            marks |= slicecast::kPeriodStartMark;
        }
        if (counter_ >= static_cast<std::uint32_t>(plan.periodLength)) {
            counter_ = 0;
            muted_ = true;
        }
        if (counter_ % static_cast<std::uint32_t>(plan.sliceLength) == 0 && counter_ != 0 && !muted_) {
            marks |= slicecast::kPassStartMark;
        }
        ++counter_;
        return marks;
    }

private:
    std::uint32_t counter_ = 0;
    bool muted_ = true;
};

// One expected column: the frames of one run of a place.
struct Expected {
    Place place;
    double pageLength;
    SampleRange input[2];
    SampleRange output[2];
    std::uint32_t marks;
};

void widen(SampleRange& range, float x) {
    range.lowest = std::min(range.lowest, x);
    range.highest = std::max(range.highest, x);
}

constexpr float kInf = std::numeric_limits<float>::infinity();

void expectSummaryOfWhatTheSoundDid(const Case& c, slicecast::LoopSet loops) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    std::vector<float> inL(kTotalFrames), inR(kTotalFrames);
    for (std::int64_t i = 0; i < kTotalFrames; ++i) {
        inL[static_cast<std::size_t>(i)] = sample(random) * 0.5f;
        inR[static_cast<std::size_t>(i)] = sample(random);
    }
    const SoundPointer plain = newSound();
    const SoundPointer summed = newSound();
    slicecast::BlockSummariser summariser(loops);
    RecordList sink;
    slicecast::SoundParameters parameters;
    parameters.waveLengthIndex = c.waveLengthIndex;
    parameters.updatePeriodIndex = c.updatePeriodIndex;
    parameters.shape.decayRate = c.decayRate;

    std::vector<float> plainL(inL), plainR(inR), outL(inL), outR(inR);
    std::vector<Expected> expected;
    MarkOracle oracle;
    double lastPosition = -500.0;
    double position = c.startPosition;
    std::int64_t at = 0;
    for (std::size_t block = 0; at < kTotalFrames; ++block) {
        const std::int32_t frames = static_cast<std::int32_t>(
            std::min<std::int64_t>(c.blocks[block % c.blocks.size()], kTotalFrames - at));
        if (block == 8 && c.jumpAtBlock > kNoJump) position = c.jumpAtBlock;
        const slicecast::BlockTransport transport{true, position, true, c.tempo};
        const auto u = static_cast<std::size_t>(at);
        const std::vector<float> blockInL(inL.begin() + at, inL.begin() + at + frames);
        const std::vector<float> blockInR(inR.begin() + at, inR.begin() + at + frames);
        const slicecast::StereoIo plainIo{inL.data() + u, inR.data() + u, plainL.data() + u, plainR.data() + u};
        plain->process(transport, parameters, c.sampleRate, plainIo, frames);
        const slicecast::StereoIo io = c.inPlace
            ? slicecast::StereoIo{outL.data() + u, outR.data() + u, outL.data() + u, outR.data() + u}
            : slicecast::StereoIo{inL.data() + u, inR.data() + u, outL.data() + u, outR.data() + u};
        summed->process(transport, parameters, c.sampleRate, io, frames, summariser, sink);

        const slicecast::BlockPlan plan = slicecast::planBlock(transport, 0.0, c.sampleRate, c.waveLengthIndex,
                                                               c.updatePeriodIndex);
        for (std::int32_t i = 0; i < frames; ++i) {
            const double p = plan.origin + static_cast<double>(i) * plan.beatStep;
            const double periods = (p * 0.25) * plan.scale;
            const double page = std::floor(periods);
            const Place place{page, std::clamp(truncateToInt32((periods - page) * 800.0), 0, 799)};
            const std::uint32_t marks = oracle.marksAt(p, lastPosition, plan);
            lastPosition = p;
            // A new run at every new place, and at every period start.
            if (expected.empty() || !(expected.back().place == place) || (marks & slicecast::kPeriodStartMark)) {
                expected.push_back({place, 4.0 / plan.scale, {{kInf, -kInf}, {kInf, -kInf}},
                                    {{kInf, -kInf}, {kInf, -kInf}}, 0u});
            }
            Expected& run = expected.back();
            widen(run.input[0], blockInL[static_cast<std::size_t>(i)]);
            widen(run.input[1], blockInR[static_cast<std::size_t>(i)]);
            widen(run.output[0], outL[u + static_cast<std::size_t>(i)]);
            widen(run.output[1], outR[u + static_cast<std::size_t>(i)]);
            run.marks |= marks;
        }
        position = plan.origin + static_cast<double>(frames) * plan.beatStep;
        at += frames;
    }
    ASSERT_EQ(0, std::memcmp(plainL.data(), outL.data(), sizeof(float) * plainL.size()));
    ASSERT_EQ(0, std::memcmp(plainR.data(), outR.data(), sizeof(float) * plainR.size()));

    // The records' columns, in order, are the runs; a run split between
    // blocks is a column continued, joined here as a reader joins it.
    std::vector<Expected> got;
    std::uint32_t lastPage = 0;
    for (const SummaryRecord& record : sink.records) {
        ASSERT_GE(record.header.columnCount, 1);
        ASSERT_LE(record.header.columnCount, slicecast::kRecordColumns);
        for (std::int32_t i = 0; i < record.header.columnCount; ++i) {
            const ColumnSummary& column = record.columns[i];
            const Place place{std::round(record.header.pageStart / record.header.pageLength),
                              record.header.firstColumn + i};
            const bool joins = i == 0 && (record.header.flags & slicecast::kContinuesColumn) != 0;
            if (joins) {
                ASSERT_FALSE(got.empty());
                ASSERT_EQ(lastPage, record.header.page);
                Expected& run = got.back();
                ASSERT_TRUE(run.place == place);
                for (int ch = 0; ch < 2; ++ch) {
                    widen(run.input[ch], column.input[ch].lowest);
                    widen(run.input[ch], column.input[ch].highest);
                    widen(run.output[ch], column.output[ch].lowest);
                    widen(run.output[ch], column.output[ch].highest);
                }
                run.marks |= column.marks;
            } else {
                got.push_back({place, record.header.pageLength, {column.input[0], column.input[1]},
                               {column.output[0], column.output[1]}, column.marks});
            }
        }
        lastPage = record.header.page;
    }
    ASSERT_EQ(expected.size(), got.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "column run " << i);
        EXPECT_EQ(expected[i].place.page, got[i].place.page);
        EXPECT_EQ(expected[i].place.column, got[i].place.column);
        EXPECT_EQ(expected[i].pageLength, got[i].pageLength);
        for (int ch = 0; ch < 2; ++ch) {
            EXPECT_EQ(expected[i].input[ch].lowest, got[i].input[ch].lowest);
            EXPECT_EQ(expected[i].input[ch].highest, got[i].input[ch].highest);
            EXPECT_EQ(expected[i].output[ch].lowest, got[i].output[ch].lowest);
            EXPECT_EQ(expected[i].output[ch].highest, got[i].output[ch].highest);
        }
        EXPECT_EQ(expected[i].marks, got[i].marks);
        if (testing::Test::HasFailure()) break;
    }

    // The reader's page is the last page: its columns as the runs left them.
    slicecast::LivePage page;
    for (const SummaryRecord& record : sink.records) page.take(record);
    ASSERT_FALSE(page.empty());
    const double lastPageNumber = expected.back().place.page;
    std::vector<bool> seen(800, false);
    for (auto run = expected.rbegin(); run != expected.rend() && run->place.page == lastPageNumber; ++run) {
        const auto index = static_cast<std::size_t>(run->place.column);
        if (seen[index]) continue;  // a later visit of the column replaced it
        seen[index] = true;
        EXPECT_EQ(run->output[0].highest, page.column(run->place.column).output[0].highest);
        EXPECT_EQ(run->input[1].lowest, page.column(run->place.column).input[1].lowest);
        if ((run->marks & slicecast::kPeriodStartMark) != 0) break;
    }
    EXPECT_EQ(position, page.playPosition());
}

class LiveSummary : public testing::TestWithParam<Case> {};

TEST_P(LiveSummary, ColumnsAndMarksAreWhatTheSoundDid) {
    // The plain loops and those this processor runs.
    for (const slicecast::LoopSet loops : {slicecast::LoopSet::baseline, slicecast::loopSetForThisProcessor()}) {
        SCOPED_TRACE(loops == slicecast::LoopSet::baseline ? "plain loops" : "this processor's loops");
        expectSummaryOfWhatTheSoundDid(GetParam(), loops);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, LiveSummary, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
