#include "vst_names.h"

#include <array>
#include <cstdio>
#include <utility>

namespace vst2host {

namespace {

constexpr std::array<std::pair<VstInt32, const char*>, 11> kFlagNames{{
    {effFlagsHasEditor, "effFlagsHasEditor"},
    {effFlagsHasClip, "effFlagsHasClip"},
    {effFlagsHasVu, "effFlagsHasVu"},
    {effFlagsCanMono, "effFlagsCanMono"},
    {effFlagsCanReplacing, "effFlagsCanReplacing"},
    {effFlagsProgramChunks, "effFlagsProgramChunks"},
    {effFlagsIsSynth, "effFlagsIsSynth"},
    {effFlagsNoSoundInStop, "effFlagsNoSoundInStop"},
    {effFlagsExtIsAsync, "effFlagsExtIsAsync"},
    {effFlagsExtHasBuffer, "effFlagsExtHasBuffer"},
    {effFlagsCanDoubleReplacing, "effFlagsCanDoubleReplacing"},
}};

// Indexed by the answer to effGetPlugCategory.
constexpr std::array<const char*, 12> kCategoryNames{
    "Unknown", "Effect",     "Synth",       "Analysis",       "Mastering", "Spacializer",
    "RoomFx",  "SurroundFx", "Restoration", "OfflineProcess", "Shell",     "Generator",
};

}  // namespace

std::string hexText(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08X", value);
    return text;
}

std::string flagNames(VstInt32 flags) {
    std::string names;
    auto unknown = static_cast<std::uint32_t>(flags);
    for (const auto& [bit, name] : kFlagNames) {
        if ((flags & bit) == 0) continue;
        names += (names.empty() ? "" : ", ") + std::string(name);
        unknown &= ~static_cast<std::uint32_t>(bit);
    }
    if (unknown != 0) names += (names.empty() ? "" : ", ") + hexText(unknown);
    return names.empty() ? "none" : names;
}

std::string categoryName(VstIntPtr category) {
    if (category >= 0 && static_cast<std::size_t>(category) < kCategoryNames.size()) {
        return kCategoryNames[static_cast<std::size_t>(category)];
    }
    return std::to_string(category);
}

std::optional<std::string> fourCharText(VstInt32 code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto character = static_cast<unsigned char>(static_cast<std::uint32_t>(code) >> shift);
        if (character < 0x20 || character > 0x7E) return std::nullopt;
        text += static_cast<char>(character);
    }
    return text;
}

}  // namespace vst2host
