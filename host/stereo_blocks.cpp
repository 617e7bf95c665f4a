#include "stereo_blocks.h"

namespace pluginhost {

BlockSizer fixedBlocks(std::int32_t blockSize) {
    return [blockSize](std::int64_t, std::int64_t) { return blockSize; };
}

}  // namespace pluginhost
