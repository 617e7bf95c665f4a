// The saved state (saved_state.h: the six plain values, the same bytes on
// every platform, the CLAP edition's format) through a VST 3 host's
// IBStream. Such a stream may move one byte per call, and at the end of its
// data answers kResultOk with no bytes; the state may start anywhere in it,
// so it is read and written from where the stream stands.
#pragma once

#include <optional>

#include "saved_state.h"
#include "vst3_abi.h"

namespace slicecast {

bool writeState(vst3::IBStream& stream, const PlainValues& values) noexcept;
std::optional<PlainValues> readState(vst3::IBStream& stream) noexcept;

}  // namespace slicecast
