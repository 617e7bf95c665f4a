#include "automation_settings.h"

#include <cmath>
#include <stdexcept>

#include "parameter_settings.h"

namespace slicecastcli {

namespace {

// Values between the round ones that any stepped parameter rounds away.
constexpr float kProbeValues[] = {0.137f, 0.381f, 0.619f, 0.863f};
// Read-back differences below this are the effect's own rounding of a
// continuous value, not a step.
constexpr float kRoundingTolerance = 1e-4f;

}  // namespace

bool isStepped(vsthost::PluginInstance& instance, VstInt32 index) {
    const float before = instance.getParameter(index);
    bool stepped = false;
    for (const float probe : kProbeValues) {
        instance.setParameter(index, probe);
        stepped = stepped || !(std::fabs(instance.getParameter(index) - probe) <= kRoundingTolerance);
    }
    instance.setParameter(index, before);
    return stepped;
}

std::vector<vsthost::ParameterAutomation> resolveAutomation(vsthost::PluginInstance& instance,
                                                            const std::vector<AutomationText>& automation) {
    std::vector<vsthost::ParameterAutomation> lanes;
    for (const AutomationText& text : automation) {
        vsthost::ParameterAutomation lane;
        lane.index = parameterIndex(instance, text.parameter);
        for (const vsthost::ParameterAutomation& earlier : lanes) {
            if (earlier.index == lane.index) {
                throw std::runtime_error("parameter " + instance.parameterName(lane.index) +
                                         " is automated twice; give all its points in one --automate");
            }
        }
        const float before = instance.getParameter(lane.index);
        lane.stepped = isStepped(instance, lane.index);
        for (const auto& [position, value] : text.points) {
            lane.points.push_back({position, valueFor(instance, lane.index, value)});
        }
        instance.setParameter(lane.index, before);
        lanes.push_back(std::move(lane));
    }
    return lanes;
}

}  // namespace slicecastcli
