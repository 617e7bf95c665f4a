#include "parameter_automation.h"

#include <algorithm>

namespace pluginhost {

float ParameterAutomation::valueAt(double position) const {
    const auto next = std::upper_bound(points.begin(), points.end(), position,
                                       [](double at, const AutomationPoint& point) { return at < point.position; });
    if (next == points.begin()) return next->value;
    const AutomationPoint& before = *std::prev(next);
    if (next == points.end() || stepped) return before.value;
    // position lies in [before, next), and next lies strictly after before.
    const auto fraction = static_cast<float>((position - before.position) / (next->position - before.position));
    const float value = before.value + fraction * (next->value - before.value);
    return std::clamp(value, std::min(before.value, next->value), std::max(before.value, next->value));
}

}  // namespace pluginhost
