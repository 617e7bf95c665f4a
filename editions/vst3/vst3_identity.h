// Who the effect is to a VST 3 host: the two class ids, which hosts save in
// their projects and which therefore never change, the names, the vendor
// with the project's address, and the category hosts file the effect under.
//
// The build writes the bundle's moduleinfo.json from this file
// (write_moduleinfo.cmake reads it as text): each value stays a literal on a
// line of its own, in the form it has here.
#pragma once

#include <cstdint>
#include <string_view>

#include "slicecast_identity.h"
#include "vst3_abi.h"

namespace slicecast {

constexpr vst3::UidWords kVst3ProcessorClassWords{0x30E1D665, 0xB62B4B7C, 0xAB2EC3C6, 0xD1E4BE17};
constexpr vst3::UidWords kVst3ControllerClassWords{0x3BB9673C, 0x98BD477F, 0x98225033, 0xF23F30ED};

constexpr const char* kVst3ProcessorName = "J'x Slicecast";
constexpr const char* kVst3ControllerName = "J'x Slicecast Controller";
constexpr const char* kVst3Vendor = "J'x Tiv-nar";
constexpr const char* kVst3Url = "https://slicecast.tiv-nar.example/";
constexpr const char* kVst3Email = "slicecast@tiv-nar.example";
constexpr const char* kVst3SubCategories = "Fx|Delay";

// Neither class asks anything of the host's scheduling.
constexpr std::uint32_t kVst3ProcessorClassFlags = 0;
// Every text in the class infos is also given as UTF-16.
constexpr std::int32_t kVst3FactoryFlags = 16;

constexpr vst3::Uid kVst3ProcessorClassId = vst3::uidOf(kVst3ProcessorClassWords);
constexpr vst3::Uid kVst3ControllerClassId = vst3::uidOf(kVst3ControllerClassWords);

// The same names as every other edition's.
static_assert(std::string_view(kVst3ProcessorName) == kEffectName);
static_assert(std::string_view(kVst3Vendor) == kVendorString);
static_assert(kVst3FactoryFlags == vst3::kUnicode);

}  // namespace slicecast
