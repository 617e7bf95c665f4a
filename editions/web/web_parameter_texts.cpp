#include "web_parameter_texts.h"

#include <cstring>

#include "parameter_tables.h"
#include "parameter_values.h"
#include "plain_parameters.h"
#include "slicecast_identity.h"

namespace slicecast {

const char* parameterName(std::int32_t index) noexcept {
    if (index < 0 || index >= kParameterCount) return nullptr;
    return parameterTexts[static_cast<std::size_t>(index)].name;
}

void writeValueText(std::int32_t index, float plain, char* text) noexcept {
    text[0] = '\0';
    if (index < 0 || index >= kParameterCount) return;
    const double value = static_cast<double>(plain);
    char display[kParameterTextBound + 1] = {};
    switch (index) {
        case kWaveLength: writeWaveLengthDisplay(stepFromPlain(value, kMaxWaveLengthIndex), display); break;
        case kUpdatePeriod: writeUpdatePeriodDisplay(stepFromPlain(value, kMaxUpdatePeriodIndex), display); break;
        default:
            writePercentDisplay(fractionFromPercent(value, plainRanges[static_cast<std::size_t>(index)].defaultValue),
                                display);
            break;
    }
    // The display is at most kParameterTextBound characters, the labels
    // one: both fit with the blank between them.
    const char* label = parameterTexts[static_cast<std::size_t>(index)].label;
    std::size_t length = std::strlen(display);
    std::memcpy(text, display, length);
    if (label[0] != '\0') {
        text[length++] = ' ';
        const std::size_t labelLength = std::strlen(label);
        std::memcpy(text + length, label, labelLength);
        length += labelLength;
    }
    text[length] = '\0';
}

}  // namespace slicecast
