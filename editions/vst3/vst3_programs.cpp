#include "vst3_programs.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "vst3_text.h"

namespace slicecast {

namespace {

constexpr std::int32_t kLastProgram = kProgramCount - 1;
static_assert(kProgramCount >= 2, "a list of one step would read as a continuous parameter");

}  // namespace

void programParameterInfo(vst3::ParameterInfo& info) noexcept {
    std::memset(&info, 0, sizeof info);
    info.id = kProgramParameterId;
    writeUtf16("Program", info.title, vst3::kString128Size);
    writeUtf16("Program", info.shortTitle, vst3::kString128Size);
    info.stepCount = kLastProgram;
    info.defaultNormalizedValue = 0.0;
    info.unitId = vst3::kRootUnitId;
    info.flags = vst3::kIsProgramChange | vst3::kIsList;
}

void programListInfo(vst3::ProgramListInfo& info) noexcept {
    std::memset(&info, 0, sizeof info);
    info.id = kProgramListId;
    writeUtf16("Factory Presets", info.name, vst3::kString128Size);
    info.programCount = kProgramCount;
}

std::int32_t programOfNormalized(double normalized) noexcept {
    if (!(normalized > 0.0)) return 0;
    return static_cast<std::int32_t>(std::min(static_cast<double>(kLastProgram), normalized * kProgramCount));
}

double normalizedOfProgram(std::int32_t program) noexcept {
    return static_cast<double>(program) / static_cast<double>(kLastProgram);
}

std::int32_t programOfPlain(double plain) noexcept { return stepFromPlain(plain, kLastProgram); }

NormalizedValues programValues(std::int32_t program) noexcept {
    return normalizedValuesOf(factoryPresets[static_cast<std::size_t>(program)].plain);
}

bool writeProgramName(std::int32_t program, vst3::String128 name) noexcept {
    if (program < 0 || program >= kProgramCount || name == nullptr) return false;
    writeUtf16(factoryPresets[static_cast<std::size_t>(program)].name, name, vst3::kString128Size);
    return true;
}

std::optional<std::int32_t> programOfName(const vst3::TChar* name) noexcept {
    char ascii[vst3::kString128Size];
    const std::optional<std::string_view> read = asciiOf(name, ascii, sizeof ascii);
    if (!read) return std::nullopt;
    for (std::int32_t program = 0; program < kProgramCount; ++program) {
        if (*read == factoryPresets[static_cast<std::size_t>(program)].name) return program;
    }
    return std::nullopt;
}

}  // namespace slicecast
