// The saved state (saved_state.h: the six plain values, the same bytes on
// every platform) through a CLAP host's streams, which may move any number
// of bytes per call.
#pragma once

#include <optional>

#include "clap_abi.h"
#include "saved_state.h"

namespace slicecast {

bool writeState(const clap::OutputStream& stream, const PlainValues& values) noexcept;
std::optional<PlainValues> readState(const clap::InputStream& stream) noexcept;

}  // namespace slicecast
