// 32-bit hosts may call with the stack aligned to 4 bytes only. Every
// function a host calls, the entry point and the record's, is called here
// from each misaligned position, and must answer and sound exactly as it
// does when called from an aligned stack.
#include <gtest/gtest.h>

#include <bit>
#include <cstring>

#include "misaligned_call.h"
#include "slicecast_plugin.h"

namespace {

template <typename T>
std::uint32_t word(T value) {
    static_assert(sizeof(T) == sizeof(std::uint32_t));
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The record's functions, each called misaligned by skew bytes.
struct MisalignedHostCalls {
    AEffect* effect;
    std::uint32_t skew;

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f) {
        const std::uint32_t arguments[] = {word(effect), word(opcode), word(index), word(value), word(ptr), word(opt)};
        return static_cast<VstIntPtr>(
            misalignedCall(reinterpret_cast<const void*>(effect->dispatcher), arguments, 6, skew));
    }
    void setParameter(VstInt32 index, float value) {
        const std::uint32_t arguments[] = {word(effect), word(index), word(value)};
        misalignedCall(reinterpret_cast<const void*>(effect->setParameter), arguments, 3, skew);
    }
    float getParameter(VstInt32 index) {
        const std::uint32_t arguments[] = {word(effect), word(index)};
        return misalignedCallFloat(reinterpret_cast<const void*>(effect->getParameter), arguments, 2, skew);
    }
    void processReplacing(float** inputs, float** outputs, VstInt32 frames) {
        const std::uint32_t arguments[] = {word(effect), word(inputs), word(outputs), word(frames)};
        misalignedCall(reinterpret_cast<const void*>(effect->processReplacing), arguments, 4, skew);
    }
};

constexpr float kSettings[6] = {1.0f, 0.75f, 0.6f, 0.4f, 0.5f, 0.8f};

}  // namespace

TEST(StackAlignment, EveryHostCalledFunctionWorksFromAMisalignedStack) {
    const auto input = testsupport::noise(4096, 9);
    // The same instance life, called from an aligned stack.
    testsupport::SlicecastSession aligned(48000.0, 128.5, 0.0, 256);
    for (VstInt32 index = 0; index < 6; ++index) aligned.plugin->setParameter(index, kSettings[index]);
    const auto expected = aligned.render(input, 256);

    for (std::uint32_t skew : {4u, 8u, 12u}) {
        SCOPED_TRACE(skew);
        vst2host::Host host;
        host.transport = pluginhost::Transport(48000.0, 128.5, 0.0);
        // The entry point itself, misaligned. The host's callback answers
        // the version query without knowing the effect; afterwards the
        // record's host field leads it to this host, as instantiate() does.
        const std::uint32_t callback[] = {word(&vst2host::Host::callback)};
        auto* effect = reinterpret_cast<AEffect*>(
            misalignedCall(reinterpret_cast<const void*>(testsupport::slicecastEntry()), callback, 1, skew));
        ASSERT_NE(effect, nullptr);
        ASSERT_EQ(effect->magic, kEffectMagic);
        effect->resvd1 = reinterpret_cast<VstIntPtr>(&host);
        MisalignedHostCalls calls{effect, skew};

        calls.dispatch(effOpen);
        calls.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
        calls.dispatch(effSetBlockSize, 0, 256);
        calls.dispatch(effMainsChanged, 0, 1);
        for (VstInt32 index = 0; index < 6; ++index) {
            calls.setParameter(index, kSettings[index]);
            EXPECT_EQ(calls.getParameter(index), aligned.plugin->getParameter(index)) << "parameter " << index;
        }
        char display[64] = {};
        EXPECT_EQ(calls.dispatch(effGetParamDisplay, 0, 0, display), 0);
        EXPECT_STREQ(display, "1/64");

        pluginhost::StereoBuffer output(input.frames());
        for (std::size_t frame = 0; frame < input.frames(); frame += 256) {
            float* inputs[2] = {const_cast<float*>(input.left.data() + frame), const_cast<float*>(input.right.data() + frame)};
            float* outputs[2] = {output.left.data() + frame, output.right.data() + frame};
            calls.processReplacing(inputs, outputs, 256);
            host.transport.advance(256);
        }
        EXPECT_EQ(output.left, expected.left);
        EXPECT_EQ(output.right, expected.right);
        EXPECT_EQ(calls.dispatch(effClose), 1);
    }
}
