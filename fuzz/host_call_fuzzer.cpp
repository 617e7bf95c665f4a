// libFuzzer entry: each input is one host session with one instance.
#include <cstddef>
#include <cstdint>

#include "base_effect.h"
#include "host_call_script.h"

namespace {

// The library's entry point, minus its export as main: the version query,
// then the effect's creation operation.
AEffect* linkedEntryPoint(audioMasterCallback host) {
    if (host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AudioEffect* effect = createEffect(host);
    return effect != nullptr ? effect->getAeffect() : nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    slicecastfuzz::playHostCalls(&linkedEntryPoint, data, size);
    return 0;
}
