#include "live_page.h"

#include <algorithm>
#include <limits>

namespace slicecast {

namespace {

constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr SampleRange kEmpty{kInfinity, -kInfinity};
constexpr ColumnSummary kEmptyColumn{{kEmpty, kEmpty}, {kEmpty, kEmpty}, 0u};

SampleRange joined(const SampleRange& a, const SampleRange& b) noexcept {
    return {std::min(a.lowest, b.lowest), std::max(a.highest, b.highest)};
}

}  // namespace

void LivePage::clear() noexcept { columns_.fill(kEmptyColumn); }

void LivePage::take(const SummaryRecord& record) noexcept {
    const SummaryHeader& header = record.header;
    // A record that does not fit the page is not drawn (a reader of bytes
    // from elsewhere checks what it hands on; this is the last guard).
    if (header.columnCount < 1 || header.columnCount > kRecordColumns || header.firstColumn < 0 ||
        header.firstColumn > kPageColumns - header.columnCount) {
        return;
    }
    if (!havePage_ || header.page != page_) {
        clear();
        havePage_ = true;
        page_ = header.page;
    }
    pageStart_ = header.pageStart;
    pageLength_ = header.pageLength;
    playPosition_ = header.playPosition;
    tempo_ = header.tempo;
    for (std::int32_t i = 0; i < header.columnCount; ++i) {
        const ColumnSummary& from = record.columns[i];
        ColumnSummary& to = columns_[static_cast<std::size_t>(header.firstColumn + i)];
        if (i == 0 && (header.flags & kContinuesColumn) != 0) {
            to = {{joined(to.input[0], from.input[0]), joined(to.input[1], from.input[1])},
                  {joined(to.output[0], from.output[0]), joined(to.output[1], from.output[1])},
                  to.marks | from.marks};
        } else {
            to = from;
        }
    }
}

}  // namespace slicecast
