// The parameter changes of one process call as a single walk in the order
// of their sample offsets, over the host's queues as they are: one cursor
// per parameter, nothing allocated, each point read from the host once.
//
// Queues come in no particular order, one per parameter that changed. A
// second queue for a parameter that already has one, and queues of ids the
// effect does not have, are passed over. Points at the same offset come
// with the program change first, then in parameter order, so that values
// sent with a program override the program's; a point the host failed to
// give is skipped.
#pragma once

#include <array>
#include <cstdint>

#include "vst3_abi.h"
#include "vst3_programs.h"

namespace slicecast {

struct ChangePoint {
    std::int32_t offset;
    vst3::ParamID id;
    double value;  // normalized, as the host sent it
};

class ChangePoints {
public:
    // The walk over changes, which may be null (no change in this call).
    void start(vst3::IParameterChanges* changes) noexcept;
    // The next point in offset order; false when all were given.
    bool next(ChangePoint& point) noexcept;

private:
    struct Cursor {
        vst3::IParamValueQueue* queue = nullptr;
        vst3::ParamID id = 0;
        std::int32_t count = 0;
        std::int32_t index = 0;
        std::int32_t offset = 0;
        double value = 0.0;
    };
    // Moves the cursor to its queue's next readable point; false at the end.
    static bool load(Cursor& cursor) noexcept;

    // The program's, then the six in id order; -1 for an id not taken.
    static std::int32_t slotOf(vst3::ParamID id) noexcept;

    std::array<Cursor, kVst3ParameterInfoCount> cursors_{};
};

}  // namespace slicecast
