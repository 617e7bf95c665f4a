// Slicecast as an LV2 plug-in: a thin adapter that reads the six control
// ports (Lv2ParameterPorts), keeps the host's musical time from the
// time:Position events of the control port (Lv2Transport) and hands the
// audio to the sound, cut at every event.
#pragma once

#include <cstdint>

#include <lv2/atom/atom.h>
#include <lv2/urid/urid.h>

#include "lv2_editor_link.h"
#include "lv2_parameter_ports.h"
#include "lv2_transport.h"
#include "lv2_ports.h"
#include "slicecast_identity.h"
#include "slicecast_sound.h"

namespace slicecast {

class SlicecastLv2 final : private StretchPlayer {
public:
    // map may be null: the instance then reads no events and plays on the
    // sound's own count of time, as for a host that gives no position.
    SlicecastLv2(double sampleRate, const LV2_URID_Map* map) noexcept;

    // Instances come from zero-filled heap storage (see SliceRepeater);
    // null when there is no memory.
    static SlicecastLv2* create(double sampleRate, const LV2_URID_Map* map) noexcept;
    static void destroy(SlicecastLv2* instance) noexcept;

    void connect(std::uint32_t port, void* data) noexcept;
    void run(std::uint32_t frames) noexcept;

private:
    double playStretch(std::uint32_t from, std::uint32_t to, const BlockTransport& transport) noexcept override;

    float sampleRate_;
    const float* inputs_[2] = {nullptr, nullptr};
    float* outputs_[2] = {nullptr, nullptr};
    Lv2ParameterPorts parameterPorts_;
    const LV2_Atom_Sequence* control_ = nullptr;
    Lv2Transport transport_;
    Lv2EditorLink editor_;
    // The run's summariser while an editor is open, else null.
    BlockSummariser* summary_ = nullptr;
    SlicecastSound sound_;
};

}  // namespace slicecast
