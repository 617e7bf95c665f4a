// The factory presets as a VST 3 host finds them: a program list on the
// controller's root unit, and a seventh parameter, flagged as the program
// change, that selects among them. The parameter is a list of one step per
// program: program k is k / (N - 1), and a value v is program
// min(N - 1, floor(v x N)), the format's rule for lists. It is neither
// automatable (one change rewrites six parameters), nor hidden or read-only
// (hosts would then not set it).
//
// Choosing a program sets the six values to the preset's; the program
// itself is kept and saved only to show the host's choice again. A host
// that sends the program it already has (restoring a session) changes
// nothing, so that values edited after the choice stand.
#pragma once

#include <cstdint>
#include <optional>

#include "factory_presets.h"
#include "vst3_abi.h"
#include "vst3_parameters.h"

namespace slicecast {

constexpr vst3::ParamID kProgramParameterId = 100;
constexpr vst3::ProgramListID kProgramListId = 100;
constexpr std::int32_t kProgramCount = kFactoryPresetCount;
// The six and the program.
constexpr std::int32_t kVst3ParameterInfoCount = kVst3ParameterCount + 1;
static_assert(kProgramParameterId >= static_cast<vst3::ParamID>(kVst3ParameterCount));

inline bool isProgramParameter(vst3::ParamID id) noexcept { return id == kProgramParameterId; }

void programParameterInfo(vst3::ParameterInfo& info) noexcept;
void programListInfo(vst3::ProgramListInfo& info) noexcept;

// A value that is not a number, or below 0, is the first program.
std::int32_t programOfNormalized(double normalized) noexcept;
double normalizedOfProgram(std::int32_t program) noexcept;
// The nearest program to a plain value (an index), clamped.
std::int32_t programOfPlain(double plain) noexcept;

// The six values of a program, as the edition keeps them.
NormalizedValues programValues(std::int32_t program) noexcept;

// false for a program that is not in the list.
bool writeProgramName(std::int32_t program, vst3::String128 name) noexcept;
// The program with this name; nothing for a name not in the list.
std::optional<std::int32_t> programOfName(const vst3::TChar* name) noexcept;

}  // namespace slicecast
