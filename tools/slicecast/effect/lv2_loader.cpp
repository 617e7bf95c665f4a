#include "format_loaders.h"
#include "lv2_effect.h"

namespace slicecastcli {

std::unique_ptr<vsthost::HostedEffect> loadLv2Effect(const std::string& bundleOrUri) {
    return std::make_unique<vsthost::Lv2Effect>(bundleOrUri);
}

}  // namespace slicecastcli
