#include "clap_streams.h"

#include <algorithm>
#include <cstring>

namespace claphost {

ByteSink::ByteSink(std::uint64_t bytesPerCall) : bytesPerCall_(std::max<std::uint64_t>(bytesPerCall, 1)), stream_{this, &write} {}

std::int64_t ByteSink::write(const clap::OutputStream* stream, const void* buffer, std::uint64_t size) {
    ByteSink& self = *static_cast<ByteSink*>(stream->ctx);
    if (buffer == nullptr && size > 0) return -1;
    const std::uint64_t moved = std::min(size, self.bytesPerCall_);
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    self.bytes_.insert(self.bytes_.end(), bytes, bytes + moved);
    return static_cast<std::int64_t>(moved);
}

ByteSource::ByteSource(std::vector<std::uint8_t> bytes, std::uint64_t bytesPerCall)
    : bytes_(std::move(bytes)), bytesPerCall_(std::max<std::uint64_t>(bytesPerCall, 1)), stream_{this, &read} {}

std::int64_t ByteSource::read(const clap::InputStream* stream, void* buffer, std::uint64_t size) {
    ByteSource& self = *static_cast<ByteSource*>(stream->ctx);
    if (buffer == nullptr && size > 0) return -1;
    const std::uint64_t left = self.bytes_.size() - self.position_;
    const std::uint64_t moved = std::min({size, self.bytesPerCall_, left});
    if (moved > 0) std::memcpy(buffer, self.bytes_.data() + self.position_, static_cast<std::size_t>(moved));
    self.position_ += static_cast<std::size_t>(moved);
    return static_cast<std::int64_t>(moved);
}

}  // namespace claphost
