// The built VST 3 edition of Slicecast, its bundle loaded once per test
// process the way a VST 3 host loads it (ModuleEntry on first use,
// ModuleExit at exit).
#pragma once

#include <string>

#include "vst3_module.h"

namespace testsupport {

const std::string& slicecastVst3Path();
const vst3host::Vst3Module& slicecastVst3Module();

}  // namespace testsupport
