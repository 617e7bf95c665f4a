#include "slicecast_lv2.h"

#include <cstdint>
#include <cstdlib>
#include <new>


namespace slicecast {

SlicecastLv2::SlicecastLv2(double sampleRate, const LV2_URID_Map* map) noexcept
    : sampleRate_(static_cast<float>(sampleRate)), transport_(map), editor_(sampleRate, map) {}

SlicecastLv2* SlicecastLv2::create(double sampleRate, const LV2_URID_Map* map) noexcept {
    void* storage = std::calloc(1, sizeof(SlicecastLv2));
    if (storage == nullptr) return nullptr;
    return new (storage) SlicecastLv2(sampleRate, map);
}

void SlicecastLv2::destroy(SlicecastLv2* instance) noexcept {
    if (instance == nullptr) return;
    instance->~SlicecastLv2();
    std::free(instance);
}

void SlicecastLv2::connect(std::uint32_t port, void* data) noexcept {
    switch (port) {
        case kPortInLeft: inputs_[0] = static_cast<const float*>(data); break;
        case kPortInRight: inputs_[1] = static_cast<const float*>(data); break;
        case kPortOutLeft: outputs_[0] = static_cast<float*>(data); break;
        case kPortOutRight: outputs_[1] = static_cast<float*>(data); break;
        case kPortControl: control_ = static_cast<const LV2_Atom_Sequence*>(data); break;
        case kPortNotify: editor_.connectNotify(static_cast<LV2_Atom_Sequence*>(data)); break;
        default:
            if (port >= kPortFirstParameter && port < kPortFirstParameter + kParameterCount) {
                parameterPorts_.connect(static_cast<std::int32_t>(port - kPortFirstParameter),
                                        static_cast<const float*>(data));
            }
            break;
    }
}

double SlicecastLv2::playStretch(std::uint32_t from, std::uint32_t to, const BlockTransport& transport) noexcept {
    const StereoIo io{inputs_[0] + from, inputs_[1] + from, outputs_[0] + from, outputs_[1] + from};
    const auto frames = static_cast<std::int32_t>(to - from);
    if (summary_ != nullptr) {
        return sound_.process(transport, parameterPorts_.mapped(), sampleRate_, io, frames, *summary_, editor_);
    }
    return sound_.process(transport, parameterPorts_.mapped(), sampleRate_, io, frames);
}

void SlicecastLv2::run(std::uint32_t frames) noexcept {
    if (inputs_[0] == nullptr || inputs_[1] == nullptr || outputs_[0] == nullptr || outputs_[1] == nullptr) return;
    // The sound takes signed 32-bit frame counts.
    if (frames > static_cast<std::uint32_t>(INT32_MAX)) return;
    parameterPorts_.read();
    summary_ = editor_.beginRun(control_, frames);
    transport_.playBlock(control_, frames, *this);
    editor_.endRun(frames);
}

}  // namespace slicecast
