// Just enough of a VST 3 host for the edition's own tests: the bundle's
// module loaded as hosts load it, references that release themselves, a
// processor and its controller made and connected, a memory stream, the
// parameter queues and a process call. The project's VST 3 host driver may
// take its place.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "shared_library.h"
#include "stereo_blocks.h"
#include "vst3_abi.h"

namespace vst3test {

// One reference to an interface of a plug-in object, released when it goes.
template <typename Interface>
class Ref {
public:
    Ref() = default;
    // Takes over the reference the pointer carries.
    explicit Ref(Interface* object) : object_(object) {}
    Ref(Ref&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    Ref& operator=(Ref&& other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~Ref() {
        if (object_ != nullptr) object_->release();
    }

    Interface* get() const { return object_; }
    Interface* operator->() const { return object_; }
    Interface& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    Interface* object_ = nullptr;
};

// The object's Interface, as queryInterface answers it; empty when refused.
template <typename Interface>
Ref<Interface> query(vst3::FUnknown* object) {
    void* answer = nullptr;
    if (object == nullptr || object->queryInterface(Interface::iid.data(), &answer) != vst3::kResultOk) return {};
    return Ref<Interface>(static_cast<Interface*>(answer));
}

// The built bundle's binary, loaded once per test process: the platform's
// entry called after loading and its exit before unloading, and the
// factory.
class Module {
public:
    explicit Module(const std::string& binaryPath);
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    vst3::IPluginFactory3& factory() const { return *factory_.get(); }

private:
    pluginhost::SharedLibrary library_;
    Ref<vst3::IPluginFactory3> factory_;
};

const Module& slicecastModule();
// Where the build put the bundle and its binary.
std::string slicecastBundlePath();

// The class the factory lists at index: its id, as createInstance takes it.
vst3::Uid classIdAt(vst3::int32 index);
template <typename Interface>
Ref<Interface> createInstance(const vst3::Uid& classId) {
    void* object = nullptr;
    slicecastModule().factory().createInstance(classId.data(), Interface::iid.data(), &object);
    return Ref<Interface>(static_cast<Interface*>(object));
}

// A host's stream over bytes in memory, moving at most stride bytes per
// call and answering kResultOk with no bytes at the end, as hosts' streams
// do. Held by the test itself: its reference count is only told.
class MemoryStream final : public vst3::IBStream {
public:
    explicit MemoryStream(std::vector<std::uint8_t> bytes = {}, std::int32_t stride = INT32_MAX)
        : bytes_(std::move(bytes)), stride_(stride) {}
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

    vst3::tresult SLICECAST_VST3_CALL queryInterface(const vst3::TUID interfaceId, void** object) override;
    vst3::uint32 SLICECAST_VST3_CALL addRef() override { return 1; }
    vst3::uint32 SLICECAST_VST3_CALL release() override { return 1; }
    vst3::tresult SLICECAST_VST3_CALL read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead) override;
    vst3::tresult SLICECAST_VST3_CALL write(void* buffer, vst3::int32 numBytes,
                                            vst3::int32* numBytesWritten) override;
    vst3::tresult SLICECAST_VST3_CALL seek(vst3::int64 position, vst3::int32 mode, vst3::int64* result) override;
    vst3::tresult SLICECAST_VST3_CALL tell(vst3::int64* position) override;

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t position_ = 0;
    std::int32_t stride_;
};

// One parameter's points, and the changes of one process call.
class ParamValueQueue final : public vst3::IParamValueQueue {
public:
    explicit ParamValueQueue(vst3::ParamID id) : id_(id) {}
    vst3::tresult SLICECAST_VST3_CALL queryInterface(const vst3::TUID interfaceId, void** object) override;
    vst3::uint32 SLICECAST_VST3_CALL addRef() override { return 1; }
    vst3::uint32 SLICECAST_VST3_CALL release() override { return 1; }
    vst3::ParamID SLICECAST_VST3_CALL getParameterId() override { return id_; }
    vst3::int32 SLICECAST_VST3_CALL getPointCount() override { return static_cast<vst3::int32>(points_.size()); }
    vst3::tresult SLICECAST_VST3_CALL getPoint(vst3::int32 index, vst3::int32& sampleOffset,
                                               vst3::ParamValue& value) override;
    vst3::tresult SLICECAST_VST3_CALL addPoint(vst3::int32 sampleOffset, vst3::ParamValue value,
                                               vst3::int32& index) override;

private:
    vst3::ParamID id_;
    std::vector<std::pair<vst3::int32, vst3::ParamValue>> points_;
};

class ParameterChanges final : public vst3::IParameterChanges {
public:
    // A point for id at offset, in the queue of id (made on first use).
    ParameterChanges& add(vst3::ParamID id, vst3::int32 offset, vst3::ParamValue value);

    vst3::tresult SLICECAST_VST3_CALL queryInterface(const vst3::TUID interfaceId, void** object) override;
    vst3::uint32 SLICECAST_VST3_CALL addRef() override { return 1; }
    vst3::uint32 SLICECAST_VST3_CALL release() override { return 1; }
    vst3::int32 SLICECAST_VST3_CALL getParameterCount() override { return static_cast<vst3::int32>(queues_.size()); }
    vst3::IParamValueQueue* SLICECAST_VST3_CALL getParameterData(vst3::int32 index) override;
    vst3::IParamValueQueue* SLICECAST_VST3_CALL addParameterData(const vst3::ParamID& id,
                                                                 vst3::int32& index) override;

private:
    std::vector<ParamValueQueue> queues_;
};

// A context with the position (quarter notes) and the tempo flagged.
vst3::ProcessContext contextAt(double position, double tempo, double sampleRate);

// A processor and its controller, made, initialized and connected both ways
// as hosts do, and taken apart in the reverse order.
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
    // changes and input may be given.
    vst3::tresult process(const pluginhost::StereoBuffer* input, pluginhost::StereoBuffer& output, std::size_t first,
                          vst3::int32 frames, vst3::ProcessContext* context = nullptr,
                          vst3::IParameterChanges* changes = nullptr);
    // The processor's saved state, or nothing when getState failed.
    std::vector<std::uint8_t> savedState();

    Ref<vst3::IComponent> component;
    Ref<vst3::IAudioProcessor> processor;
    Ref<vst3::IEditController> controller;

private:
    Ref<vst3::IConnectionPoint> processorPoint;
    Ref<vst3::IConnectionPoint> controllerPoint;
};

bool sameBits(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b);

}  // namespace vst3test
