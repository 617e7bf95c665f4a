// The saved state (saved_state.h: the six plain values and the program
// chosen last, the same bytes on every platform; states without the program,
// as the edition saved them before it had one, still load) through a VST 3
// host's IBStream. Such a stream may move one byte per call, and at the end
// of its data answers kResultOk with no bytes; the state may start anywhere
// in it, so it is read and written from where the stream stands.
#pragma once

#include <optional>

#include "saved_state.h"
#include "vst3_abi.h"

namespace slicecast {

bool writeState(vst3::IBStream& stream, const PlainValues& values, std::int32_t program) noexcept;
std::optional<SavedState> readState(vst3::IBStream& stream) noexcept;

}  // namespace slicecast
