// Slicecast's editions of the other formats as the tool loads them: the
// LV2 bundle folder, the CLAP file and the VST 3 bundle folder of this
// build.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tooltest {

struct Edition {
    const char* name;
    const char* plugin;
};

inline void PrintTo(const Edition& edition, std::ostream* out) { *out << edition.name; }

inline const Edition kLv2Edition{"Lv2", SLICECAST_LV2_BUNDLE_PATH};
inline const Edition kClapEdition{"Clap", SLICECAST_CLAP_PATH};
inline const Edition kVst3Edition{"Vst3", SLICECAST_VST3_BUNDLE_PATH};
inline const std::vector<Edition> kOtherEditions{kLv2Edition, kClapEdition, kVst3Edition};

}  // namespace tooltest
