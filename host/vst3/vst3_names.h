// Words for what a VST 3 plug-in tells a host in numbers: class ids as the
// format prints them, and the names of flags and bus kinds.
#pragma once

#include <string>

#include "vst3_abi.h"

namespace vst3host {

// The id's four words as 32 upper-case hex digits, as the format's tools
// print a class id and moduleinfo.json holds it.
std::string uidText(const vst3::Uid& id);

// "unicode, classes discardable", or "no flags".
std::string factoryFlagNames(vst3::int32 flags);
// "automatable, list", or "no flags".
std::string parameterFlagNames(vst3::int32 flags);
// "main" or "aux", else the number.
std::string busTypeName(vst3::BusType type);
std::string speakerArrangementName(vst3::SpeakerArrangement arrangement);
// The process context's fields a processor asks for: "project time music,
// tempo", or "nothing".
std::string contextRequirementNames(vst3::uint32 requirements);

}  // namespace vst3host
