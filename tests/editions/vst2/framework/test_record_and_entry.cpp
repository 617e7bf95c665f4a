// The effect record and the entry point, seen from a host that loads the
// built library.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "slicecast_plugin.h"

using testsupport::slicecastEntry;

namespace {

template <typename T>
T fieldAt(const AEffect* effect, std::size_t offset) {
    T value;
    std::memcpy(&value, reinterpret_cast<const char*>(effect) + offset, sizeof(T));
    return value;
}

struct RefusingHost : vst2host::Host {
    int versionQueries = 0;
    VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt) override {
        if (opcode == audioMasterVersion) {
            ++versionQueries;
            return 0;
        }
        return Host::answer(effect, opcode, index, value, ptr, opt);
    }
};

}  // namespace

TEST(EffectRecord, HoldsTheSpecifiedBytesAtEveryOffsetAfterLoad) {
    vst2host::Host host;
    vst2host::PluginInstance plugin(host, slicecastEntry());
    AEffect* effect = plugin.effect();
    // The host's own field: the test host stores its address there.
    const VstIntPtr hostField = effect->resvd1;
    effect->resvd1 = 0;

    struct Int32Field {
        std::size_t offset;
        std::int32_t value;
    };
    const Int32Field int32Fields[] = {
        {0, 0x56737450},  {4, 0},  {40, 1},  {44, 6},  {48, 2},          {52, 2},  {56, 0x10},
        {60, 0},          {80, 0}, {84, 0},  {88, 0},  {112, 0x776A7A63}, {116, 1},
    };
    for (const auto& field : int32Fields) {
        EXPECT_EQ(fieldAt<std::int32_t>(effect, field.offset), field.value) << "offset " << field.offset;
    }
    EXPECT_EQ(fieldAt<float>(effect, 92), 1.0f);
    for (std::size_t offset : {64u, 72u, 104u}) EXPECT_EQ(fieldAt<std::uint64_t>(effect, offset), 0u) << offset;
    for (std::size_t offset : {8u, 16u, 24u, 32u, 96u, 120u, 128u}) {
        EXPECT_NE(fieldAt<std::uint64_t>(effect, offset), 0u) << "pointer at offset " << offset;
    }
    for (std::size_t offset = 136; offset < 192; ++offset) {
        EXPECT_EQ(fieldAt<unsigned char>(effect, offset), 0) << "future byte " << offset;
    }
    // The magic reads P, t, s, V in memory.
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(effect), 4), "PtsV");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(effect) + 112, 4), "czjw");
    effect->resvd1 = hostField;
}

TEST(EntryPoint, AHostRefusingTheVersionGetsNoEffect) {
    RefusingHost host;
    EXPECT_EQ(host.instantiate(slicecastEntry()), nullptr);
    EXPECT_EQ(host.versionQueries, 1);
}

TEST(EntryPoint, ANullCallbackGetsNoEffect) { EXPECT_EQ(slicecastEntry()(nullptr), nullptr); }

TEST(EntryPoint, EachCallMakesAnIndependentInstance) {
    testsupport::SlicecastSession first;
    testsupport::SlicecastSession second;
    EXPECT_NE(first.plugin->effect(), second.plugin->effect());
    EXPECT_NE(first.plugin->effect()->object, second.plugin->effect()->object);

    first.plugin->setParameter(5, 0.25f);
    EXPECT_EQ(second.plugin->getParameter(5), 1.0f);

    // Audio state too: feeding the first does not change what the second plays.
    const auto input = testsupport::noise(4096);
    testsupport::SlicecastSession fresh;
    first.render(testsupport::noise(8192, 7));
    const auto fromSecond = second.render(input);
    const auto fromFresh = fresh.render(input);
    EXPECT_EQ(fromSecond.left, fromFresh.left);
    EXPECT_EQ(fromSecond.right, fromFresh.right);
}

TEST(EntryPoint, CloseAnswersOne) {
    vst2host::Host host;
    AEffect* effect = host.instantiate(slicecastEntry());
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST(EntryPoint, AccumulatingAndDoublePrecisionCallsLeaveOutputsAlone) {
    testsupport::SlicecastSession session;
    AEffect* effect = session.plugin->effect();
    float in[2][8] = {{1, 2, 3, 4, 5, 6, 7, 8}, {8, 7, 6, 5, 4, 3, 2, 1}};
    float out[2][8] = {{9, 9, 9, 9, 9, 9, 9, 9}, {9, 9, 9, 9, 9, 9, 9, 9}};
    float* inputs[2] = {in[0], in[1]};
    float* outputs[2] = {out[0], out[1]};
    effect->process(effect, inputs, outputs, 8);
    double inD[2][8] = {};
    double outD[2][8] = {{5, 5, 5, 5, 5, 5, 5, 5}, {5, 5, 5, 5, 5, 5, 5, 5}};
    double* inputsD[2] = {inD[0], inD[1]};
    double* outputsD[2] = {outD[0], outD[1]};
    effect->processDoubleReplacing(effect, inputsD, outputsD, 8);
    for (int c = 0; c < 2; ++c) {
        for (int i = 0; i < 8; ++i) {
            EXPECT_EQ(out[c][i], 9.0f);
            EXPECT_EQ(outD[c][i], 5.0);
        }
    }
}
