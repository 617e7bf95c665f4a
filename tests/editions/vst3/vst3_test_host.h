// What the edition's own tests need of a VST 3 host, on the project's host
// driver (host/vst3/): the bundle's module as the driver loads it,
// references and queries, objects made by the factory as they come (not
// yet initialized), streams and parameter changes, and an instance made,
// connected and taken apart by the driver, whose process call goes to the
// processor as the test shapes it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "memory_stream.h"
#include "parameter_changes.h"
#include "reference.h"
#include "slicecast_vst3_plugin.h"
#include "stereo_blocks.h"
#include "vst3_abi.h"
#include "vst3_instance.h"

namespace vst3test {

using vst3host::Ref;

template <typename Interface>
Ref<Interface> query(vst3::FUnknown* object) {
    return vst3host::queryOf<Interface>(object);
}

// The factory of the built bundle's module, as its third form.
vst3::IPluginFactory3& slicecastFactory();
// Where the build put the bundle.
std::string slicecastBundlePath();

// The class the factory lists at index: its id, as createInstance takes it.
vst3::Uid classIdAt(vst3::int32 index);
template <typename Interface>
Ref<Interface> createInstance(const vst3::Uid& classId) {
    return testsupport::slicecastVst3Module().create<Interface>(classId);
}

// A host's stream over bytes in memory, moving at most stride bytes per
// call.
Ref<vst3host::MemoryStream> stream(std::vector<std::uint8_t> bytes = {}, vst3::int32 stride = INT32_MAX);
// No parameter changes yet.
Ref<vst3host::ParameterChanges> changes();

// The program-change parameter, which selects among the factory presets.
constexpr vst3::ParamID kProgramId = 100;

// A context with the position (quarter notes) and the tempo flagged.
vst3::ProcessContext contextAt(double position, double tempo, double sampleRate);

// A processor and its controller, made, initialized and connected both ways
// by the driver as hosts do, and taken apart in the reverse order, every
// step of which must be accepted.
struct Instance {
    Instance();
    ~Instance();
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    // setupProcessing, setActive(true), setProcessing(true).
    void activate(double sampleRate, vst3::int32 maxBlock = 8192);
    // setProcessing(false), setActive(false).
    void deactivate();
    // frames of input from first, written to output at first; null context,
    // changes and input may be given. Straight to the processor, whatever
    // its state. The output's silence flags start with every bit set, as a
    // host that copied stale ones leaves them; outputSilence gets them back.
    vst3::tresult process(const pluginhost::StereoBuffer* input, pluginhost::StereoBuffer& output, std::size_t first,
                          vst3::int32 frames, vst3::ProcessContext* context = nullptr,
                          vst3::IParameterChanges* changes = nullptr, vst3::uint64* outputSilence = nullptr);
    // The processor's saved state, or nothing when getState failed.
    std::vector<std::uint8_t> savedState();

    vst3host::Vst3Instance effect;
    // The driver's objects, with references of their own.
    Ref<vst3::IComponent> component;
    Ref<vst3::IAudioProcessor> processor;
    Ref<vst3::IEditController> controller;
};

bool sameBits(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b);

}  // namespace vst3test
