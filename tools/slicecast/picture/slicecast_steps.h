// Which of Slicecast's steps a value of its two stepped parameters stands
// for, in each edition's units: 0 to 1 for VST 2.4, the step itself for
// LV2, CLAP and VST 3. The picture reads them to mark where the sound starts its
// periods and passes.
#pragma once

#include <cstdint>
#include <optional>

#include "hosted_effect.h"

namespace slicecastcli {

class SlicecastSteps {
public:
    // The steps of the effect's format if the effect is one of Slicecast's
    // editions; none for any other effect.
    static std::optional<SlicecastSteps> of(pluginhost::HostedEffect& effect);

    explicit SlicecastSteps(pluginhost::PluginFormat format) : format_(format) {}

    std::int32_t waveLength(float value) const;
    std::int32_t updatePeriod(float value) const;

private:
    pluginhost::PluginFormat format_;
};

}  // namespace slicecastcli
