// A parameter's automation: values at quarter-note positions, as a DAW's
// automation lane holds them. Between two points a continuous parameter
// moves in a straight line and a stepped one keeps the earlier point's
// value, as DAWs draw them.
#pragma once

#include <cstdint>
#include <vector>

namespace pluginhost {

struct AutomationPoint {
    double position;  // quarter notes
    float value;      // in the effect's own units
};

struct ParameterAutomation {
    std::int32_t index = 0;
    bool stepped = false;
    // In order of position; two points may share one (a jump there).
    std::vector<AutomationPoint> points;

    // The value at position: the first point's before it, the last point's
    // after it. Between points a and b a continuous parameter takes
    //   a.value + float((position - a.position) / (b.position - a.position)) * (b.value - a.value)
    // (the fraction in double, the rest in float, as written), kept between
    // the two values against rounding.
    float valueAt(double position) const;
};

}  // namespace pluginhost
