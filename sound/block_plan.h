// What one audio block needs to know about musical time: where it starts,
// how far each sample moves, and the slice and update-period lengths that
// follow from the sample rate, the tempo and the two index parameters.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>

#include "block_transport.h"

namespace slicecast {

constexpr std::int32_t kCaptureCapacity = 480000;

struct BlockPlan {
    bool usable = false;          // false: the sample rate gives no musical time
    double origin = 0.0;          // position of the first sample, quarter notes
    double beatStep = 0.0;        // quarter notes per sample
    std::int32_t sliceLength = 1; // samples, always within 1..kCaptureCapacity
    std::int32_t periodLength = 0;
    double scale = 1.0;           // update periods per bar
};

// Where the block starts. runningPosition is where the sound's own count of
// musical time stands: the origin of a block whose transport gives no
// usable position. A position flagged valid but not finite would poison
// every later boundary test; it is treated like a position the host did
// not give.
inline double originOf(const BlockTransport& transport, double runningPosition) noexcept {
    // Hosts without a timeline (offline editors, a stopped transport with
    // live input) give no position; counting on from where the last block
    // ended keeps the effect on the tempo grid instead of restarting every
    // block at 0, which would mute it for good after one update period.
    if (!transport.positionKnown || !std::isfinite(transport.position)) return runningPosition;
    return transport.position;
}

// Zero, negative or non-finite tempos have no musical meaning and would
// divide by zero or run time backwards: such a block plays at the default
// tempo, as if the host had not given one.
inline double tempoOf(const BlockTransport& transport) noexcept {
    if (!transport.tempoKnown) return kDefaultTempo;
    const double tempo = transport.tempo;
    return (std::isfinite(tempo) && tempo > 0.0) ? tempo : kDefaultTempo;
}

// runningPosition is where the sound's own count of musical time stands:
// the origin of a block whose transport gives no usable position.
BlockPlan planBlock(const BlockTransport& transport, double runningPosition, float sampleRate,
                    std::int32_t waveLengthIndex, std::int32_t updatePeriodIndex) noexcept;

// Plans block after block as planBlock does, but works the lengths out
// again only when what they follow has changed: the sample rate, the tempo
// and the two index parameters. Hosts change these rarely, and the lengths
// cost four divisions in a row, the longest wait of a short block.
class BlockPlanner {
public:
    BlockPlan plan(const BlockTransport& transport, double runningPosition, float sampleRate,
                          std::int32_t waveLengthIndex, std::int32_t updatePeriodIndex) noexcept {
        // Keyed on the tempo as the host gave it, which decides the tempo
        // used (tempoOf) without the tests for a usable one.
        const LengthsKey key{std::bit_cast<std::uint32_t>(sampleRate),
                             transport.tempoKnown ? std::bit_cast<std::uint64_t>(transport.tempo) : kNoTempo,
                             waveLengthIndex, updatePeriodIndex};
        if (!known_ || !(key == key_)) relearn(key, transport, sampleRate);
        BlockPlan plan = lengths_;
        plan.origin = originOf(transport, runningPosition);
        return plan;
    }

private:
    // Compared bit for bit: a NaN then matches itself, and -0 is not +0.
    struct LengthsKey {
        std::uint32_t sampleRateBits;
        std::uint64_t tempoBits;
        std::int32_t waveLengthIndex;
        std::int32_t updatePeriodIndex;
        bool operator==(const LengthsKey&) const = default;
    };
    // The key of a block whose host gives no tempo: the bits of a NaN, so
    // that only a tempo that also plays at the default tempo shares it.
    static constexpr std::uint64_t kNoTempo = 0x7ff4'0000'0000'0001;
    void relearn(const LengthsKey& key, const BlockTransport& transport, float sampleRate) noexcept;

    bool known_ = false;
    LengthsKey key_{};
    BlockPlan lengths_;
};

}  // namespace slicecast
