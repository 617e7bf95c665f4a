#include "vst3_test_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace vst3test {

namespace {

template <typename Interface>
vst3::tresult answer(Interface* self, const vst3::TUID interfaceId, void** object) {
    if (vst3::FUnknown::iid.matches(interfaceId) || Interface::iid.matches(interfaceId)) {
        *object = self;
        return vst3::kResultOk;
    }
    *object = nullptr;
    return vst3::kNoInterface;
}

// The platform's entry and exit: ModuleEntry and ModuleExit on Linux,
// InitDll and ExitDll on Windows.
bool callEntry(const pluginhost::SharedLibrary& library) {
    if (auto entry = reinterpret_cast<vst3::ModuleEntryProc>(library.symbol(vst3::kModuleEntrySymbol)))
        return entry(nullptr);
    if (auto init = reinterpret_cast<vst3::InitDllProc>(library.symbol(vst3::kInitDllSymbol))) return init();
    return false;
}

void callExit(const pluginhost::SharedLibrary& library) {
    if (auto exit = reinterpret_cast<vst3::ModuleExitProc>(library.symbol(vst3::kModuleExitSymbol))) exit();
    if (auto exit = reinterpret_cast<vst3::ExitDllProc>(library.symbol(vst3::kExitDllSymbol))) exit();
}

}  // namespace

Module::Module(const std::string& binaryPath) : library_(binaryPath) {
    if (!callEntry(library_)) throw pluginhost::HostError("the module's entry refused the load");
    auto get = reinterpret_cast<vst3::GetFactoryProc>(library_.symbol(vst3::kGetFactorySymbol));
    if (get == nullptr) throw pluginhost::HostError("no GetPluginFactory");
    const Ref<vst3::IPluginFactory> factory(get());
    factory_ = query<vst3::IPluginFactory3>(factory.get());
    if (!factory_) throw pluginhost::HostError("the factory is not an IPluginFactory3");
}

Module::~Module() {
    factory_ = {};
    callExit(library_);
}

const Module& slicecastModule() {
    static const Module module(SLICECAST_VST3_BINARY);
    return module;
}

std::string slicecastBundlePath() { return SLICECAST_VST3_BUNDLE; }

vst3::Uid classIdAt(vst3::int32 index) {
    vst3::PClassInfo info{};
    EXPECT_EQ(slicecastModule().factory().getClassInfo(index, &info), vst3::kResultOk);
    return vst3::uidFromBytes(info.cid);
}

// ---------------------------------------------------------------- MemoryStream

vst3::tresult MemoryStream::queryInterface(const vst3::TUID interfaceId, void** object) {
    return answer<vst3::IBStream>(this, interfaceId, object);
}

vst3::tresult MemoryStream::read(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesRead) {
    const std::size_t count = std::min({static_cast<std::size_t>(std::max(numBytes, 0)),
                                        static_cast<std::size_t>(stride_), bytes_.size() - position_});
    if (count > 0) std::memcpy(buffer, bytes_.data() + position_, count);
    position_ += count;
    if (numBytesRead != nullptr) *numBytesRead = static_cast<vst3::int32>(count);
    return vst3::kResultOk;
}

vst3::tresult MemoryStream::write(void* buffer, vst3::int32 numBytes, vst3::int32* numBytesWritten) {
    const auto count = static_cast<std::size_t>(std::min(std::max(numBytes, 0), stride_));
    if (bytes_.size() < position_ + count) bytes_.resize(position_ + count);
    if (count > 0) std::memcpy(bytes_.data() + position_, buffer, count);
    position_ += count;
    if (numBytesWritten != nullptr) *numBytesWritten = static_cast<vst3::int32>(count);
    return vst3::kResultOk;
}

vst3::tresult MemoryStream::seek(vst3::int64 position, vst3::int32 mode, vst3::int64* result) {
    const vst3::int64 base = mode == vst3::kIBSeekSet   ? 0
                             : mode == vst3::kIBSeekCur ? static_cast<vst3::int64>(position_)
                                                        : static_cast<vst3::int64>(bytes_.size());
    if (base + position < 0) return vst3::kInvalidArgument;
    position_ = static_cast<std::size_t>(base + position);
    if (result != nullptr) *result = static_cast<vst3::int64>(position_);
    return vst3::kResultOk;
}

vst3::tresult MemoryStream::tell(vst3::int64* position) {
    if (position == nullptr) return vst3::kInvalidArgument;
    *position = static_cast<vst3::int64>(position_);
    return vst3::kResultOk;
}

// ---------------------------------------------------------------- parameter changes

vst3::tresult ParamValueQueue::queryInterface(const vst3::TUID interfaceId, void** object) {
    return answer<vst3::IParamValueQueue>(this, interfaceId, object);
}

vst3::tresult ParamValueQueue::getPoint(vst3::int32 index, vst3::int32& sampleOffset, vst3::ParamValue& value) {
    if (index < 0 || index >= getPointCount()) return vst3::kInvalidArgument;
    std::tie(sampleOffset, value) = points_[static_cast<std::size_t>(index)];
    return vst3::kResultOk;
}

vst3::tresult ParamValueQueue::addPoint(vst3::int32 sampleOffset, vst3::ParamValue value, vst3::int32& index) {
    index = getPointCount();
    points_.emplace_back(sampleOffset, value);
    return vst3::kResultOk;
}

ParameterChanges& ParameterChanges::add(vst3::ParamID id, vst3::int32 offset, vst3::ParamValue value) {
    vst3::int32 index = 0;
    addParameterData(id, index)->addPoint(offset, value, index);
    return *this;
}

vst3::tresult ParameterChanges::queryInterface(const vst3::TUID interfaceId, void** object) {
    return answer<vst3::IParameterChanges>(this, interfaceId, object);
}

vst3::IParamValueQueue* ParameterChanges::getParameterData(vst3::int32 index) {
    if (index < 0 || index >= getParameterCount()) return nullptr;
    return &queues_[static_cast<std::size_t>(index)];
}

vst3::IParamValueQueue* ParameterChanges::addParameterData(const vst3::ParamID& id, vst3::int32& index) {
    for (std::size_t i = 0; i < queues_.size(); ++i) {
        if (queues_[i].getParameterId() != id) continue;
        index = static_cast<vst3::int32>(i);
        return &queues_[i];
    }
    index = getParameterCount();
    return &queues_.emplace_back(id);
}

vst3::ProcessContext contextAt(double position, double tempo, double sampleRate) {
    vst3::ProcessContext context{};
    context.state = vst3::kProjectTimeMusicValid | vst3::kTempoValid;
    context.sampleRate = sampleRate;
    context.projectTimeMusic = position;
    context.tempo = tempo;
    return context;
}

// ---------------------------------------------------------------- Instance

Instance::Instance() : component(createInstance<vst3::IComponent>(classIdAt(0))) {
    if (!component) throw pluginhost::HostError("no processor");
    EXPECT_EQ(component->initialize(nullptr), vst3::kResultOk);
    processor = query<vst3::IAudioProcessor>(component.get());
    vst3::TUID controllerId{};
    EXPECT_EQ(component->getControllerClassId(controllerId), vst3::kResultOk);
    controller = createInstance<vst3::IEditController>(vst3::uidFromBytes(controllerId));
    if (!processor || !controller) throw pluginhost::HostError("no audio processor or controller");
    EXPECT_EQ(controller->initialize(nullptr), vst3::kResultOk);
    processorPoint = query<vst3::IConnectionPoint>(component.get());
    controllerPoint = query<vst3::IConnectionPoint>(controller.get());
    EXPECT_EQ(processorPoint->connect(controllerPoint.get()), vst3::kResultOk);
    EXPECT_EQ(controllerPoint->connect(processorPoint.get()), vst3::kResultOk);
}

Instance::~Instance() {
    EXPECT_EQ(processorPoint->disconnect(controllerPoint.get()), vst3::kResultOk);
    EXPECT_EQ(controllerPoint->disconnect(processorPoint.get()), vst3::kResultOk);
    EXPECT_EQ(controller->terminate(), vst3::kResultOk);
    EXPECT_EQ(component->terminate(), vst3::kResultOk);
}

void Instance::activate(double sampleRate, vst3::int32 maxBlock) {
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, maxBlock, sampleRate};
    EXPECT_EQ(processor->setupProcessing(setup), vst3::kResultOk);
    EXPECT_EQ(component->setActive(1), vst3::kResultOk);
    EXPECT_EQ(processor->setProcessing(1), vst3::kResultOk);
}

void Instance::deactivate() {
    EXPECT_EQ(processor->setProcessing(0), vst3::kResultOk);
    EXPECT_EQ(component->setActive(0), vst3::kResultOk);
}

vst3::tresult Instance::process(const pluginhost::StereoBuffer* input, pluginhost::StereoBuffer& output,
                                std::size_t first, vst3::int32 frames, vst3::ProcessContext* context,
                                vst3::IParameterChanges* changes) {
    float* inputChannels[2] = {};
    if (input != nullptr) {
        inputChannels[0] = const_cast<float*>(input->left.data() + first);
        inputChannels[1] = const_cast<float*>(input->right.data() + first);
    }
    float* outputChannels[2] = {output.left.data() + first, output.right.data() + first};
    vst3::AudioBusBuffers inputBus{};
    inputBus.numChannels = 2;
    inputBus.channelBuffers32 = inputChannels;
    vst3::AudioBusBuffers outputBus{};
    outputBus.numChannels = 2;
    outputBus.channelBuffers32 = outputChannels;
    vst3::ProcessData data{};
    data.processMode = vst3::kRealtime;
    data.symbolicSampleSize = vst3::kSample32;
    data.numSamples = frames;
    data.numInputs = input != nullptr ? 1 : 0;
    data.numOutputs = 1;
    data.inputs = input != nullptr ? &inputBus : nullptr;
    data.outputs = &outputBus;
    data.inputParameterChanges = changes;
    data.processContext = context;
    return processor->process(data);
}

std::vector<std::uint8_t> Instance::savedState() {
    MemoryStream stream;
    if (component->getState(&stream) != vst3::kResultOk) return {};
    return stream.bytes();
}

bool sameBits(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b) {
    return a.frames() == b.frames() &&
           std::memcmp(a.left.data(), b.left.data(), a.frames() * sizeof(float)) == 0 &&
           std::memcmp(a.right.data(), b.right.data(), a.frames() * sizeof(float)) == 0;
}

}  // namespace vst3test
