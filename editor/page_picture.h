// The live picture: the page of the current update period as the sound
// played it, left to right in musical time. Per channel (left above,
// right below) the input faint and the output strong as columns from their
// smallest to their largest sample; a dark line where the period began,
// light lines where each pass began, the beats, and the play position.
// Records come from a ring the audio thread writes (marked as read while
// the picture lives) or are handed over one by one; when none come the
// last page stays.
#pragma once

#include <cstdint>

#include "editor_view.h"
#include "live_page.h"
#include "summary_ring.h"

namespace slicecast::editor {

class PagePicture final : public LivePicture {
public:
    // ring may be null: records then come through take alone.
    explicit PagePicture(SummaryRing* ring = nullptr) noexcept;
    ~PagePicture();
    PagePicture(const PagePicture&) = delete;
    PagePicture& operator=(const PagePicture&) = delete;

    void take(const SummaryRecord& record) noexcept;

    bool refresh() override;
    void paint(picture::Painter& painter, const Rect& area) const override;

    const LivePage& page() const noexcept { return page_; }

private:
    SummaryRing* ring_;
    std::uint64_t cursor_ = 0;
    LivePage page_;
    bool changed_ = true;
};

}  // namespace slicecast::editor
