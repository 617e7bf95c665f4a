#include "vst3_names.h"

#include <cstdio>
#include <utility>

namespace vst3host {

namespace {

template <typename Bits, std::size_t count>
std::string namesOf(Bits flags, const std::pair<Bits, const char*> (&known)[count]) {
    std::string names;
    for (const auto& [bit, name] : known) {
        if ((flags & bit) != 0) names += (names.empty() ? "" : ", ") + std::string(name);
    }
    return names.empty() ? "no flags" : names;
}

}  // namespace

std::string uidText(const vst3::Uid& id) {
    std::string text;
    for (const std::uint32_t word : vst3::wordsOf(id)) {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08X", static_cast<unsigned>(word));
        text += digits;
    }
    return text;
}

std::string factoryFlagNames(vst3::int32 flags) {
    const std::pair<vst3::int32, const char*> known[] = {
        {vst3::kClassesDiscardable, "classes discardable"},
        {vst3::kLicenseCheck, "license check"},
        {vst3::kComponentNonDiscardable, "component non discardable"},
        {vst3::kUnicode, "unicode"},
    };
    return namesOf(flags, known);
}

std::string parameterFlagNames(vst3::int32 flags) {
    const std::pair<vst3::int32, const char*> known[] = {
        {vst3::kCanAutomate, "automatable"}, {vst3::kIsReadOnly, "read-only"},
        {vst3::kIsWrapAround, "wrap-around"}, {vst3::kIsList, "list"},
        {vst3::kIsHidden, "hidden"},          {vst3::kIsProgramChange, "program change"},
        {vst3::kIsBypass, "bypass"},
    };
    return namesOf(flags, known);
}

std::string contextRequirementNames(vst3::uint32 requirements) {
    const std::pair<vst3::uint32, const char*> known[] = {
        {vst3::kNeedSystemTime, "system time"},
        {vst3::kNeedContinousTimeSamples, "continuous time samples"},
        {vst3::kNeedProjectTimeMusic, "project time music"},
        {vst3::kNeedBarPositionMusic, "bar position music"},
        {vst3::kNeedCycleMusic, "cycle music"},
        {vst3::kNeedSamplesToNextClock, "samples to next clock"},
        {vst3::kNeedTempo, "tempo"},
        {vst3::kNeedTimeSignature, "time signature"},
        {vst3::kNeedChord, "chord"},
        {vst3::kNeedFrameRate, "frame rate"},
        {vst3::kNeedTransportState, "transport state"},
    };
    return requirements == 0 ? "nothing" : namesOf(requirements, known);
}

std::string busTypeName(vst3::BusType type) {
    if (type == vst3::kMain) return "main";
    if (type == vst3::kAux) return "aux";
    return "type " + std::to_string(type);
}

std::string speakerArrangementName(vst3::SpeakerArrangement arrangement) {
    namespace arrangements = vst3::speaker_arrangements;
    if (arrangement == arrangements::kStereo) return "stereo";
    if (arrangement == arrangements::kMono) return "mono";
    if (arrangement == arrangements::kEmpty) return "empty";
    char bits[24];
    std::snprintf(bits, sizeof bits, "0x%llX", static_cast<unsigned long long>(arrangement));
    return std::to_string(vst3::channelCountOf(arrangement)) + " speakers (" + bits + ")";
}

}  // namespace vst3host
