// Which effects are Slicecast's editions, by the identifier each format
// gives: kept apart from the steps themselves, which need none of the
// editions' identities (the web page's module reads the steps alone).
#include "slicecast_steps.h"

#include "clap_identity.h"
#include "lv2_identity.h"
#include "vst3_identity.h"
#include "vst3_names.h"
#include "vst_identity.h"
#include "vst_names.h"

namespace slicecastcli {

std::optional<SlicecastSteps> SlicecastSteps::of(pluginhost::HostedEffect& effect) {
    const std::string id = effect.identifier();
    switch (effect.format()) {
        case pluginhost::PluginFormat::Vst2:
            if (id == vst2host::fourCharText(slicecast::kUniqueId)) return SlicecastSteps(effect.format());
            break;
        case pluginhost::PluginFormat::Lv2:
            if (id == slicecast::kLv2PluginUri) return SlicecastSteps(effect.format());
            break;
        case pluginhost::PluginFormat::Clap:
            if (id == slicecast::kClapPluginId) return SlicecastSteps(effect.format());
            break;
        case pluginhost::PluginFormat::Vst3:
            if (id == vst3host::uidText(slicecast::kVst3ProcessorClassId)) return SlicecastSteps(effect.format());
            break;
    }
    return std::nullopt;
}

}  // namespace slicecastcli
