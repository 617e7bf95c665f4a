// What only CLAP asks of the effect's identity: its id, which hosts save in
// their projects and which therefore never changes, and its features.
#pragma once

#include "clap_abi.h"

namespace slicecast {

constexpr const char* kClapPluginId = "example.tiv-nar.slicecast";

constexpr const char* kClapFeatures[] = {"audio-effect", "glitch", "delay", "stereo", nullptr};

}  // namespace slicecast
