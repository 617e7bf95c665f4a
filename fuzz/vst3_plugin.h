// The VST 3 edition as a host makes it: the processor and its controller
// from GetPluginFactory's classes, both initialized with the host's
// context, and taken down again with the object. The edition's objects are
// linked into the fuzz target, so that every line of it is instrumented.
// Also the host's side of a block's parameter changes, in any order.
#pragma once

#include <utility>
#include <vector>

#include "fuzz_checks.h"
#include "host_application.h"
#include "host_object.h"
#include "reference.h"
#include "vst3_abi.h"
#include "vst3_identity.h"

extern "C" vst3::IPluginFactory* SLICECAST_VST3_CALL GetPluginFactory();

namespace slicecastfuzz {

template <typename Interface>
vst3host::Ref<Interface> created(const vst3::Uid& classId) {
    void* object = nullptr;
    const vst3::tresult result = GetPluginFactory()->createInstance(classId.data(), Interface::iid.data(), &object);
    require(result == vst3::kResultOk && object != nullptr, "createInstance");
    return vst3host::Ref<Interface>::adopt(static_cast<Interface*>(object));
}

class Vst3Plugin {
public:
    Vst3Plugin()
        : component(created<vst3::IComponent>(slicecast::kVst3ProcessorClassId)),
          processor(vst3host::queryOf<vst3::IAudioProcessor>(component.get())),
          componentPoint(vst3host::queryOf<vst3::IConnectionPoint>(component.get())),
          controller(created<vst3::IEditController>(slicecast::kVst3ControllerClassId)),
          controllerPoint(vst3host::queryOf<vst3::IConnectionPoint>(controller.get())) {
        require(processor && componentPoint && controllerPoint, "the processor's and controller's interfaces");
        require(component->initialize(context.get()) == vst3::kResultOk, "initialize the processor");
        require(controller->initialize(context.get()) == vst3::kResultOk, "initialize the controller");
    }
    ~Vst3Plugin() {
        component->setActive(0);
        controller->terminate();
        component->terminate();
    }
    Vst3Plugin(const Vst3Plugin&) = delete;
    Vst3Plugin& operator=(const Vst3Plugin&) = delete;

    vst3host::Ref<vst3host::HostApplication> context = vst3host::makeHostObject<vst3host::HostApplication>();
    vst3host::Ref<vst3::IComponent> component;
    vst3host::Ref<vst3::IAudioProcessor> processor;
    vst3host::Ref<vst3::IConnectionPoint> componentPoint;
    vst3host::Ref<vst3::IEditController> controller;
    vst3host::Ref<vst3::IConnectionPoint> controllerPoint;
};

// One parameter's points as the host lists them: any offsets, in any
// order; a point past the list, or one marked unreadable, is refused.
class RawQueue final : public vst3host::HostObject<RawQueue, vst3::IParamValueQueue> {
public:
    struct Point {
        vst3::int32 offset;
        double value;
        bool readable;
    };
    RawQueue(vst3::ParamID id, std::vector<Point> points) : id_(id), points_(std::move(points)) {}

    vst3::ParamID SLICECAST_VST3_CALL getParameterId() override { return id_; }
    vst3::int32 SLICECAST_VST3_CALL getPointCount() override { return static_cast<vst3::int32>(points_.size()); }
    vst3::tresult SLICECAST_VST3_CALL getPoint(vst3::int32 index, vst3::int32& offset, double& value) override {
        if (index < 0 || static_cast<std::size_t>(index) >= points_.size() || !points_[index].readable)
            return vst3::kResultFalse;
        offset = points_[index].offset;
        value = points_[index].value;
        return vst3::kResultOk;
    }
    vst3::tresult SLICECAST_VST3_CALL addPoint(vst3::int32, double, vst3::int32&) override {
        return vst3::kResultFalse;
    }

private:
    vst3::ParamID id_;
    std::vector<Point> points_;
};

// The block's queues, any ids, a null one where the host has a gap.
class RawChanges final : public vst3host::HostObject<RawChanges, vst3::IParameterChanges> {
public:
    void add(vst3host::Ref<RawQueue> queue) { queues_.push_back(std::move(queue)); }

    vst3::int32 SLICECAST_VST3_CALL getParameterCount() override { return static_cast<vst3::int32>(queues_.size()); }
    vst3::IParamValueQueue* SLICECAST_VST3_CALL getParameterData(vst3::int32 index) override {
        if (index < 0 || static_cast<std::size_t>(index) >= queues_.size()) return nullptr;
        return queues_[index].get();
    }
    vst3::IParamValueQueue* SLICECAST_VST3_CALL addParameterData(const vst3::ParamID&, vst3::int32&) override {
        return nullptr;
    }

private:
    std::vector<vst3host::Ref<RawQueue>> queues_;
};

}  // namespace slicecastfuzz
