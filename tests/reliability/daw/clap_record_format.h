// What the CLAP recording plug-in (clap_recorder.cpp) writes of every call a
// host makes to it, and the checker (clap_record_check.cpp) reads: a flat
// file of entries, each a tag byte and its fields in the machine's own
// byte order (written and read on one machine).
//
//   'A' double sampleRate, uint32 minFrames, uint32 maxFrames   activate
//   'R'                                                          reset
//   'P' uint32 frames, uint8 hasTransport, EventTransport,       process:
//       uint32 eventCount, frames floats left, frames floats right   its input
#pragma once

#include <cstdint>

namespace recording {

constexpr char kActivate = 'A';
constexpr char kReset = 'R';
constexpr char kProcess = 'P';

// The two recorders of one library: the one before the effect and the one
// after it on the same track, at these factory indices.
constexpr const char* kBeforeId = "example.tiv-nar.test.record-before";
constexpr const char* kAfterId = "example.tiv-nar.test.record-after";
constexpr const char* kBeforeFile = "before.rec";
constexpr const char* kAfterFile = "after.rec";

}  // namespace recording
