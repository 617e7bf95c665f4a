// The LV2 edition's binary driven directly through its lv2_descriptor
// export, as a host does once it has read the bundle's .ttl: for the
// platform renders, where there is no lilv. The port layout is Slicecast's
// (the bundle tests check it against the .ttl through lilv).
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <lv2/core/lv2.h>

#include "event_sequence.h"
#include "lv2_time_position.h"
#include "render_scenarios.h"
#include "shared_library.h"
#include "stereo_ports.h"
#include "urid_map.h"

namespace platforms {

class DescriptorInstance {
public:
    // Instantiates with urid:map and activates; throws std::runtime_error
    // when the plug-in refuses.
    DescriptorInstance(const pluginhost::SharedLibrary& library, double sampleRate);
    ~DescriptorInstance();
    DescriptorInstance(const DescriptorInstance&) = delete;
    DescriptorInstance& operator=(const DescriptorInstance&) = delete;

    // port: wave_length (4) .. mix (9).
    void setControl(std::uint32_t port, float value);
    void run(const lv2host::StereoPorts& audio, std::uint32_t frames, const std::vector<lv2host::TimePosition>& events);

private:
    lv2host::UridMap map_;
    lv2host::EventSequence events_;
    // The six control ports, at the defaults of the .ttl.
    std::array<float, 6> controls_{5.0f, 3.0f, 70.0f, 0.0f, 100.0f, 100.0f};
    const LV2_Descriptor* descriptor_ = nullptr;
    LV2_Handle handle_ = nullptr;
};

// Plays the scenario through a new instance of the LV2 edition in library.
pluginhost::StereoBuffer renderLv2Scenario(const Scenario& scenario, const pluginhost::SharedLibrary& library);

}  // namespace platforms
