#include "control_texts.h"

#include "parameter_values.h"
#include "plain_parameters.h"
#include "slicecast_identity.h"

namespace slicecast::editor {

std::string stepText(ParameterIndex parameter, std::int32_t step) {
    char text[kParameterTextBound + 1];
    if (parameter == kWaveLength) {
        writeWaveLengthDisplay(step, text);
    } else {
        writeUpdatePeriodDisplay(step, text);
    }
    return text;
}

std::string controlText(ParameterIndex parameter, double plain) {
    if (plainRanges[parameter].stepped) {
        const std::int32_t maxStep = parameter == kWaveLength ? kMaxWaveLengthIndex : kMaxUpdatePeriodIndex;
        return stepText(parameter, stepFromPlain(plain, maxStep));
    }
    char text[kParameterTextBound + 1];
    writePercentDisplay(fractionFromPercent(plain, plainRanges[parameter].defaultValue), text);
    return std::string(text) + " " + parameterTexts[parameter].label;
}

}  // namespace slicecast::editor
