// The built CLAP edition of Slicecast, loaded once per test process the way
// a CLAP host loads it (entry init on first use, deinit at exit).
#pragma once

#include <string>

#include "clap_library.h"

namespace testsupport {

const std::string& slicecastClapPath();
const claphost::ClapLibrary& slicecastClapLibrary();

}  // namespace testsupport
