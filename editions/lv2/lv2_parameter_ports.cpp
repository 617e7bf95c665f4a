#include "lv2_parameter_ports.h"

#include <cstring>
#include <utility>

#include "plain_parameters.h"

namespace slicecast {

namespace {

// The defaults as a port would hold them; each is exact in single precision.
constexpr std::array<float, kParameterCount> defaultPortValues() noexcept {
    std::array<float, kParameterCount> values{};
    for (std::size_t index = 0; index < values.size(); ++index)
        values[index] = static_cast<float>(plainRanges[index].defaultValue);
    return values;
}

constexpr std::array<float, kParameterCount> kDefaultPortValues = defaultPortValues();

constexpr bool defaultsExactInFloat() noexcept {
    for (std::size_t index = 0; index < kDefaultPortValues.size(); ++index)
        if (static_cast<double>(kDefaultPortValues[index]) != plainRanges[index].defaultValue) return false;
    return true;
}
static_assert(defaultsExactInFloat());

std::uint32_t bitsOf(const float* port) noexcept {
    std::uint32_t bits;
    std::memcpy(&bits, port, sizeof bits);
    return bits;
}

// Nonzero when a port's bits differ from the last ones: straight-line code,
// twelve loads and no branch until the end.
template <std::size_t... Index>
std::uint32_t differingBits(const std::array<const float*, kParameterCount>& ports,
                            const std::array<std::uint32_t, kParameterCount>& bits,
                            std::index_sequence<Index...>) noexcept {
    return ((bitsOf(ports[Index]) ^ bits[Index]) | ...);
}

SoundParameters soundParametersFromBits(const std::array<std::uint32_t, kParameterCount>& bits) noexcept {
    std::array<double, kParameterCount> plain{};
    for (std::size_t index = 0; index < plain.size(); ++index) {
        float value;
        std::memcpy(&value, &bits[index], sizeof value);
        plain[index] = static_cast<double>(value);
    }
    return soundParametersFromPlain(plain);
}

}  // namespace

Lv2ParameterPorts::Lv2ParameterPorts() noexcept {
    for (std::size_t index = 0; index < ports_.size(); ++index) {
        ports_[index] = &kDefaultPortValues[index];
        bits_[index] = bitsOf(ports_[index]);
    }
    mapped_ = soundParametersFromBits(bits_);
}

void Lv2ParameterPorts::connect(std::int32_t index, const float* data) noexcept {
    const auto at = static_cast<std::size_t>(index);
    ports_[at] = data != nullptr ? data : &kDefaultPortValues[at];
}

void Lv2ParameterPorts::read() noexcept {
    if (differingBits(ports_, bits_, std::make_index_sequence<kParameterCount>()) == 0) return;
    for (std::size_t index = 0; index < ports_.size(); ++index) bits_[index] = bitsOf(ports_[index]);
    mapped_ = soundParametersFromBits(bits_);
}

}  // namespace slicecast
