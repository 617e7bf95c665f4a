// The library's one entry point, exported as VSTPluginMain and again as main
// (older hosts look only for main). Everything else in the library is hidden.
#include "base_effect.h"

#define SLICECAST_EXPORT __attribute__((visibility("default")))

extern "C" SLICECAST_EXPORT AEffect* VSTPluginMain(audioMasterCallback host) {
    // A host that passes no callback cannot answer the version query; treat
    // it like a host that refuses.
    if (host == nullptr) return nullptr;
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AudioEffect* effect = createEffect(host);
    return effect != nullptr ? effect->getAeffect() : nullptr;
}

// The same function under the name main. The name cannot be spelled in C++
// for anything but the program's main, so it is given to the linker directly.
extern "C" SLICECAST_EXPORT AEffect* vstPluginMainAlias(audioMasterCallback host)
    __asm__("main") __attribute__((alias("VSTPluginMain")));
