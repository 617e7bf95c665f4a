#include "vst3_state.h"

#include <algorithm>
#include <limits>

namespace slicecast {

namespace {

constexpr std::size_t kLargestCall = std::numeric_limits<vst3::int32>::max();

// The count a call moved, or -1 when it failed or claims more than asked.
std::int64_t movedBy(vst3::tresult result, vst3::int32 moved, vst3::int32 asked) noexcept {
    if (result != vst3::kResultOk || moved < 0 || moved > asked) return -1;
    return moved;
}

class StreamSource final : public ByteSource {
public:
    explicit StreamSource(vst3::IBStream& stream) noexcept : stream_(stream) {}
    std::int64_t read(std::uint8_t* buffer, std::size_t size) noexcept override {
        const auto asked = static_cast<vst3::int32>(std::min(size, kLargestCall));
        vst3::int32 moved = 0;
        const vst3::tresult result = stream_.read(buffer, asked, &moved);
        return movedBy(result, moved, asked);
    }

private:
    vst3::IBStream& stream_;
};

class StreamSink final : public ByteSink {
public:
    explicit StreamSink(vst3::IBStream& stream) noexcept : stream_(stream) {}
    std::int64_t write(const std::uint8_t* bytes, std::size_t size) noexcept override {
        const auto asked = static_cast<vst3::int32>(std::min(size, kLargestCall));
        vst3::int32 moved = 0;
        // The stream takes a pointer to writable bytes but only reads them.
        const vst3::tresult result = stream_.write(const_cast<std::uint8_t*>(bytes), asked, &moved);
        return movedBy(result, moved, asked);
    }

private:
    vst3::IBStream& stream_;
};

}  // namespace

bool writeState(vst3::IBStream& stream, const PlainValues& values, std::int32_t program) noexcept {
    StreamSink sink(stream);
    return writeSavedState(sink, values, program);
}

std::optional<SavedState> readState(vst3::IBStream& stream) noexcept {
    StreamSource source(stream);
    return readSavedStateAndPreset(source);
}

}  // namespace slicecast
