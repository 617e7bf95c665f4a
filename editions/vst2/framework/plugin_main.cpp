// The library's one entry point, exported as VSTPluginMain and again as main
// (older hosts look only for main). Everything else in the library is hidden.
#include "base_effect.h"
#include "host_entry.h"

extern "C" SLICECAST_EXPORT SLICECAST_HOST_ENTRY AEffect* VSTPluginMain(audioMasterCallback host) noexcept {
    // A host that passes no callback cannot answer the version query; treat
    // it like a host that refuses.
    if (host == nullptr) return nullptr;
    // Nothing may unwind into the host: its frames know nothing of our
    // exceptions, and a 32-bit Windows host crashes on them.
    try {
        if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
        AudioEffect* effect = createEffect(host);
        return effect != nullptr ? effect->getAeffect() : nullptr;
    } catch (...) {
        return nullptr;
    }
}

SLICECAST_EXPORT_AS_MAIN(VSTPluginMain)
