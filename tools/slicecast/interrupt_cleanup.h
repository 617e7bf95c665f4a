// Keeps an interrupted run from leaving its half-written file behind: when
// the user stops the tool (Ctrl-C, SIGTERM, SIGHUP), the file named here is
// removed and the signal then ends the process as it would have.
#pragma once

namespace slicecastcli {

// path must stay valid until it is replaced or cleared with nullptr.
void removeOnInterrupt(const char* path);

}  // namespace slicecastcli
