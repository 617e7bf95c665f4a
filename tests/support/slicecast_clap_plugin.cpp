#include "slicecast_clap_plugin.h"

namespace testsupport {

const std::string& slicecastClapPath() {
    static const std::string path = SLICECAST_CLAP_PATH;
    return path;
}

const claphost::ClapLibrary& slicecastClapLibrary() {
    static const claphost::ClapLibrary library(slicecastClapPath());
    return library;
}

}  // namespace testsupport
