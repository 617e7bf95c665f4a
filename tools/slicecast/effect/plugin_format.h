// Which plug-in format a --plugin argument names, told from the argument
// alone so that a wrong guess shows in the loader's own error message.
#pragma once

#include <string>

#include "hosted_effect.h"

namespace slicecastcli {

// An URI ("http://...", "urn:..."): an LV2 plug-in by its URI. A single
// letter before the colon is a Windows drive, not a scheme.
bool isUri(const std::string& plugin);

// CLAP for a name ending in .clap; VST 3 for a name ending in .vst3 (a
// bundle folder, or a Windows module of the old single-file form); LV2 for
// any other folder (a bundle), a name ending in .lv2 or an URI; VST 2.4 for
// anything else (a library file).
pluginhost::PluginFormat pluginFormatOf(const std::string& plugin);

}  // namespace slicecastcli
