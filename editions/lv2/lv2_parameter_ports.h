// The LV2 edition's six parameter ports, read once per run and kept in the
// sound's terms. Hosts change control ports between runs, mostly not at
// all, so a run compares the ports' bits with the last run's and maps them
// again only when one differs: the common run is six loads and a compare,
// with no conversion to double and no branch per port.
#pragma once

#include <array>
#include <cstdint>

#include "slicecast_identity.h"
#include "slicecast_sound.h"

namespace slicecast {

class Lv2ParameterPorts {
public:
    // Every port unconnected: the defaults.
    Lv2ParameterPorts() noexcept;

    // The port of parameter index (0..5); null leaves the parameter at its
    // default, as for a port the host never connects.
    void connect(std::int32_t index, const float* data) noexcept;

    // Reads the ports as they stand now; mapped() then answers for them.
    void read() noexcept;
    const SoundParameters& mapped() const noexcept { return mapped_; }

private:
    // Never null: an unconnected port points at its default.
    std::array<const float*, kParameterCount> ports_;
    // The float bits the mapping was made from. Floats that differ in bits
    // may still widen to the same double (signalling NaNs do), which then
    // maps to the same values: such a compare maps again for nothing, never
    // misses a change.
    std::array<std::uint32_t, kParameterCount> bits_;
    SoundParameters mapped_;
};

}  // namespace slicecast
