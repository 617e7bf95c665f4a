// The editor's summary ring under a writer and readers on other threads at
// full speed: every record a reader keeps is one record whole, as the writer
// published it, in the order published, and every record is either read or
// counted as lost. Each record's every word is derived from its number, so a
// copy torn between two records cannot pass.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "summary_ring.h"

namespace {

using slicecast::SummaryRecord;
using slicecast::SummaryRing;

constexpr std::size_t wordsPerColumn = sizeof(slicecast::ColumnSummary) / sizeof(std::uint32_t);

std::uint32_t wordFor(std::uint64_t serial, std::size_t word) {
    return static_cast<std::uint32_t>(serial * 2654435761u) ^ static_cast<std::uint32_t>(word * 40503u);
}

SummaryRecord recordFor(std::uint64_t serial) {
    SummaryRecord record{};
    record.header.page = static_cast<std::uint32_t>(serial);
    record.header.columnCount = 1 + static_cast<std::int32_t>(serial % slicecast::kRecordColumns);
    record.header.firstColumn = 0;
    record.header.pageStart = static_cast<double>(serial);
    auto* words = reinterpret_cast<std::uint32_t*>(&record.columns[0]);
    const std::size_t count = wordsPerColumn * static_cast<std::size_t>(record.header.columnCount);
    for (std::size_t i = 0; i < count; ++i) words[i] = wordFor(serial, i);
    return record;
}

bool whole(const SummaryRecord& record) {
    const std::uint64_t serial = record.header.page;
    if (record.header.pageStart != static_cast<double>(serial)) return false;
    if (record.header.columnCount != 1 + static_cast<std::int32_t>(serial % slicecast::kRecordColumns)) return false;
    const auto* words = reinterpret_cast<const std::uint32_t*>(&record.columns[0]);
    const std::size_t count = wordsPerColumn * static_cast<std::size_t>(record.header.columnCount);
    for (std::size_t i = 0; i < count; ++i) {
        if (words[i] != wordFor(serial, i)) return false;
    }
    return true;
}

struct RingCase {
    const char* name;
    int readers;
    bool writerPauses;  // a block's time between records, as a host plays
};

class SummaryRingRace : public testing::TestWithParam<RingCase> {};

TEST_P(SummaryRingRace, ReadersKeepOnlyWholeRecordsInOrder) {
    const RingCase& c = GetParam();
    constexpr std::uint64_t kRecords = 200000;
    auto ring = std::make_unique<SummaryRing>();
    std::atomic<bool> done{false};
    struct Tally {
        std::uint64_t read = 0, lost = 0, torn = 0, disordered = 0;
    };
    std::vector<Tally> tallies(static_cast<std::size_t>(c.readers));
    std::vector<std::thread> readers;
    for (int r = 0; r < c.readers; ++r) {
        readers.emplace_back([&, r] {
            Tally& tally = tallies[static_cast<std::size_t>(r)];
            std::uint64_t cursor = 0;
            std::int64_t last = -1;
            const auto readAll = [&] {
                const auto count = ring->readFrom(cursor, [&](const SummaryRecord& record) {
                    if (!whole(record)) ++tally.torn;
                    if (static_cast<std::int64_t>(record.header.page) <= last) ++tally.disordered;
                    last = record.header.page;
                });
                tally.read += count.read;
                tally.lost += count.lost;
            };
            while (!done.load(std::memory_order_acquire)) readAll();
            readAll();
        });
    }
    for (std::uint64_t serial = 0; serial < kRecords; ++serial) {
        ring->publish(recordFor(serial));
        if (c.writerPauses && serial % 1024 == 0) std::this_thread::yield();
    }
    done.store(true, std::memory_order_release);
    for (std::thread& reader : readers) reader.join();
    EXPECT_EQ(kRecords, ring->written());
    for (const Tally& tally : tallies) {
        EXPECT_EQ(0u, tally.torn);
        EXPECT_EQ(0u, tally.disordered);
        EXPECT_EQ(kRecords, tally.read + tally.lost);
        EXPECT_GT(tally.read, 0u);
    }
}

const RingCase kRingCases[] = {
    {"one_reader_flat_out", 1, false},
    {"one_reader_paced_writer", 1, true},
    {"two_readers_as_two_editor_views", 2, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, SummaryRingRace, testing::ValuesIn(kRingCases),
                         [](const testing::TestParamInfo<RingCase>& info) { return std::string(info.param.name); });

TEST(SummaryRing, AReaderFarBehindSkipsToTheOldestRecordStillThere) {
    auto ring = std::make_unique<SummaryRing>();
    for (std::uint64_t serial = 0; serial < SummaryRing::kSlots * 3 + 5; ++serial) ring->publish(recordFor(serial));
    std::uint64_t cursor = 0;
    std::vector<std::uint32_t> seen;
    const auto count = ring->readFrom(cursor, [&](const SummaryRecord& record) {
        EXPECT_TRUE(whole(record));
        seen.push_back(record.header.page);
    });
    EXPECT_EQ(SummaryRing::kSlots, count.read);
    EXPECT_EQ(SummaryRing::kSlots * 2 + 5, count.lost);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(SummaryRing::kSlots * 2 + 5, seen.front());
    EXPECT_EQ(ring->written(), cursor);
    EXPECT_EQ(0u, ring->readFrom(cursor, [](const SummaryRecord&) {}).read);
}

}  // namespace
