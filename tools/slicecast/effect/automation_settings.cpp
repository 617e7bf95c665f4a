#include "automation_settings.h"

#include <stdexcept>

#include "parameter_settings.h"

namespace slicecastcli {

std::vector<pluginhost::ParameterAutomation> resolveAutomation(pluginhost::HostedEffect& effect,
                                                            const std::vector<AutomationText>& automation) {
    std::vector<pluginhost::ParameterAutomation> lanes;
    for (const AutomationText& text : automation) {
        pluginhost::ParameterAutomation lane;
        lane.index = parameterIndex(effect, text.parameter);
        for (const pluginhost::ParameterAutomation& earlier : lanes) {
            if (earlier.index == lane.index) {
                throw std::runtime_error("parameter " + effect.parameterName(lane.index) +
                                         " is automated twice; give all its points in one --automate");
            }
        }
        const float before = effect.parameter(lane.index);
        lane.stepped = effect.parameterRange(lane.index).stepped;
        for (const auto& [position, value] : text.points) {
            lane.points.push_back({position, valueFor(effect, lane.index, value)});
        }
        effect.setParameter(lane.index, before);
        lanes.push_back(std::move(lane));
    }
    return lanes;
}

}  // namespace slicecastcli
