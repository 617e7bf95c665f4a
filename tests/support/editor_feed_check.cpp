#include "editor_feed_check.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>
#include <set>

namespace testsupport {

pluginhost::StereoBuffer EditorFeedScene::input(std::size_t frames) {
    pluginhost::StereoBuffer buffer(frames);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
    for (std::size_t i = 0; i < frames; ++i) {
        buffer.left[i] = sample(random);
        buffer.right[i] = sample(random) * 0.25f;
    }
    return buffer;
}

void expectFeedMatches(const std::vector<slicecast::SummaryRecord>& records, const pluginhost::StereoBuffer& output,
                       std::size_t readFrom) {
    using Scene = EditorFeedScene;
    ASSERT_FALSE(records.empty());
    constexpr float kInf = std::numeric_limits<float>::infinity();
    slicecast::SampleRange heard[2] = {{kInf, -kInf}, {kInf, -kInf}};
    for (std::size_t i = readFrom; i < output.frames(); ++i) {
        heard[0] = {std::min(heard[0].lowest, output.left[i]), std::max(heard[0].highest, output.left[i])};
        heard[1] = {std::min(heard[1].lowest, output.right[i]), std::max(heard[1].highest, output.right[i])};
    }
    slicecast::SampleRange drawn[2] = {{kInf, -kInf}, {kInf, -kInf}};
    std::set<std::uint32_t> pages;
    std::size_t periodMarks = 0;
    std::size_t passMarks = 0;
    std::int32_t nextColumn = records.front().header.firstColumn;
    std::uint32_t page = records.front().header.page;
    for (const slicecast::SummaryRecord& record : records) {
        const slicecast::SummaryHeader& header = record.header;
        ASSERT_GE(header.columnCount, 1);
        ASSERT_LE(header.firstColumn + header.columnCount, slicecast::kPageColumns);
        EXPECT_EQ(1.0 * 2.0, header.pageLength);  // half a bar, in quarter notes
        EXPECT_EQ(Scene::kTempo, header.tempo);
        if (header.page != page) {
            nextColumn = 0;
            page = header.page;
        }
        // Columns go on in order; a block may end inside one and the next
        // go on with it.
        const bool continues = (header.flags & slicecast::kContinuesColumn) != 0;
        EXPECT_EQ(continues ? nextColumn - 1 : nextColumn, header.firstColumn);
        nextColumn = header.firstColumn + header.columnCount;
        pages.insert(header.page);
        for (std::int32_t i = 0; i < header.columnCount; ++i) {
            const slicecast::ColumnSummary& column = record.columns[i];
            for (int ch = 0; ch < 2; ++ch) {
                drawn[ch] = {std::min(drawn[ch].lowest, column.output[ch].lowest),
                             std::max(drawn[ch].highest, column.output[ch].highest)};
            }
            if ((column.marks & slicecast::kPeriodStartMark) != 0) {
                ++periodMarks;
                EXPECT_EQ(0, header.firstColumn + i);
            }
            if ((column.marks & slicecast::kPassStartMark) != 0) ++passMarks;
        }
    }
    std::size_t periodsBegun = 0;
    std::size_t repeatsBegun = 0;
    for (std::size_t frame = 0; frame < output.frames(); frame += Scene::kFramesPerSlice) {
        if (frame < readFrom) continue;
        ++(frame % Scene::kFramesPerPeriod == 0 ? periodsBegun : repeatsBegun);
    }
    EXPECT_EQ(periodsBegun, periodMarks);
    // Reading may begin inside a period: its page, unmarked, comes first.
    EXPECT_EQ(periodsBegun + (readFrom % Scene::kFramesPerPeriod == 0 ? 0 : 1), pages.size());
    EXPECT_EQ(repeatsBegun, passMarks);
    EXPECT_EQ(heard[0].lowest, drawn[0].lowest);
    EXPECT_EQ(heard[0].highest, drawn[0].highest);
    EXPECT_EQ(heard[1].lowest, drawn[1].lowest);
    EXPECT_EQ(heard[1].highest, drawn[1].highest);
}

}  // namespace testsupport
