// Keeps an interrupted run from leaving its half-written files behind: when
// the user stops the tool (Ctrl-C, SIGTERM, SIGHUP), every file registered
// here is removed and the signal then ends the process as it would have.
// Several files may be pending at once (a batch writes one per job, a
// render with a picture two).
#pragma once

#include <cstddef>

namespace slicecastcli {

// Registers path (which must stay valid until forget()) and returns its
// slot; throws when more files are pending than the fixed table holds,
// since the signal handler cannot allocate.
std::size_t removeOnInterrupt(const char* path);
// The file of that slot is no longer pending.
void forgetOnInterrupt(std::size_t slot);

}  // namespace slicecastcli
