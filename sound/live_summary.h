// What an editor draws of the sound as it plays: the current update period
// as a page of columns in musical time, each column the smallest and largest
// sample of the input and of the output per channel, marked where a period
// and where each pass over the slice began.
//
// The audio thread hands it over as records, each the part of one block
// that lies in one page, no more than kRecordColumns columns. A record is
// plain bytes, its columns last, so that only the columns it carries need
// to be copied or sent.
#pragma once

#include <cstddef>
#include <cstdint>

namespace slicecast {

// Columns per page: one per pixel of a picture about 800 pixels wide.
constexpr std::int32_t kPageColumns = 800;
// Columns per record: a 512-frame block at 48 kHz spans 17 columns of the
// shortest update period at 120 BPM, so most blocks take one record.
constexpr std::int32_t kRecordColumns = 32;

struct SampleRange {
    float lowest;
    float highest;
};

// Marks of a column, as bits.
enum ColumnMark : std::uint32_t {
    kPeriodStartMark = 1u << 0,  // a new capture (an update period) began in it
    kPassStartMark = 1u << 1,    // a repeat of the slice began in it
};

struct ColumnSummary {
    SampleRange input[2];   // left, right
    SampleRange output[2];
    std::uint32_t marks;    // ColumnMark bits
};

// The record's first column goes on with the column the record before
// ended in (a block ended inside it): the two are one column.
constexpr std::uint32_t kContinuesColumn = 1u << 0;

struct SummaryHeader {
    // Counts the pages the writer began; a record of another page than the
    // reader's starts a new picture.
    std::uint32_t page;
    std::uint32_t flags;          // kContinuesColumn
    std::int32_t firstColumn;     // within the page, 0..kPageColumns - 1
    std::int32_t columnCount;     // 1..kRecordColumns
    // Where the page lies in musical time (quarter notes): the update
    // period's start and length.
    double pageStart;
    double pageLength;
    // The position of the frame after the record's last one, and the tempo
    // (beats per minute) the block was played at.
    double playPosition;
    double tempo;
};

struct SummaryRecord {
    SummaryHeader header;
    ColumnSummary columns[kRecordColumns];
};

// The bytes of a record that carry something: the header and its columns.
constexpr std::size_t usedBytesOf(const SummaryHeader& header) noexcept {
    return offsetof(SummaryRecord, columns) + sizeof(ColumnSummary) * static_cast<std::size_t>(header.columnCount);
}

}  // namespace slicecast
