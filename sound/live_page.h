// The reader's side of the summary: the page an editor draws, put together
// from the records as they come. A record of another page starts the page
// afresh; each column a record carries replaces what the page held there,
// unless it goes on with the column the record before ended in. When no
// records come (the transport stopped) the page stays as it is.
#pragma once

#include <array>
#include <cstdint>

#include "live_summary.h"

namespace slicecast {

class LivePage {
public:
    LivePage() noexcept { clear(); }

    void take(const SummaryRecord& record) noexcept;

    bool empty() const noexcept { return !havePage_; }
    // A column no record has reached on this page yet: an empty range
    // (lowest +inf, highest -inf) and no marks.
    const ColumnSummary& column(std::int32_t index) const noexcept {
        return columns_[static_cast<std::size_t>(index)];
    }
    double pageStart() const noexcept { return pageStart_; }
    double pageLength() const noexcept { return pageLength_; }
    double playPosition() const noexcept { return playPosition_; }
    double tempo() const noexcept { return tempo_; }

private:
    void clear() noexcept;

    bool havePage_ = false;
    std::uint32_t page_ = 0;
    double pageStart_ = 0.0;
    double pageLength_ = 0.0;
    double playPosition_ = 0.0;
    double tempo_ = 0.0;
    std::array<ColumnSummary, kPageColumns> columns_;
};

}  // namespace slicecast
