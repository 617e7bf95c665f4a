#include "clap_state.h"

namespace slicecast {

namespace {

// CLAP's streams already answer as a byte source and sink do: the count
// moved, 0 at the end, -1 on error.
class ClapSource final : public ByteSource {
public:
    explicit ClapSource(const clap::InputStream& stream) noexcept : stream_(stream) {}
    std::int64_t read(std::uint8_t* buffer, std::size_t size) noexcept override {
        return stream_.read(&stream_, buffer, size);
    }

private:
    const clap::InputStream& stream_;
};

class ClapSink final : public ByteSink {
public:
    explicit ClapSink(const clap::OutputStream& stream) noexcept : stream_(stream) {}
    std::int64_t write(const std::uint8_t* bytes, std::size_t size) noexcept override {
        return stream_.write(&stream_, bytes, size);
    }

private:
    const clap::OutputStream& stream_;
};

}  // namespace

bool writeState(const clap::OutputStream& stream, const PlainValues& values) noexcept {
    ClapSink sink(stream);
    return writeSavedState(sink, values);
}

std::optional<PlainValues> readState(const clap::InputStream& stream) noexcept {
    ClapSource source(stream);
    return readSavedState(source);
}

}  // namespace slicecast
