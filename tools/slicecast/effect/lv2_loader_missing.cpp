#include "format_loaders.h"
#include "plugin_library.h"

namespace slicecastcli {

std::unique_ptr<vsthost::HostedEffect> loadLv2Effect(const std::string& bundleOrUri) {
    throw vsthost::HostError("this build of the tool hosts no LV2 plug-ins (it has no lilv): " + bundleOrUri);
}

}  // namespace slicecastcli
