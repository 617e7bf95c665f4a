#include "vst_effect.h"

#include <cmath>

#include "exact_text.h"
#include "vst_entry_point.h"
#include "vst_names.h"
#include "vst_time_record.h"

namespace pluginhost {

using vst2host::categoryName;
using vst2host::flagNames;
using vst2host::fourCharText;
using vst2host::hexText;
using vst2host::timeRecordOf;

namespace {

constexpr int kMaxChannels = 2;

bool feedable(VstInt32 channels) { return channels >= 1 && channels <= kMaxChannels; }

// Values between the round ones that any stepped parameter rounds away.
constexpr float kProbeValues[] = {0.137f, 0.381f, 0.619f, 0.863f};
// Read-back differences below this are the effect's own rounding of a
// continuous value, not a step.
constexpr float kRoundingTolerance = 1e-4f;

std::string hexCode(VstInt32 code) { return hexText(static_cast<std::uint32_t>(code)); }

}  // namespace

VstIntPtr VstEffect::TimeHost::answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                      float opt) {
    if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&record);
    return vst2host::Host::answer(effect, opcode, index, value, ptr, opt);
}

VstEffect::VstEffect(const std::string& libraryPath)
    : library_(libraryPath), instance_(host_, vst2host::entryPointOf(library_)) {}

std::string VstEffect::identifier() {
    const VstInt32 id = instance_.effect()->uniqueID;
    return fourCharText(id).value_or(hexCode(id));
}

std::vector<EffectFact> VstEffect::facts() {
    const AEffect& effect = *instance_.effect();
    const auto code = fourCharText(effect.uniqueID);
    const VstIntPtr category = instance_.dispatch(effGetPlugCategory);
    return {
        {"Name", instance_.effectName()},
        {"Vendor", instance_.vendorString()},
        {"Product", instance_.productString()},
        {"Unique id", code ? *code + " (" + hexCode(effect.uniqueID) + ")" : hexCode(effect.uniqueID)},
        {"Version", std::to_string(effect.version)},
        {"Vendor version", std::to_string(instance_.dispatch(effGetVendorVersion))},
        {"VST version", std::to_string(instance_.dispatch(effGetVstVersion))},
        {"Inputs", std::to_string(effect.numInputs)},
        {"Outputs", std::to_string(effect.numOutputs)},
        {"Flags", flagNames(effect.flags) + " (" + hexCode(effect.flags) + ")"},
        {"Category", categoryName(category) + " (" + std::to_string(category) + ")"},
        {"Programs", std::to_string(effect.numPrograms)},
    };
}

void VstEffect::requireRenderable(int channels) const {
    const AEffect& effect = *instance_.effect();
    if ((effect.flags & effFlagsCanReplacing) == 0) {
        throw HostError(
            "the effect cannot process in place (effFlagsCanReplacing is not set); "
            "this host calls processReplacing only");
    }
    if (!feedable(effect.numInputs) || !feedable(effect.numOutputs)) {
        throw HostError("the effect has " + std::to_string(effect.numInputs) + " inputs and " +
                        std::to_string(effect.numOutputs) + " outputs; this host feeds effects with 1 or 2 of each");
    }
    if (effect.numInputs < channels) {
        throw HostError("the effect has one input but the file has " + std::to_string(channels) +
                        " channels; give it a mono file");
    }
}

void VstEffect::activate(double sampleRate, std::int32_t maxFrames) {
    host_.transport = Transport(sampleRate);
    host_.record = timeRecordOf(BlockTime{.sampleRate = sampleRate});
    host_.blockSize = maxFrames;
    instance_.switchOn(static_cast<float>(sampleRate), maxFrames);
}

// Whether the parameter keeps steps rather than any value: the effect reads
// back something else than it was sent (Slicecast's WaveLength and
// UpdatePeriod do). The interface's own query for this is one that few
// effects answer.
ParameterRange VstEffect::parameterRange(std::int32_t index) {
    const float before = instance_.getParameter(index);
    bool stepped = false;
    for (const float probe : kProbeValues) {
        instance_.setParameter(index, probe);
        stepped = stepped || !(std::fabs(instance_.getParameter(index) - probe) <= kRoundingTolerance);
    }
    instance_.setParameter(index, before);
    return {0.0f, 1.0f, stepped};
}

void VstEffect::process(const BlockTime& time, float** inputs, float** outputs, std::int32_t frames) {
    host_.record = timeRecordOf(time);
    instance_.processReplacing(inputs, outputs, frames);
}

std::string VstEffect::timeColumns() const { return "position,tempo,flags,sample_rate"; }

std::string VstEffect::timeFields(const BlockTime& told) const {
    const VstTimeInfo record = timeRecordOf(told);
    return exactText(record.ppqPos) + ',' + exactText(record.tempo) + ',' + std::to_string(record.flags) + ',' +
           exactText(record.sampleRate);
}

}  // namespace pluginhost
