// Where the beats and bars of the transport fell in the output, as the
// blocks were played: from each written block's position and tempo, so that
// tempo changes, loops and jumps show as they happened.
#pragma once

#include <cstdint>
#include <vector>

#include "picture_block.h"

namespace picture {

struct BeatMark {
    std::int64_t frame;  // in the output
    std::int64_t beat;   // quarter notes from position 0; a bar starts where beat % 4 == 0
};

// Adds every frame of the block's output at which the transport reaches a
// whole quarter note (its first frame counts if it lies on one).
void addBeats(const PictureBlock& block, std::vector<BeatMark>& marks);

}  // namespace picture
