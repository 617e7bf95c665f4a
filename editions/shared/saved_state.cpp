#include "saved_state.h"

#include <cstdint>
#include <cstring>

#include "plain_parameters.h"

namespace slicecast {

namespace {

constexpr char kMagic[4] = {'S', 'L', 'C', 'S'};
constexpr std::uint32_t kFormatVersion = 1;
constexpr std::size_t kValueCount = std::tuple_size_v<PlainValues>;
constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kStateBytes = kHeaderBytes + 8 * kValueCount;
using StateBytes = std::array<std::uint8_t, kStateBytes>;

void putLittleEndian(std::uint8_t* bytes, std::uint64_t value, std::size_t count) noexcept {
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t getLittleEndian(const std::uint8_t* bytes, std::size_t count) noexcept {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    return value;
}

// Reads until buffer is full or the source ends; answers the bytes read,
// or nothing on a stream error.
std::optional<std::size_t> readFully(ByteSource& source, std::uint8_t* buffer, std::size_t size) noexcept {
    std::size_t filled = 0;
    while (filled < size) {
        const std::int64_t moved = source.read(buffer + filled, size - filled);
        if (moved < 0 || static_cast<std::uint64_t>(moved) > size - filled) return std::nullopt;
        if (moved == 0) break;
        filled += static_cast<std::size_t>(moved);
    }
    return filled;
}

bool inRange(std::size_t index, double value) noexcept {
    const PlainRange& range = plainRanges[index];
    if (!(value >= range.minimum && value <= range.maximum)) return false;
    return !range.stepped || value == static_cast<double>(static_cast<std::int32_t>(value));
}

}  // namespace

bool writeSavedState(ByteSink& sink, const PlainValues& values) noexcept {
    StateBytes bytes{};
    std::memcpy(bytes.data(), kMagic, sizeof kMagic);
    putLittleEndian(bytes.data() + 4, kFormatVersion, 4);
    putLittleEndian(bytes.data() + 8, kValueCount, 4);
    for (std::size_t i = 0; i < kValueCount; ++i) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &values[i], sizeof bits);
        putLittleEndian(bytes.data() + kHeaderBytes + 8 * i, bits, 8);
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::int64_t moved = sink.write(bytes.data() + written, bytes.size() - written);
        if (moved <= 0 || static_cast<std::uint64_t>(moved) > bytes.size() - written) return false;
        written += static_cast<std::size_t>(moved);
    }
    return true;
}

std::optional<PlainValues> readSavedState(ByteSource& source) noexcept {
    // One byte more than a state holds, to tell a longer stream from ours.
    std::array<std::uint8_t, kStateBytes + 1> bytes{};
    const std::optional<std::size_t> length = readFully(source, bytes.data(), bytes.size());
    if (!length || *length != kStateBytes) return std::nullopt;
    if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
    if (getLittleEndian(bytes.data() + 4, 4) != kFormatVersion) return std::nullopt;
    if (getLittleEndian(bytes.data() + 8, 4) != kValueCount) return std::nullopt;
    PlainValues values{};
    for (std::size_t index = 0; index < kValueCount; ++index) {
        const std::uint64_t bits = getLittleEndian(bytes.data() + kHeaderBytes + 8 * index, 8);
        std::memcpy(&values[index], &bits, sizeof bits);
        if (!inRange(index, values[index])) return std::nullopt;
    }
    return values;
}

}  // namespace slicecast
