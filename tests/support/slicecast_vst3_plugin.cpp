#include "slicecast_vst3_plugin.h"

namespace testsupport {

const std::string& slicecastVst3Path() {
    static const std::string path = SLICECAST_VST3_BUNDLE_PATH;
    return path;
}

const vst3host::Vst3Module& slicecastVst3Module() {
    static const vst3host::Vst3Module module(slicecastVst3Path());
    return module;
}

}  // namespace testsupport
