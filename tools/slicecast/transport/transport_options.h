// The texts of the render command's transport options, turned into what
// the host library plays. Each parser throws std::invalid_argument with a
// one-line reason when the text does not make sense.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "stereo_blocks.h"
#include "playback_script.h"
#include "tempo_map.h"

namespace slicecastcli {

constexpr std::int32_t kMaxBlockSize = 1 << 20;

// "120", or a map "120,16:140,32:90": a first tempo, then POSITION:TEMPO
// changes at quarter-note positions, strictly in order. The first item may
// carry a position too ("0:120,..."); it holds from the start either way.
pluginhost::TempoMap parseTempo(std::string_view text);

// "START:END" in quarter notes, END after START; the count is given apart.
pluginhost::LoopRange parseLoop(std::string_view text);

// Frames per processing call: one length, or lengths drawn from a range.
struct BlockSizes {
    std::int32_t smallest = 512;
    std::int32_t largest = 512;
    // Set for varying lengths.
    std::optional<std::uint64_t> seed;

    pluginhost::BlockSizer sizer() const;
};

// "N" (1 to kMaxBlockSize) or "random:MIN-MAX:SEED".
BlockSizes parseBlockSizes(std::string_view text);

// One --automate option before the effect is asked what its names and
// texts mean.
struct AutomationText {
    std::string parameter;
    // (position in quarter notes, value text as for --set), in order.
    std::vector<std::pair<double, std::string>> points;
};

// "NAME=POS:VALUE,POS:VALUE,...": positions at or after 0, none before the
// one listed before it.
AutomationText parseAutomation(std::string_view text);

// Everything the transport options say about playing.
struct TransportOptions {
    pluginhost::TempoMap tempo{120.0};
    // Musical position of the first frame, in quarter notes.
    double start = 0.0;
    BlockSizes blocks;
    std::optional<pluginhost::LoopRange> loop;
    std::int32_t countInBlocks = 0;
    std::vector<AutomationText> automation;
    // Time records without a valid position, as offline editors give.
    bool noPosition = false;
};

// Throws std::invalid_argument when the options cannot work together (a
// loop that starts before the first frame's position).
void requireConsistent(const TransportOptions& transport);

}  // namespace slicecastcli
