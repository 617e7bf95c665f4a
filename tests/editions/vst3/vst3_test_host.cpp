#include "vst3_test_host.h"

#include <gtest/gtest.h>

#include <cstring>

#include "host_object.h"

namespace vst3test {

vst3::IPluginFactory3& slicecastFactory() {
    static const Ref<vst3::IPluginFactory3> factory =
        query<vst3::IPluginFactory3>(&testsupport::slicecastVst3Module().factory());
    if (!factory) throw pluginhost::HostError("the factory is not an IPluginFactory3");
    return *factory;
}

std::string slicecastBundlePath() { return testsupport::slicecastVst3Path(); }

vst3::Uid classIdAt(vst3::int32 index) {
    vst3::PClassInfo info{};
    EXPECT_EQ(slicecastFactory().getClassInfo(index, &info), vst3::kResultOk);
    return vst3::uidFromBytes(info.cid);
}

Ref<vst3host::MemoryStream> stream(std::vector<std::uint8_t> bytes, vst3::int32 stride) {
    return vst3host::makeHostObject<vst3host::MemoryStream>(std::move(bytes), stride);
}

Ref<vst3host::ParameterChanges> changes() { return vst3host::makeHostObject<vst3host::ParameterChanges>(); }

vst3::ProcessContext contextAt(double position, double tempo, double sampleRate) {
    vst3::ProcessContext context{};
    context.state = vst3::kProjectTimeMusicValid | vst3::kTempoValid;
    context.sampleRate = sampleRate;
    context.projectTimeMusic = position;
    context.tempo = tempo;
    return context;
}

Instance::Instance()
    : effect(testsupport::slicecastVst3Module()),
      component(Ref<vst3::IComponent>::share(&effect.component())),
      processor(Ref<vst3::IAudioProcessor>::share(&effect.processor())),
      controller(Ref<vst3::IEditController>::share(effect.controller())) {
    EXPECT_FALSE(effect.singleComponent());
    EXPECT_TRUE(effect.connected());
    if (!controller) throw pluginhost::HostError("no controller");
}

Instance::~Instance() {
    // The driver's references go last.
    component.reset();
    processor.reset();
    controller.reset();
    EXPECT_EQ(effect.close(), vst3::kResultOk);
}

void Instance::activate(double sampleRate, vst3::int32 maxBlock) {
    EXPECT_EQ(effect.setupProcessing(sampleRate, maxBlock), vst3::kResultOk);
    EXPECT_EQ(effect.setActive(true), vst3::kResultOk);
    EXPECT_EQ(effect.setProcessing(true), vst3::kResultOk);
}

void Instance::deactivate() {
    EXPECT_EQ(effect.setProcessing(false), vst3::kResultOk);
    EXPECT_EQ(effect.setActive(false), vst3::kResultOk);
}

vst3::tresult Instance::process(const pluginhost::StereoBuffer* input, pluginhost::StereoBuffer& output,
                                std::size_t first, vst3::int32 frames, vst3::ProcessContext* context,
                                vst3::IParameterChanges* changes, vst3::uint64* outputSilence) {
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
    outputBus.silenceFlags = ~vst3::uint64{0};
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
    const vst3::tresult result = processor->process(data);
    if (outputSilence != nullptr) *outputSilence = outputBus.silenceFlags;
    return result;
}

std::vector<std::uint8_t> Instance::savedState() { return effect.saveState().value_or(std::vector<std::uint8_t>{}); }

bool sameBits(const pluginhost::StereoBuffer& a, const pluginhost::StereoBuffer& b) {
    return a.frames() == b.frames() &&
           std::memcmp(a.left.data(), b.left.data(), a.frames() * sizeof(float)) == 0 &&
           std::memcmp(a.right.data(), b.right.data(), a.frames() * sizeof(float)) == 0;
}

}  // namespace vst3test
