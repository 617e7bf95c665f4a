// A stream of bytes in memory, as hosts hand plug-ins for their state: one
// position for reading and writing, seeking within and past the end
// (writing there fills the gap with zeros). Reads and writes may be held to
// a few bytes per call, as the format allows, to check that a plug-in
// loops; at the end of the bytes a read moves none and still succeeds.
#pragma once

#include <cstdint>
#include <vector>

#include "host_object.h"
#include "vst3_abi.h"

namespace vst3host {

class MemoryStream final : public HostObject<MemoryStream, vst3::IBStream> {
public:
    explicit MemoryStream(std::vector<std::uint8_t> bytes = {}, vst3::int32 bytesPerCall = INT32_MAX);

    vst3::tresult SLICECAST_VST3_CALL read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead) override;
    vst3::tresult SLICECAST_VST3_CALL write(void* buffer, vst3::int32 numBytes,
                                            vst3::int32* numBytesWritten) override;
    vst3::tresult SLICECAST_VST3_CALL seek(vst3::int64 position, vst3::int32 mode, vst3::int64* result) override;
    vst3::tresult SLICECAST_VST3_CALL tell(vst3::int64* position) override;

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::size_t position() const { return position_; }
    // The calls of read and write so far.
    int calls() const { return calls_; }

private:
    std::vector<std::uint8_t> bytes_;
    vst3::int32 bytesPerCall_;
    std::size_t position_ = 0;
    int calls_ = 0;
};

}  // namespace vst3host
