// One instance of an LV2 plug-in, driven as a host drives it: control ports
// held by the host (set to their defaults at first), audio buffers connected
// for each run, and a control port filled with time:Position events (or a
// raw sequence, or left unconnected) before each run.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <lv2/atom/atom.h>

#include "event_sequence.h"
#include "lv2_plugin.h"
#include "lv2_time_position.h"
#include "stereo_ports.h"
#include "urid_map.h"

namespace lv2host {

class Lv2Instance {
public:
    enum class Features {
        UridMap,  // urid:map, as full hosts pass it
        None,     // a null feature list, as lv2apply passes
    };

    // Instantiates (not yet activated). Throws Lv2HostError when the plug-in
    // refuses, or wants a feature this host lacks, or its ports are not
    // two audio inputs and two audio outputs.
    Lv2Instance(const Lv2Plugin& plugin, double sampleRate, Features features = Features::UridMap);
    ~Lv2Instance();
    Lv2Instance(const Lv2Instance&) = delete;
    Lv2Instance& operator=(const Lv2Instance&) = delete;

    // Throws Lv2HostError for an index or symbol that is no control input.
    void setControl(std::uint32_t portIndex, float value);
    void setControl(const std::string& symbol, float value);
    float control(std::uint32_t portIndex) const;

    // Activated lazily by the first run when the caller does not.
    void activate();
    void deactivate();

    // One block with these events on the atom input port (none: an empty
    // sequence). Throws std::length_error if they do not fit.
    void run(const StereoPorts& audio, std::uint32_t frames, const std::vector<TimePosition>& events = {});
    // The same with atoms an editor wrote to the control port after the
    // events, stamped at the block's end as hosts stamp them.
    void run(const StereoPorts& audio, std::uint32_t frames, const std::vector<TimePosition>& events,
             const std::vector<std::vector<std::uint8_t>>& atoms);
    // One block with the events the last run() wrote, as they are: what a
    // benchmark repeats without forging them anew.
    void runWithTheSameEvents(const StereoPorts& audio, std::uint32_t frames);
    // One block with the ports, audio and control, as the last run left
    // them: what a host whose buffers do not move does, connecting nothing
    // again. The edition's own cost per block is timed with it.
    void runWithTheSamePorts(std::uint32_t frames);
    // One block with the given bytes as the control port's whole sequence,
    // in a buffer of just their size (rounded up to 8 bytes), so that a
    // memory checker sees a plug-in read past them.
    void runRaw(const StereoPorts& audio, std::uint32_t frames, const std::vector<std::uint8_t>& sequence);
    // One block with the atom input port connected to null.
    void runWithoutControlPort(const StereoPorts& audio, std::uint32_t frames);

    // The host's URI map, for callers that build raw sequences.
    UridMap& uridMap() { return map_; }

    // The atom output ports from the next run on: each connected to a
    // buffer of capacityBytes, its capacity set in its atom's size before
    // every run as hosts do (0: left unconnected, as at first).
    void connectAtomOutputs(std::uint32_t capacityBytes);
    // What the plug-in wrote to its first atom output in the last run; null
    // when it has none or it is not connected.
    const LV2_Atom_Sequence* atomOutput() const;

private:
    void runConnected(const StereoPorts& audio, std::uint32_t frames, void* controlPort);
    std::uint32_t controlInput(const std::string& symbol) const;

    const Lv2Plugin& plugin_;
    UridMap map_;
    EventSequence events_;
    std::vector<std::uint64_t> raw_;
    std::vector<float> controls_;  // one per port; audio and atom entries unused
    std::vector<std::uint32_t> audioInputs_;
    std::vector<std::uint32_t> audioOutputs_;
    std::vector<std::uint32_t> atomInputs_;
    std::vector<std::uint32_t> atomOutputs_;
    // One buffer per atom output, or none.
    std::vector<std::vector<std::uint64_t>> atomOutputBuffers_;
    std::uint32_t atomOutputBytes_ = 0;
    struct Handle;
    std::unique_ptr<Handle> handle_;
    bool active_ = false;
};

}  // namespace lv2host
