// No exception crosses from the library into its host: a host whose
// callback throws (a C++ host may, by mistake) gets its call answered as a
// failure instead of the exception unwinding back out of the effect.
#include <gtest/gtest.h>

#include <stdexcept>

#include "slicecast_plugin.h"

namespace {

struct ThrowingHost : vst2host::Host {
    VstInt32 throwsOn = -1;
    int throws = 0;
    VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override {
        if (opcode == throwsOn) {
            ++throws;
            throw std::runtime_error("the host failed");
        }
        return Host::answer(effect, opcode, index, value, ptr, opt);
    }
};

}  // namespace

TEST(ExceptionBoundary, AThrowingVersionQueryGivesNoEffect) {
    ThrowingHost host;
    host.throwsOn = audioMasterVersion;
    AEffect* effect = nullptr;
    EXPECT_NO_THROW(effect = host.instantiate(testsupport::slicecastEntry()));
    EXPECT_EQ(host.throws, 1);
    EXPECT_EQ(effect, nullptr);
}

TEST(ExceptionBoundary, EveryHostCalledFunctionAnswersThroughAThrowingCallback) {
    ThrowingHost host;
    vst2host::PluginInstance plugin(host, testsupport::slicecastEntry());
    plugin.switchOn(48000.0f, 64);
    host.throwsOn = audioMasterGetTime;
    AEffect* effect = plugin.effect();

    float in[2][64] = {};
    float out[2][64] = {};
    float* inputs[2] = {in[0], in[1]};
    float* outputs[2] = {out[0], out[1]};
    EXPECT_NO_THROW(effect->processReplacing(effect, inputs, outputs, 64));
    EXPECT_EQ(host.throws, 1) << "processing no longer asks for the time first";

    // Still usable afterwards.
    host.throwsOn = -1;
    EXPECT_NO_THROW(effect->setParameter(effect, 5, 0.5f));
    EXPECT_EQ(effect->getParameter(effect, 5), 0.5f);
    EXPECT_NO_THROW(effect->processReplacing(effect, inputs, outputs, 64));
}
