// The two sides of a host's state stream, as the saved state reads and
// writes it: each edition adapts its format's stream to these. Both may move
// fewer bytes than asked, and callers loop.
#pragma once

#include <cstddef>
#include <cstdint>

namespace slicecast {

class ByteSource {
public:
    // Reads at most size bytes into buffer: the count read, 0 at the end of
    // the data, or -1 when the stream failed.
    virtual std::int64_t read(std::uint8_t* buffer, std::size_t size) noexcept = 0;

protected:
    ~ByteSource() = default;
};

class ByteSink {
public:
    // Writes at most size bytes: the count written, or -1 when the stream
    // failed. A stream that takes nothing has failed too.
    virtual std::int64_t write(const std::uint8_t* bytes, std::size_t size) noexcept = 0;

protected:
    ~ByteSink() = default;
};

}  // namespace slicecast
