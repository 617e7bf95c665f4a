// One VST 3 effect instance driven the way a host drives it:
//
//   Vst3Module module(bundlePath);
//   Vst3Instance effect(module);            // the first audio processor class
//   effect.start(48000.0, 1024);            // setup, buses, active, processing
//   effect.process({inputs, outputs, frames, &context, changes});
//   ...                                     // destruction undoes it all
//
// Creation makes the processor and initializes it with the host's context
// (an IHostApplication that makes messages), then its edit controller:
// the processor itself where it answers for IEditController, else an
// object of the class getControllerClassId names, initialized too and
// connected with the processor both ways. The controller gets the host's
// component handler, and the processor's state to start from, as hosts
// give it when they load an effect. Destruction stops processing,
// deactivates, disconnects, takes the handler back, terminates and
// releases, in that order.
//
// Every call is checked against the life cycle (arrangements and setup
// only while inactive, process only while processing, ...) and a wrong
// order throws HostError, so that a caller's mistake is never passed on to
// the plug-in. The plug-in's own answers are returned as they are.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "component_handler.h"
#include "event_list.h"
#include "host_application.h"
#include "parameter_changes.h"
#include "vst3_module.h"

namespace vst3host {

// One block: the main buses' channels (null for a bus given no buffers;
// output pointers may equal input ones, in place), the context of its
// first frame (null for none) and the parameter changes in it (null for
// none).
struct AudioBlock {
    float** inputs = nullptr;
    float** outputs = nullptr;
    vst3::int32 frames = 0;
    const vst3::ProcessContext* context = nullptr;
    vst3::IParameterChanges* changes = nullptr;
};

// The program list a unit selects among, as IUnitInfo tells it.
struct ProgramList {
    vst3::ProgramListID id;
    std::string name;
    // The programs' names, in index order.
    std::vector<std::string> programs;
};

class Vst3Instance {
public:
    // An instance of the module's first "Audio Module Class", or of the
    // class of that id. Throws HostError when there is none, the factory
    // makes none, or it or its controller refuses to initialize or connect.
    explicit Vst3Instance(const Vst3Module& module);
    Vst3Instance(const Vst3Module& module, const vst3::Uid& classId);
    // Closes the instance where close has not.
    ~Vst3Instance();
    Vst3Instance(const Vst3Instance&) = delete;
    Vst3Instance& operator=(const Vst3Instance&) = delete;

    const ClassInfo& processorClass() const { return processorClass_; }
    // The processor is its own controller.
    bool singleComponent() const { return singleComponent_; }
    // The class of a separate controller; none in the single form, or for a
    // processor that names none.
    std::optional<vst3::Uid> controllerClass() const { return controllerClass_; }
    bool connected() const { return componentConnected_ && controllerConnected_; }

    vst3::IComponent& component() const { return *component_; }
    vst3::IAudioProcessor& processor() const { return *processor_; }
    // Null where there is no controller.
    vst3::IEditController* controller() const { return controller_.get(); }
    HostApplication& context() const { return *context_; }
    ComponentHandler& handler() const { return *handler_; }

    // Buses as the component describes them, in index order.
    std::vector<vst3::BusInfo> buses(vst3::MediaType type, vst3::BusDirection direction) const;
    // One arrangement per audio bus; only while inactive.
    vst3::tresult setBusArrangements(std::vector<vst3::SpeakerArrangement> inputs,
                                     std::vector<vst3::SpeakerArrangement> outputs);
    std::optional<vst3::SpeakerArrangement> busArrangement(vst3::BusDirection direction, vst3::int32 index) const;
    bool canProcessSampleSize(vst3::int32 symbolicSampleSize) const;
    // 0 where the processor does not say.
    vst3::uint32 processContextRequirements() const;
    vst3::uint32 latencySamples() const { return processor_->getLatencySamples(); }
    vst3::uint32 tailSamples() const { return processor_->getTailSamples(); }

    // The life cycle, step by step; each answers the plug-in's result.
    vst3::tresult setupProcessing(double sampleRate, vst3::int32 maxFrames,
                                  vst3::int32 processMode = vst3::kRealtime);
    vst3::tresult activateMainBuses(bool state);
    vst3::tresult setActive(bool state);
    vst3::tresult setProcessing(bool state);
    // All of them up to processing, 32-bit samples; throws HostError at the
    // first refusal.
    void start(double sampleRate, vst3::int32 maxFrames, vst3::int32 processMode = vst3::kRealtime);
    bool active() const { return active_; }
    bool processing() const { return processing_; }

    // A block of at most the frames given to the setup (0 for a call that
    // brings changes alone, with the buffers given).
    vst3::tresult process(const AudioBlock& block);
    // A call with no frames and no buffers: the changes alone (the host's
    // flush).
    vst3::tresult flush(vst3::IParameterChanges* changes);
    // What the plug-in set in the output bus's silence flags last time.
    vst3::uint64 outputSilenceFlags() const { return outputs_.silenceFlags; }

    // The controller's parameters; a plug-in without a controller has none,
    // and the other calls throw HostError for it.
    vst3::int32 parameterCount() const;
    std::optional<vst3::ParameterInfo> parameterInfo(vst3::int32 index) const;
    vst3::ParamValue normalized(vst3::ParamID id) const;
    vst3::tresult setNormalized(vst3::ParamID id, vst3::ParamValue value);
    double plainOf(vst3::ParamID id, vst3::ParamValue normalized) const;
    vst3::ParamValue normalizedOf(vst3::ParamID id, double plain) const;
    // getParamStringByValue, getParamValueByString.
    std::optional<std::string> text(vst3::ParamID id, vst3::ParamValue normalized) const;
    std::optional<vst3::ParamValue> normalizedOfText(vst3::ParamID id, const std::string& text) const;
    // The program list of the unit of that id, through the controller's
    // IUnitInfo; none where the controller has no units, no such unit, or
    // the unit no list.
    std::optional<ProgramList> programList(vst3::UnitID unitId) const;

    // Undoes everything now: processing stopped, deactivated, disconnected,
    // the handler taken back, terminated and released. Every call is made
    // whatever the one before answered; the answer is kResultOk when all
    // of them accepted, else the first refusal. Nothing else may be called
    // after it.
    vst3::tresult close() noexcept;

    // The processor's state (getState), through a stream that moves at
    // most bytesPerCall bytes a call; none when it refuses.
    std::optional<std::vector<std::uint8_t>> saveState(vst3::int32 bytesPerCall = INT32_MAX) const;
    // bytes to the processor (setState) and, once it took them, to the
    // controller (setComponentState), as a host loads a project; the first
    // refusal is the answer.
    vst3::tresult loadState(const std::vector<std::uint8_t>& bytes, vst3::int32 bytesPerCall = INT32_MAX);

private:
    void create(const Vst3Module& module);
    void makeController(const Vst3Module& module);
    void connect();
    void startController();
    vst3::IEditController& requireController() const;
    vst3::int32 mainChannels(vst3::BusDirection direction) const;

    ClassInfo processorClass_;
    Ref<HostApplication> context_;
    Ref<ComponentHandler> handler_;
    Ref<vst3::IComponent> component_;
    Ref<vst3::IAudioProcessor> processor_;
    Ref<vst3::IEditController> controller_;
    Ref<vst3::IConnectionPoint> componentPoint_;
    Ref<vst3::IConnectionPoint> controllerPoint_;
    std::optional<vst3::Uid> controllerClass_;
    bool singleComponent_ = false;
    bool componentInitialized_ = false;
    bool controllerInitialized_ = false;
    bool componentConnected_ = false;
    bool controllerConnected_ = false;
    bool handlerSet_ = false;

    bool setUp_ = false;
    bool active_ = false;
    bool processing_ = false;
    vst3::int32 maxFrames_ = 0;
    double sampleRate_ = 0.0;
    vst3::int32 processMode_ = vst3::kRealtime;

    // The records of the process call, kept between blocks.
    Ref<EventList> inputEvents_;
    Ref<EventList> outputEvents_;
    Ref<ParameterChanges> outputChanges_;
    vst3::AudioBusBuffers inputs_{};
    vst3::AudioBusBuffers outputs_{};
    vst3::ProcessContext contextRecord_{};
};

}  // namespace vst3host
