// The LV2 edition's parameter ports, reached inside the adapter: what a run
// reads must be what mapping the ports' values afresh gives, to the bit,
// whatever the host did to the ports since the last run.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <limits>

#include "lv2_parameter_ports.h"
#include "plain_parameters.h"
#include "sound_parameter_bits.h"

namespace {

using slicecast::Lv2ParameterPorts;
using slicecast::SoundParameters;

using testsupport::expectSameBits;
using testsupport::floatBits;

float floatOf(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

SoundParameters mappedAfresh(const std::array<float, 6>& ports) {
    std::array<double, 6> plain{};
    for (std::size_t index = 0; index < plain.size(); ++index) plain[index] = static_cast<double>(ports[index]);
    return slicecast::soundParametersFromPlain(plain);
}

SoundParameters mappedDefaults() { return slicecast::soundParametersFromPlain(slicecast::kDefaultPlainValues); }

// Six ports the way a host holds them, connected to an instance.
struct ConnectedPorts {
    std::array<float, 6> values{9.0f, 1.0f, 55.0f, 30.0f, 80.0f, 60.0f};
    Lv2ParameterPorts ports;

    ConnectedPorts() {
        for (std::int32_t index = 0; index < 6; ++index) ports.connect(index, &values[static_cast<std::size_t>(index)]);
        ports.read();
    }
};

TEST(Lv2ParameterPorts, UnconnectedPortsGiveTheDefaults) {
    Lv2ParameterPorts ports;
    expectSameBits(mappedDefaults(), ports.mapped());
    ports.read();
    expectSameBits(mappedDefaults(), ports.mapped());
}

TEST(Lv2ParameterPorts, ConnectedPortsAreReadAtTheNextRun) {
    ConnectedPorts host;
    expectSameBits(mappedAfresh(host.values), host.ports.mapped());
    ASSERT_NE(mappedAfresh(host.values).waveLengthIndex, mappedDefaults().waveLengthIndex);
}

TEST(Lv2ParameterPorts, EveryChangeInBitsIsMappedAsIfAfresh) {
    constexpr float kQuietNaN = std::numeric_limits<float>::quiet_NaN();
    const struct {
        std::size_t port;
        float value;
    } changes[] = {
        {0, 2.0f},  {1, 4.0f},      {2, -0.0f},      {2, 0.0f},         {3, kQuietNaN},
        {3, 40.0f}, {4, -kQuietNaN}, {4, 1.0e-45f},  {5, 100.0f},       {5, -100.0f},
        {0, 11.4f}, {0, 11.6f},     {1, -1.0f},      {5, floatOf(0x7f800001u)},
    };
    ConnectedPorts host;
    for (const auto& change : changes) {
        host.values[change.port] = change.value;
        host.ports.read();
        SCOPED_TRACE(testing::Message() << "port " << change.port << " to bits " << floatBits(change.value));
        expectSameBits(mappedAfresh(host.values), host.ports.mapped());
    }
}

TEST(Lv2ParameterPorts, MinusZeroIsHeardAfterPlusZero) {
    ConnectedPorts host;
    host.values[2] = 0.0f;
    host.ports.read();
    const std::uint32_t plusZeroRate = floatBits(host.ports.mapped().shape.rate);
    host.values[2] = -0.0f;
    host.ports.read();
    EXPECT_NE(floatBits(host.ports.mapped().shape.rate), plusZeroRate);
    EXPECT_EQ(floatBits(host.ports.mapped().shape.rate), floatBits(-0.0f));
}

TEST(Lv2ParameterPorts, APortMovedToAnotherBufferIsReadThere) {
    ConnectedPorts host;
    const float elsewhere = 3.0f;
    host.ports.connect(0, &elsewhere);
    host.ports.read();
    auto expected = host.values;
    expected[0] = elsewhere;
    expectSameBits(mappedAfresh(expected), host.ports.mapped());
}

TEST(Lv2ParameterPorts, APortConnectedToNullGoesBackToItsDefault) {
    ConnectedPorts host;
    host.ports.connect(5, nullptr);
    host.ports.read();
    auto expected = host.values;
    expected[5] = static_cast<float>(slicecast::plainRanges[5].defaultValue);
    expectSameBits(mappedAfresh(expected), host.ports.mapped());
    EXPECT_NE(floatBits(host.ports.mapped().shape.mix), floatBits(mappedAfresh(host.values).shape.mix));
}

}  // namespace
