#include "saved_state.h"

#include <cstdint>
#include <cstring>

#include "factory_presets.h"
#include "plain_parameters.h"

namespace slicecast {

namespace {

constexpr char kMagic[4] = {'S', 'L', 'C', 'S'};
constexpr std::uint32_t kValuesVersion = 1;
constexpr std::uint32_t kPresetVersion = 2;
constexpr std::size_t kValueCount = std::tuple_size_v<PlainValues>;
constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kValuesBytes = kHeaderBytes + 8 * kValueCount;
constexpr std::size_t kPresetBytes = kValuesBytes + 4;
using StateBytes = std::array<std::uint8_t, kPresetBytes>;

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

// The bytes of a state of this version, up to its length.
std::size_t fill(StateBytes& bytes, std::uint32_t version, const PlainValues& values, std::int32_t preset) noexcept {
    std::memcpy(bytes.data(), kMagic, sizeof kMagic);
    putLittleEndian(bytes.data() + 4, version, 4);
    putLittleEndian(bytes.data() + 8, kValueCount, 4);
    for (std::size_t i = 0; i < kValueCount; ++i) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &values[i], sizeof bits);
        putLittleEndian(bytes.data() + kHeaderBytes + 8 * i, bits, 8);
    }
    if (version == kValuesVersion) return kValuesBytes;
    putLittleEndian(bytes.data() + kValuesBytes, static_cast<std::uint32_t>(preset), 4);
    return kPresetBytes;
}

bool writeAll(ByteSink& sink, const std::uint8_t* bytes, std::size_t size) noexcept {
    std::size_t written = 0;
    while (written < size) {
        const std::int64_t moved = sink.write(bytes + written, size - written);
        if (moved <= 0 || static_cast<std::uint64_t>(moved) > size - written) return false;
        written += static_cast<std::size_t>(moved);
    }
    return true;
}

}  // namespace

bool writeSavedState(ByteSink& sink, const PlainValues& values) noexcept {
    StateBytes bytes{};
    return writeAll(sink, bytes.data(), fill(bytes, kValuesVersion, values, 0));
}

bool writeSavedState(ByteSink& sink, const PlainValues& values, std::int32_t preset) noexcept {
    StateBytes bytes{};
    return writeAll(sink, bytes.data(), fill(bytes, kPresetVersion, values, preset));
}

std::optional<SavedState> readSavedStateAndPreset(ByteSource& source) noexcept {
    // One byte more than a state holds, to tell a longer stream from ours.
    std::array<std::uint8_t, kPresetBytes + 1> bytes{};
    const std::optional<std::size_t> length = readFully(source, bytes.data(), bytes.size());
    if (!length || *length < kHeaderBytes) return std::nullopt;
    if (std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
    const std::uint64_t version = getLittleEndian(bytes.data() + 4, 4);
    if (version != kValuesVersion && version != kPresetVersion) return std::nullopt;
    if (*length != (version == kValuesVersion ? kValuesBytes : kPresetBytes)) return std::nullopt;
    if (getLittleEndian(bytes.data() + 8, 4) != kValueCount) return std::nullopt;
    SavedState state{};
    for (std::size_t index = 0; index < kValueCount; ++index) {
        const std::uint64_t bits = getLittleEndian(bytes.data() + kHeaderBytes + 8 * index, 8);
        std::memcpy(&state.values[index], &bits, sizeof bits);
        if (!inRange(index, state.values[index])) return std::nullopt;
    }
    if (version == kPresetVersion) {
        const auto preset = static_cast<std::int32_t>(getLittleEndian(bytes.data() + kValuesBytes, 4));
        if (preset < 0 || preset >= kFactoryPresetCount) return std::nullopt;
        state.preset = preset;
    }
    return state;
}

std::optional<PlainValues> readSavedState(ByteSource& source) noexcept {
    const std::optional<SavedState> state = readSavedStateAndPreset(source);
    if (!state) return std::nullopt;
    return state->values;
}

}  // namespace slicecast
