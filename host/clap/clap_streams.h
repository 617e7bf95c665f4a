// Byte streams for a plug-in's state, as a host provides them: a sink that
// collects what save writes, and a source that load reads from. Both may be
// told to move at most a few bytes per call, as the format allows, to check
// that the plug-in loops.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "clap_abi.h"

namespace claphost {

class ByteSink {
public:
    explicit ByteSink(std::uint64_t bytesPerCall = UINT64_MAX);
    ByteSink(const ByteSink&) = delete;
    ByteSink& operator=(const ByteSink&) = delete;

    const clap::OutputStream* stream() const { return &stream_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    static std::int64_t SLICECAST_CLAP_CALL write(const clap::OutputStream* stream, const void* buffer,
                                                  std::uint64_t size);

    std::uint64_t bytesPerCall_;
    std::vector<std::uint8_t> bytes_;
    clap::OutputStream stream_;
};

class ByteSource {
public:
    explicit ByteSource(std::vector<std::uint8_t> bytes, std::uint64_t bytesPerCall = UINT64_MAX);
    ByteSource(const ByteSource&) = delete;
    ByteSource& operator=(const ByteSource&) = delete;

    const clap::InputStream* stream() const { return &stream_; }
    // Bytes the plug-in has read so far.
    std::size_t consumed() const { return position_; }

private:
    static std::int64_t SLICECAST_CLAP_CALL read(const clap::InputStream* stream, void* buffer, std::uint64_t size);

    std::vector<std::uint8_t> bytes_;
    std::uint64_t bytesPerCall_;
    std::size_t position_ = 0;
    clap::InputStream stream_;
};

}  // namespace claphost
