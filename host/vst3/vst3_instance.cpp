#include "vst3_instance.h"

#include <algorithm>

#include "memory_stream.h"
#include "utf16_text.h"
#include "vst3_names.h"

namespace vst3host {

namespace {

void require(bool condition, const char* what) {
    if (!condition) throw HostError(std::string("VST 3 host misuse: ") + what);
}

ClassInfo classOf(const Vst3Module& module, const vst3::Uid& classId) {
    for (const ClassInfo& entry : module.classes()) {
        if (entry.id == classId) return entry;
    }
    throw HostError("no VST 3 class " + uidText(classId) + " in " + module.path());
}

ClassInfo firstProcessorOf(const Vst3Module& module) {
    const std::optional<ClassInfo> found = module.firstClassOf(vst3::kAudioEffectClass);
    if (!found) throw HostError("no VST 3 audio processor class (\"Audio Module Class\") in " + module.path());
    return *found;
}

bool isNone(const vst3::TUID id) {
    return std::all_of(id, id + sizeof(vst3::TUID), [](char byte) { return byte == 0; });
}

// What a host takes for a state accepted: the SDK's own preset code lets
// kNotImplemented pass too.
bool accepted(vst3::tresult result) { return result == vst3::kResultOk || result == vst3::kNotImplemented; }

}  // namespace

Vst3Instance::Vst3Instance(const Vst3Module& module) : processorClass_(firstProcessorOf(module)) { create(module); }

Vst3Instance::Vst3Instance(const Vst3Module& module, const vst3::Uid& classId)
    : processorClass_(classOf(module, classId)) {
    create(module);
}

Vst3Instance::~Vst3Instance() { close(); }

void Vst3Instance::create(const Vst3Module& module) {
    context_ = makeHostObject<HostApplication>();
    handler_ = makeHostObject<ComponentHandler>();
    inputEvents_ = makeHostObject<EventList>();
    outputEvents_ = makeHostObject<EventList>();
    outputChanges_ = makeHostObject<ParameterChanges>();
    const std::string name = "\"" + processorClass_.name + "\" (" + uidText(processorClass_.id) + ")";
    component_ = module.create<vst3::IComponent>(processorClass_.id);
    if (!component_) throw HostError("the VST 3 factory made no component of the class " + name);
    // An object that refuses initialize is released without terminate.
    if (component_->initialize(context_.get()) != vst3::kResultOk) {
        component_.reset();
        throw HostError("the VST 3 component " + name + " refused to initialize");
    }
    componentInitialized_ = true;
    try {
        processor_ = queryOf<vst3::IAudioProcessor>(component_.get());
        if (!processor_) throw HostError("the VST 3 component " + name + " is no audio processor");
        controller_ = queryOf<vst3::IEditController>(component_.get());
        singleComponent_ = static_cast<bool>(controller_);
        if (!singleComponent_) makeController(module);
        if (controller_) startController();
    } catch (...) {
        close();
        throw;
    }
}

void Vst3Instance::makeController(const Vst3Module& module) {
    vst3::TUID id{};
    if (component_->getControllerClassId(id) != vst3::kResultOk || isNone(id)) return;
    controllerClass_ = vst3::uidFromBytes(id);
    controller_ = module.create<vst3::IEditController>(*controllerClass_);
    if (!controller_)
        throw HostError("the VST 3 factory made no controller of the class " + uidText(*controllerClass_));
    if (controller_->initialize(context_.get()) != vst3::kResultOk) {
        controller_.reset();
        throw HostError("the VST 3 controller " + uidText(*controllerClass_) + " refused to initialize");
    }
    controllerInitialized_ = true;
    connect();
}

// Both sides, where both can be connected: each is given the other as its
// peer. A host may give proxies instead; this one gives the objects.
void Vst3Instance::connect() {
    componentPoint_ = queryOf<vst3::IConnectionPoint>(component_.get());
    controllerPoint_ = queryOf<vst3::IConnectionPoint>(controller_.get());
    if (!componentPoint_ || !controllerPoint_) return;
    componentConnected_ = componentPoint_->connect(controllerPoint_.get()) == vst3::kResultOk;
    controllerConnected_ = controllerPoint_->connect(componentPoint_.get()) == vst3::kResultOk;
    if (!connected()) throw HostError("the VST 3 processor and its controller refused to connect");
}

// The handler, then the processor's state, as hosts hand them over before
// anything else.
void Vst3Instance::startController() {
    handlerSet_ = controller_->setComponentHandler(handler_.get()) == vst3::kResultOk;
    const Ref<MemoryStream> state = makeHostObject<MemoryStream>();
    if (component_->getState(state.get()) != vst3::kResultOk) return;
    state->seek(0, vst3::kIBSeekSet, nullptr);
    if (!accepted(controller_->setComponentState(state.get())))
        throw HostError("the VST 3 controller refused its processor's state");
}

vst3::tresult Vst3Instance::close() noexcept {
    vst3::tresult answer = vst3::kResultOk;
    const auto note = [&answer](vst3::tresult result) {
        if (answer == vst3::kResultOk && result != vst3::kResultOk) answer = result;
    };
    // As when starting, a processor may answer kNotImplemented to
    // setProcessing, which hosts take as yes.
    if (processing_) {
        const vst3::tresult stopped = processor_->setProcessing(0);
        note(stopped == vst3::kNotImplemented ? vst3::kResultOk : stopped);
    }
    if (active_) note(component_->setActive(0));
    processing_ = active_ = false;
    if (controllerConnected_) note(controllerPoint_->disconnect(componentPoint_.get()));
    if (componentConnected_) note(componentPoint_->disconnect(controllerPoint_.get()));
    controllerConnected_ = componentConnected_ = false;
    componentPoint_.reset();
    controllerPoint_.reset();
    if (handlerSet_) note(controller_->setComponentHandler(nullptr));
    handlerSet_ = false;
    if (controllerInitialized_) note(controller_->terminate());
    controllerInitialized_ = false;
    controller_.reset();
    processor_.reset();
    if (componentInitialized_) note(component_->terminate());
    componentInitialized_ = false;
    component_.reset();
    return answer;
}

// ---------------------------------------------------------------- buses

std::vector<vst3::BusInfo> Vst3Instance::buses(vst3::MediaType type, vst3::BusDirection direction) const {
    std::vector<vst3::BusInfo> found;
    const vst3::int32 count = component_->getBusCount(type, direction);
    for (vst3::int32 index = 0; index < count; ++index) {
        vst3::BusInfo bus{};
        if (component_->getBusInfo(type, direction, index, bus) != vst3::kResultOk)
            throw HostError("the VST 3 component gives no info of its bus " + std::to_string(index));
        found.push_back(bus);
    }
    return found;
}

vst3::tresult Vst3Instance::setBusArrangements(std::vector<vst3::SpeakerArrangement> inputs,
                                               std::vector<vst3::SpeakerArrangement> outputs) {
    require(!active_, "setBusArrangements while active");
    return processor_->setBusArrangements(inputs.data(), static_cast<vst3::int32>(inputs.size()), outputs.data(),
                                          static_cast<vst3::int32>(outputs.size()));
}

std::optional<vst3::SpeakerArrangement> Vst3Instance::busArrangement(vst3::BusDirection direction,
                                                                     vst3::int32 index) const {
    vst3::SpeakerArrangement arrangement = 0;
    if (processor_->getBusArrangement(direction, index, arrangement) != vst3::kResultOk) return std::nullopt;
    return arrangement;
}

bool Vst3Instance::canProcessSampleSize(vst3::int32 symbolicSampleSize) const {
    return processor_->canProcessSampleSize(symbolicSampleSize) == vst3::kResultTrue;
}

vst3::uint32 Vst3Instance::processContextRequirements() const {
    const Ref<vst3::IProcessContextRequirements> requirements =
        queryOf<vst3::IProcessContextRequirements>(component_.get());
    return requirements ? requirements->getProcessContextRequirements() : 0;
}

vst3::int32 Vst3Instance::mainChannels(vst3::BusDirection direction) const {
    const std::vector<vst3::BusInfo> found = buses(vst3::kAudio, direction);
    return found.empty() ? 0 : found.front().channelCount;
}

// ---------------------------------------------------------------- life cycle

vst3::tresult Vst3Instance::setupProcessing(double sampleRate, vst3::int32 maxFrames, vst3::int32 processMode) {
    require(!active_, "setupProcessing while active");
    require(maxFrames >= 1, "setupProcessing without frames");
    vst3::ProcessSetup setup{processMode, vst3::kSample32, maxFrames, sampleRate};
    const vst3::tresult result = processor_->setupProcessing(setup);
    setUp_ = result == vst3::kResultOk;
    if (setUp_) {
        maxFrames_ = maxFrames;
        sampleRate_ = sampleRate;
        processMode_ = processMode;
    }
    return result;
}

vst3::tresult Vst3Instance::activateMainBuses(bool state) {
    require(!active_, "activateBus while active");
    for (const vst3::BusDirection direction : {vst3::kInput, vst3::kOutput}) {
        if (component_->getBusCount(vst3::kAudio, direction) < 1) continue;
        const vst3::tresult result = component_->activateBus(vst3::kAudio, direction, 0, state ? 1 : 0);
        if (result != vst3::kResultOk) return result;
    }
    return vst3::kResultOk;
}

vst3::tresult Vst3Instance::setActive(bool state) {
    require(!processing_, "setActive while processing");
    require(!state || setUp_, "setActive before setupProcessing");
    if (state) {
        inputs_ = {mainChannels(vst3::kInput), 0, {nullptr}};
        outputs_ = {mainChannels(vst3::kOutput), 0, {nullptr}};
    }
    const vst3::tresult result = component_->setActive(state ? 1 : 0);
    if (result == vst3::kResultOk) active_ = state;
    return result;
}

vst3::tresult Vst3Instance::setProcessing(bool state) {
    require(active_, "setProcessing while inactive");
    const vst3::tresult result = processor_->setProcessing(state ? 1 : 0);
    // A processor may answer kNotImplemented, which hosts take as yes.
    if (result == vst3::kResultOk || result == vst3::kNotImplemented) processing_ = state;
    return result;
}

void Vst3Instance::start(double sampleRate, vst3::int32 maxFrames, vst3::int32 processMode) {
    if (!canProcessSampleSize(vst3::kSample32)) throw HostError("the VST 3 processor takes no 32-bit samples");
    if (setupProcessing(sampleRate, maxFrames, processMode) != vst3::kResultOk)
        throw HostError("the VST 3 processor refused the setup at " + std::to_string(sampleRate) + " Hz");
    if (activateMainBuses(true) != vst3::kResultOk) throw HostError("the VST 3 component refused its main buses");
    if (setActive(true) != vst3::kResultOk) throw HostError("the VST 3 component refused to activate");
    const vst3::tresult processing = setProcessing(true);
    if (processing != vst3::kResultOk && processing != vst3::kNotImplemented)
        throw HostError("the VST 3 processor refused to start processing");
}

// ---------------------------------------------------------------- processing

vst3::tresult Vst3Instance::process(const AudioBlock& block) {
    require(processing_, "process while not processing");
    require(block.frames >= 0 && block.frames <= maxFrames_, "a block longer than the setup allows");
    inputs_.silenceFlags = 0;
    inputs_.channelBuffers32 = block.inputs;
    outputs_.silenceFlags = 0;
    outputs_.channelBuffers32 = block.outputs;
    if (block.context != nullptr) contextRecord_ = *block.context;
    inputEvents_->clear();
    outputEvents_->clear();
    outputChanges_->clear();
    vst3::ProcessData data{processMode_,
                           vst3::kSample32,
                           block.frames,
                           block.inputs != nullptr ? 1 : 0,
                           block.outputs != nullptr ? 1 : 0,
                           block.inputs != nullptr ? &inputs_ : nullptr,
                           block.outputs != nullptr ? &outputs_ : nullptr,
                           block.changes,
                           outputChanges_.get(),
                           inputEvents_.get(),
                           outputEvents_.get(),
                           block.context != nullptr ? &contextRecord_ : nullptr};
    return processor_->process(data);
}

vst3::tresult Vst3Instance::flush(vst3::IParameterChanges* changes) {
    return process({nullptr, nullptr, 0, nullptr, changes});
}

// ---------------------------------------------------------------- parameters

vst3::IEditController& Vst3Instance::requireController() const {
    if (!controller_) throw HostError("the VST 3 plug-in has no edit controller");
    return *controller_;
}

vst3::int32 Vst3Instance::parameterCount() const { return controller_ ? controller_->getParameterCount() : 0; }

std::optional<vst3::ParameterInfo> Vst3Instance::parameterInfo(vst3::int32 index) const {
    vst3::ParameterInfo info{};
    if (requireController().getParameterInfo(index, info) != vst3::kResultOk) return std::nullopt;
    return info;
}

vst3::ParamValue Vst3Instance::normalized(vst3::ParamID id) const { return requireController().getParamNormalized(id); }

vst3::tresult Vst3Instance::setNormalized(vst3::ParamID id, vst3::ParamValue value) {
    return requireController().setParamNormalized(id, value);
}

double Vst3Instance::plainOf(vst3::ParamID id, vst3::ParamValue normalized) const {
    return requireController().normalizedParamToPlain(id, normalized);
}

vst3::ParamValue Vst3Instance::normalizedOf(vst3::ParamID id, double plain) const {
    return requireController().plainParamToNormalized(id, plain);
}

std::optional<std::string> Vst3Instance::text(vst3::ParamID id, vst3::ParamValue normalized) const {
    vst3::String128 text{};
    if (requireController().getParamStringByValue(id, normalized, text) != vst3::kResultOk) return std::nullopt;
    return utf8Of(text, vst3::kString128Size);
}

std::optional<vst3::ParamValue> Vst3Instance::normalizedOfText(vst3::ParamID id, const std::string& text) const {
    std::u16string wide = utf16Of(text);
    vst3::ParamValue value = 0.0;
    if (requireController().getParamValueByString(id, wide.data(), value) != vst3::kResultOk) return std::nullopt;
    return value;
}

std::optional<ProgramList> Vst3Instance::programList(vst3::UnitID unitId) const {
    const Ref<vst3::IUnitInfo> units = queryOf<vst3::IUnitInfo>(&requireController());
    if (!units) return std::nullopt;
    std::optional<vst3::ProgramListID> listId;
    for (vst3::int32 index = 0; index < units->getUnitCount(); ++index) {
        vst3::UnitInfo unit{};
        if (units->getUnitInfo(index, unit) == vst3::kResultOk && unit.id == unitId) listId = unit.programListId;
    }
    if (!listId || *listId == vst3::kNoProgramListId) return std::nullopt;
    for (vst3::int32 index = 0; index < units->getProgramListCount(); ++index) {
        vst3::ProgramListInfo info{};
        if (units->getProgramListInfo(index, info) != vst3::kResultOk || info.id != *listId) continue;
        ProgramList list{info.id, utf8Of(info.name, vst3::kString128Size), {}};
        for (vst3::int32 program = 0; program < info.programCount; ++program) {
            vst3::String128 name{};
            if (units->getProgramName(info.id, program, name) != vst3::kResultOk)
                throw HostError("the VST 3 controller gives no name of program " + std::to_string(program));
            list.programs.push_back(utf8Of(name, vst3::kString128Size));
        }
        return list;
    }
    return std::nullopt;
}

// ---------------------------------------------------------------- state

std::optional<std::vector<std::uint8_t>> Vst3Instance::saveState(vst3::int32 bytesPerCall) const {
    const Ref<MemoryStream> stream = makeHostObject<MemoryStream>(std::vector<std::uint8_t>{}, bytesPerCall);
    if (component_->getState(stream.get()) != vst3::kResultOk) return std::nullopt;
    return stream->bytes();
}

vst3::tresult Vst3Instance::loadState(const std::vector<std::uint8_t>& bytes, vst3::int32 bytesPerCall) {
    const Ref<MemoryStream> forProcessor = makeHostObject<MemoryStream>(bytes, bytesPerCall);
    const vst3::tresult result = component_->setState(forProcessor.get());
    if (result != vst3::kResultOk || !controller_) return result;
    const Ref<MemoryStream> forController = makeHostObject<MemoryStream>(bytes, bytesPerCall);
    const vst3::tresult controllerResult = controller_->setComponentState(forController.get());
    return accepted(controllerResult) ? vst3::kResultOk : controllerResult;
}

}  // namespace vst3host
