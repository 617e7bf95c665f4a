#include "slicecast_lv2.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <new>

#include <lv2/atom/util.h>

#include "plain_parameters.h"

namespace slicecast {

SlicecastLv2::SlicecastLv2(double sampleRate, const LV2_URID_Map* map) noexcept
    : sampleRate_(static_cast<float>(sampleRate)), urids_(map != nullptr ? TimeUrids::mapped(*map) : TimeUrids{}) {}

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
        default:
            if (port >= kPortFirstParameter && port < kPortFirstParameter + kParameterCount) {
                parameterPorts_[port - kPortFirstParameter] = static_cast<const float*>(data);
            }
            break;
    }
}

SoundParameters SlicecastLv2::parametersFromPorts() const noexcept {
    // A control port the host left unconnected keeps its default.
    std::array<double, kParameterCount> plain{};
    for (std::size_t index = 0; index < plain.size(); ++index) {
        const float* port = parameterPorts_[index];
        plain[index] = port != nullptr ? static_cast<double>(*port) : plainRanges[index].defaultValue;
    }
    return soundParametersFromPlain(plain);
}

void SlicecastLv2::play(const SoundParameters& parameters, std::uint32_t from, std::uint32_t to) noexcept {
    if (to <= from) return;
    const auto frames = static_cast<std::int32_t>(to - from);
    const StereoIo io{inputs_[0] + from, inputs_[1] + from, outputs_[0] + from, outputs_[1] + from};
    const double beatStep = sound_.process(transport_.blockTransport(), parameters, sampleRate_, io, frames);
    transport_.advance(frames, beatStep);
}

std::uint32_t SlicecastLv2::playUpToEachEvent(const SoundParameters& parameters, std::uint32_t frames) noexcept {
    if (control_ == nullptr || urids_.atomSequence == 0) return 0;
    if (control_->atom.type != urids_.atomSequence || control_->atom.size < sizeof(LV2_Atom_Sequence_Body)) return 0;
    // Events timed in anything but frames (a sequence in beats) cannot be
    // placed in the block; such a sequence is ignored as a whole.
    const std::uint32_t unit = control_->body.unit;
    if (unit != 0 && unit != urids_.atomFrameTime) return 0;

    // Every event is read only if its header and its body lie wholly within
    // the sequence the host says it wrote.
    const auto* body = reinterpret_cast<const std::uint8_t*>(&control_->body);
    const std::uint32_t size = control_->atom.size;
    std::uint32_t offset = sizeof(LV2_Atom_Sequence_Body);
    std::uint32_t played = 0;
    while (offset <= size && size - offset >= sizeof(LV2_Atom_Event)) {
        const auto* event = reinterpret_cast<const LV2_Atom_Event*>(body + offset);
        const std::uint32_t room = size - offset - static_cast<std::uint32_t>(sizeof(LV2_Atom_Event));
        if (event->body.size > room) break;
        // An offset before the one already reached, or beyond the block,
        // counts as the block's end.
        const std::int64_t at = event->time.frames;
        const std::uint32_t frame =
            (at < static_cast<std::int64_t>(played) || at > static_cast<std::int64_t>(frames))
                ? frames
                : static_cast<std::uint32_t>(at);
        play(parameters, played, frame);
        played = frame;
        transport_.apply(urids_, &event->body);
        const std::uint64_t next =
            static_cast<std::uint64_t>(offset) + sizeof(LV2_Atom_Event) + lv2_atom_pad_size(event->body.size);
        if (next > size) break;
        offset = static_cast<std::uint32_t>(next);
    }
    return played;
}

void SlicecastLv2::run(std::uint32_t frames) noexcept {
    if (inputs_[0] == nullptr || inputs_[1] == nullptr || outputs_[0] == nullptr || outputs_[1] == nullptr) return;
    // The sound takes signed 32-bit frame counts.
    if (frames > static_cast<std::uint32_t>(INT32_MAX)) return;
    const SoundParameters parameters = parametersFromPorts();
    const std::uint32_t played = playUpToEachEvent(parameters, frames);
    play(parameters, played, frames);
}

}  // namespace slicecast
