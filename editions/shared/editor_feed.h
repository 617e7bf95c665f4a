// What an edition keeps for its editor: the ring the audio thread writes
// each block's summary into while an editor reads it (SummaryRing's
// readers), and the summariser that makes the records. With no editor
// reading, a block is played as if none of this existed.
#pragma once

#include "block_summariser.h"
#include "summary_ring.h"

namespace slicecast {

class EditorFeed final : public SummarySink {
public:
    SummaryRing& ring() noexcept { return ring_; }

    // For the audio thread, once per host block: the summariser while an
    // editor reads, else null.
    BlockSummariser* summariserWhileRead() noexcept { return ring_.hasReaders() ? &summariser_ : nullptr; }

    void take(const SummaryRecord& record) noexcept override { ring_.publish(record); }

private:
    SummaryRing ring_;
    BlockSummariser summariser_;
};

}  // namespace slicecast
