#include "memory_stream.h"

#include <algorithm>
#include <cstring>

namespace vst3host {

MemoryStream::MemoryStream(std::vector<std::uint8_t> bytes, vst3::int32 bytesPerCall)
    : bytes_(std::move(bytes)), bytesPerCall_(std::max<vst3::int32>(bytesPerCall, 1)) {}

vst3::tresult MemoryStream::read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead) {
    ++calls_;
    if (numBytesRead != nullptr) *numBytesRead = 0;
    if (numBytes < 0 || (buffer == nullptr && numBytes > 0)) return vst3::kInvalidArgument;
    const std::size_t left = position_ < bytes_.size() ? bytes_.size() - position_ : 0;
    const auto moved = std::min({static_cast<std::size_t>(numBytes), static_cast<std::size_t>(bytesPerCall_), left});
    if (moved > 0) std::memcpy(buffer, bytes_.data() + position_, moved);
    position_ += moved;
    if (numBytesRead != nullptr) *numBytesRead = static_cast<vst3::int32>(moved);
    return vst3::kResultOk;
}

vst3::tresult MemoryStream::write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten) {
    ++calls_;
    if (numBytesWritten != nullptr) *numBytesWritten = 0;
    if (numBytes < 0 || (buffer == nullptr && numBytes > 0)) return vst3::kInvalidArgument;
    const auto moved = std::min(static_cast<std::size_t>(numBytes), static_cast<std::size_t>(bytesPerCall_));
    if (moved > 0) {
        if (bytes_.size() < position_ + moved) bytes_.resize(position_ + moved);
        std::memcpy(bytes_.data() + position_, buffer, moved);
    }
    position_ += moved;
    if (numBytesWritten != nullptr) *numBytesWritten = static_cast<vst3::int32>(moved);
    return vst3::kResultOk;
}

vst3::tresult MemoryStream::seek(vst3::int64 position, vst3::int32 mode, vst3::int64* result) {
    vst3::int64 base = 0;
    if (mode == vst3::kIBSeekCur) base = static_cast<vst3::int64>(position_);
    else if (mode == vst3::kIBSeekEnd) base = static_cast<vst3::int64>(bytes_.size());
    else if (mode != vst3::kIBSeekSet) return vst3::kInvalidArgument;
    // Past the end is allowed; before the start, or beyond what memory
    // could hold, is not.
    if (position < -base || position > INT32_MAX - base) return vst3::kInvalidArgument;
    position_ = static_cast<std::size_t>(base + position);
    if (result != nullptr) *result = static_cast<vst3::int64>(position_);
    return vst3::kResultOk;
}

vst3::tresult MemoryStream::tell(vst3::int64* position) {
    if (position == nullptr) return vst3::kInvalidArgument;
    *position = static_cast<vst3::int64>(position_);
    return vst3::kResultOk;
}

}  // namespace vst3host
