// The one way every fuzz target turns its input into calls: whole numbers
// in a range, counts, choices, and numbers as a careless or hostile host
// sends them (NaN, infinities, huge and tiny values, or any bits at all).
// An input that runs out reads as zeros, so every script ends.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace slicecastfuzz {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : input_(data, size) {}

    bool empty() { return input_.remaining_bytes() == 0; }
    std::size_t remaining() { return input_.remaining_bytes(); }

    template <typename Int>
    Int integer(Int lowest, Int highest) {
        return input_.ConsumeIntegralInRange<Int>(lowest, highest);
    }
    template <typename Int>
    Int anyInteger() {
        return input_.ConsumeIntegral<Int>();
    }
    bool flag() { return input_.ConsumeBool(); }
    // One of count choices, 0 to count - 1.
    std::size_t choice(std::size_t count) { return integer<std::size_t>(0, count - 1); }

    // Mostly a value from the edges of the number line, else any bits.
    double anyDouble() {
        const std::size_t pick = choice(kEdges.size() + 1);
        if (pick < kEdges.size()) return kEdges[pick];
        const auto bits = anyInteger<std::uint64_t>();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    float anyFloat() {
        const std::size_t pick = choice(kEdges.size() + 1);
        if (pick < kEdges.size()) return static_cast<float>(kEdges[pick]);
        const auto bits = anyInteger<std::uint32_t>();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    // A value a well-behaved host would send in [lowest, highest], or now
    // and then anything at all.
    double valueIn(double lowest, double highest) {
        if (choice(8) == 0) return anyDouble();
        return lowest + (highest - lowest) * (integer<std::uint32_t>(0, 1u << 20) / double(1u << 20));
    }
    // An audio sample from -1 to just under 1.
    float sample() { return static_cast<float>(anyInteger<std::int16_t>()) / 32768.0f; }

    std::vector<std::uint8_t> bytes(std::size_t most) {
        return input_.ConsumeBytes<std::uint8_t>(integer<std::size_t>(0, most));
    }
    std::string text(std::size_t most) { return input_.ConsumeRandomLengthString(most); }

private:
    static constexpr double kInf = std::numeric_limits<double>::infinity();
    static constexpr std::array<double, 16> kEdges{
        0.0,   -0.0, 0.5, 1.0, -1.0, 100.0, 1e-45, -1e-300, std::numeric_limits<double>::max(),
        1e300, 4e9,  -kInf, kInf, std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::denorm_min()};

    FuzzedDataProvider input_;
};

}  // namespace slicecastfuzz
