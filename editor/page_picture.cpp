#include "page_picture.h"

#include <algorithm>
#include <cmath>

namespace slicecast::editor {

namespace {

using picture::Colour;

struct PicturePalette {
    Colour beat;
    Colour input;
    Colour output;
    Colour periodStart;
    Colour passStart;
    Colour playPosition;
    Colour centre;
};
constexpr PicturePalette kPicturePalette{
    {52, 56, 66},          // beat
    {150, 160, 180, 90},   // input, faint
    {226, 150, 54},        // output
    {8, 9, 11},            // periodStart
    {210, 215, 225, 110},  // passStart
    {255, 255, 255},       // playPosition
    {44, 48, 56},          // centre line of a lane
};

// A sample's height in a lane: full scale fills half the lane either side
// of its centre; louder samples stay at the lane's edge.
std::int32_t rowOf(float sample, std::int32_t centre, std::int32_t half) {
    const float clamped = std::clamp(sample, -1.0f, 1.0f);
    return centre - static_cast<std::int32_t>(std::lround(clamped * static_cast<float>(half)));
}

}  // namespace

PagePicture::PagePicture(SummaryRing* ring) noexcept : ring_(ring) {
    if (ring_ == nullptr) return;
    // Only what is written from now on: the ring's older records belong to
    // a picture nobody saw.
    cursor_ = ring_->written();
    ring_->addReader();
}

PagePicture::~PagePicture() {
    if (ring_ != nullptr) ring_->removeReader();
}

void PagePicture::take(const SummaryRecord& record) noexcept {
    page_.take(record);
    changed_ = true;
}

bool PagePicture::refresh() {
    if (ring_ != nullptr) ring_->readFrom(cursor_, [this](const SummaryRecord& record) { take(record); });
    const bool changed = changed_;
    changed_ = false;
    return changed;
}

void PagePicture::paint(picture::Painter& painter, const Rect& area) const {
    if (page_.empty() || !(page_.pageLength() > 0.0)) return;
    const auto xOfPosition = [&](double position) {
        return area.x + static_cast<std::int32_t>(std::floor((position - page_.pageStart()) / page_.pageLength() *
                                                               area.width));
    };
    const auto xOfColumn = [&](std::int32_t column) {
        return area.x + static_cast<std::int32_t>(static_cast<std::int64_t>(column) * area.width / kPageColumns);
    };
    const std::int32_t bottom = area.y + area.height - 1;
    // The beats: every quarter note of the page.
    const auto beats = static_cast<std::int32_t>(std::ceil(page_.pageLength()));
    for (std::int32_t beat = 1; beat < beats; ++beat) {
        painter.column(xOfPosition(page_.pageStart() + beat), area.y, bottom, kPicturePalette.beat);
    }
    const std::int32_t laneHeight = area.height / 2;
    for (int channel = 0; channel < 2; ++channel) {
        const std::int32_t centre = area.y + channel * laneHeight + laneHeight / 2;
        const std::int32_t half = laneHeight / 2 - 2;
        painter.fill(area.x, centre, area.width, 1, kPicturePalette.centre);
        for (std::int32_t column = 0; column < kPageColumns; ++column) {
            const ColumnSummary& summary = page_.column(column);
            const std::int32_t x = xOfColumn(column);
            for (const auto& [range, colour] : {std::pair{summary.input[channel], kPicturePalette.input},
                                                std::pair{summary.output[channel], kPicturePalette.output}}) {
                if (!(range.lowest <= range.highest)) continue;
                painter.column(x, rowOf(range.highest, centre, half), rowOf(range.lowest, centre, half), colour);
            }
        }
    }
    for (std::int32_t column = 0; column < kPageColumns; ++column) {
        const std::uint32_t marks = page_.column(column).marks;
        if ((marks & kPeriodStartMark) != 0) {
            painter.column(xOfColumn(column), area.y, bottom, kPicturePalette.periodStart);
        } else if ((marks & kPassStartMark) != 0) {
            painter.column(xOfColumn(column), area.y, bottom, kPicturePalette.passStart);
        }
    }
    const std::int32_t play = xOfPosition(page_.playPosition());
    if (play >= area.x && play < area.right()) painter.column(play, area.y, bottom, kPicturePalette.playPosition);
}

}  // namespace slicecast::editor
