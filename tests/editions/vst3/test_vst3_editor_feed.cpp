// The VST 3 edition's editor feed: the processor hands its ring to the
// controller in one message at connect, which the controller takes only when
// it checks out; the ring outlives whichever side lets go first; and a
// reader on the controller's side gets what the host heard, the sound the
// same to the bit.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "editor_feed_check.h"
#include "host_application.h"
#include "summary_handover.h"
#include "vst3_test_host.h"

namespace {

using Scene = testsupport::EditorFeedScene;
using vst3test::Ref;

slicecast::SummaryRing* ringOf(vst3::FUnknown* controller) {
    const auto source = vst3test::query<slicecast::ISummaryRingSource>(controller);
    return source ? source->summaryRing() : nullptr;
}

pluginhost::StereoBuffer play(vst3test::Instance& instance, const pluginhost::StereoBuffer& input,
                              slicecast::SummaryRing* ring, std::vector<slicecast::SummaryRecord>& records) {
    pluginhost::StereoBuffer output(input.frames());
    std::uint64_t cursor = 0;
    for (std::size_t at = 0; at < input.frames(); at += Scene::kBlockFrames) {
        const auto frames = static_cast<vst3::int32>(std::min<std::size_t>(Scene::kBlockFrames, input.frames() - at));
        vst3::ProcessContext context = vst3test::contextAt(Scene::positionAt(at), Scene::kTempo, Scene::kSampleRate);
        instance.process(&input, output, at, frames, &context);
        if (ring != nullptr) {
            ring->readFrom(cursor, [&](const slicecast::SummaryRecord& record) { records.push_back(record); });
        }
    }
    return output;
}

TEST(Vst3EditorFeed, AReaderOnTheControllerGetsWhatTheHostHeard) {
    const pluginhost::StereoBuffer input = Scene::input(3 * Scene::kFramesPerPeriod + 480 * 7);
    vst3test::Instance plain;
    plain.activate(Scene::kSampleRate);
    vst3test::Instance read;
    read.activate(Scene::kSampleRate);
    slicecast::SummaryRing* ring = ringOf(read.controller.get());
    ASSERT_NE(nullptr, ring);
    ring->addReader();
    std::vector<slicecast::SummaryRecord> none;
    std::vector<slicecast::SummaryRecord> records;
    const pluginhost::StereoBuffer expected = play(plain, input, nullptr, none);
    const pluginhost::StereoBuffer heard = play(read, input, ring, records);
    EXPECT_TRUE(vst3test::sameBits(expected, heard));
    testsupport::expectFeedMatches(records, heard, 0);
    ring->removeReader();
    plain.deactivate();
    read.deactivate();
}

// The two objects made and joined by hand, as hosts do in their own orders.
struct Pair {
    Pair() {
        component = vst3test::createInstance<vst3::IComponent>(vst3test::classIdAt(0));
        controller = vst3test::createInstance<vst3::IEditController>(vst3test::classIdAt(1));
        processorPoint = vst3test::query<vst3::IConnectionPoint>(component.get());
        controllerPoint = vst3test::query<vst3::IConnectionPoint>(controller.get());
        EXPECT_EQ(vst3::kResultOk, component->initialize(context.get()));
        EXPECT_EQ(vst3::kResultOk, controller->initialize(context.get()));
    }
    Ref<vst3host::HostApplication> context = vst3host::makeHostObject<vst3host::HostApplication>();
    Ref<vst3::IComponent> component;
    Ref<vst3::IEditController> controller;
    Ref<vst3::IConnectionPoint> processorPoint;
    Ref<vst3::IConnectionPoint> controllerPoint;
};

enum class First { processor, controller };

struct OrderCase {
    const char* name;
    First connects;
    First disconnects;
    bool processorGoneFirst;  // terminated and released before the controller lets go
};

const OrderCase kOrderCases[] = {
    {"connect_p_c_disconnect_p_c", First::processor, First::processor, false},
    {"connect_p_c_disconnect_c_p", First::processor, First::controller, false},
    {"connect_c_p_disconnect_p_c", First::controller, First::processor, false},
    {"connect_c_p_disconnect_c_p", First::controller, First::controller, false},
    {"processor_released_before_the_controller_disconnects", First::processor, First::processor, true},
};

class Vst3FeedHandover : public testing::TestWithParam<OrderCase> {};

TEST_P(Vst3FeedHandover, TheControllerHoldsTheRingUntilItDisconnects) {
    const OrderCase& c = GetParam();
    Pair pair;
    const auto connectProcessor = [&] { return pair.processorPoint->connect(pair.controllerPoint.get()); };
    const auto connectController = [&] { return pair.controllerPoint->connect(pair.processorPoint.get()); };
    EXPECT_EQ(vst3::kResultOk, c.connects == First::processor ? connectProcessor() : connectController());
    EXPECT_EQ(vst3::kResultOk, c.connects == First::processor ? connectController() : connectProcessor());
    slicecast::SummaryRing* ring = ringOf(pair.controller.get());
    ASSERT_NE(nullptr, ring);

    // The ring is the processor's: its blocks reach a reader of it.
    ring->addReader();
    const auto processor = vst3test::query<vst3::IAudioProcessor>(pair.component.get());
    vst3::ProcessSetup setup{vst3::kRealtime, vst3::kSample32, 512, Scene::kSampleRate};
    ASSERT_EQ(vst3::kResultOk, processor->setupProcessing(setup));
    ASSERT_EQ(vst3::kResultOk, pair.component->setActive(1));
    const pluginhost::StereoBuffer input = Scene::input(512);
    pluginhost::StereoBuffer output(512);
    float* inputs[2] = {const_cast<float*>(input.left.data()), const_cast<float*>(input.right.data())};
    float* outputs[2] = {output.left.data(), output.right.data()};
    vst3::AudioBusBuffers in{};
    in.numChannels = 2;
    in.channelBuffers32 = inputs;
    vst3::AudioBusBuffers out{};
    out.numChannels = 2;
    out.channelBuffers32 = outputs;
    vst3::ProcessContext context = vst3test::contextAt(0.0, Scene::kTempo, Scene::kSampleRate);
    vst3::ProcessData data{};
    data.processMode = vst3::kRealtime;
    data.symbolicSampleSize = vst3::kSample32;
    data.numSamples = 512;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &in;
    data.outputs = &out;
    data.processContext = &context;
    ASSERT_EQ(vst3::kResultOk, processor->process(data));
    EXPECT_GT(ring->written(), 0u);
    ASSERT_EQ(vst3::kResultOk, pair.component->setActive(0));

    const auto disconnectProcessor = [&] { return pair.processorPoint->disconnect(pair.controllerPoint.get()); };
    const auto disconnectController = [&] { return pair.controllerPoint->disconnect(pair.processorPoint.get()); };
    // The controller keeps its peer (a reference) until it disconnects.
    vst3::IConnectionPoint* const processorPeer = pair.processorPoint.get();
    if (c.processorGoneFirst) {
        EXPECT_EQ(vst3::kResultOk, disconnectProcessor());
        EXPECT_EQ(vst3::kResultOk, pair.component->terminate());
        pair.processorPoint.reset();
        pair.component.reset();
    } else {
        EXPECT_EQ(vst3::kResultOk, c.disconnects == First::processor ? disconnectProcessor() : disconnectController());
    }
    // Until the controller lets go, the ring is still there to read.
    if (ringOf(pair.controller.get()) != nullptr) {
        std::uint64_t cursor = 0;
        EXPECT_GT(ring->readFrom(cursor, [](const slicecast::SummaryRecord&) {}).read, 0u);
    }
    if (c.processorGoneFirst) {
        EXPECT_EQ(ring, ringOf(pair.controller.get()));
        EXPECT_EQ(vst3::kResultOk, pair.controllerPoint->disconnect(processorPeer));
        EXPECT_EQ(vst3::kResultOk, pair.controller->terminate());
    } else {
        EXPECT_EQ(vst3::kResultOk, c.disconnects == First::processor ? disconnectController() : disconnectProcessor());
        EXPECT_EQ(vst3::kResultOk, pair.component->terminate());
        EXPECT_EQ(vst3::kResultOk, pair.controller->terminate());
    }
    EXPECT_EQ(nullptr, ringOf(pair.controller.get()));
}

INSTANTIATE_TEST_SUITE_P(Orders, Vst3FeedHandover, testing::ValuesIn(kOrderCases),
                         [](const testing::TestParamInfo<OrderCase>& info) { return std::string(info.param.name); });

// A hand-over message as a host might deliver it, every key given unless
// left out, to a controller that was never connected.
struct ForgedCase {
    const char* name;
    const char* id;
    std::int64_t magic;
    std::int64_t version;
    bool ownInstance;   // the instance id of a live processor's feed
    bool ownAddress;    // ... and its address
    const char* leftOut;
};

constexpr std::int64_t kMagic = 0x536c6963'52696e67;

const ForgedCase kForgedCases[] = {
    {"another_message", "Parameters", kMagic, 1, true, true, nullptr},
    {"wrong_magic", "SlicecastSummaryRing", kMagic + 1, 1, true, true, nullptr},
    {"other_version", "SlicecastSummaryRing", kMagic, 2, true, true, nullptr},
    {"unknown_instance", "SlicecastSummaryRing", kMagic, 1, false, true, nullptr},
    {"address_from_elsewhere", "SlicecastSummaryRing", kMagic, 1, true, false, nullptr},
    {"no_address", "SlicecastSummaryRing", kMagic, 1, true, true, "address"},
    {"no_magic", "SlicecastSummaryRing", kMagic, 1, true, true, "magic"},
};

// Catches the processor's message on its way, as a proxy would see it.
class MessageTap final : public vst3host::HostObject<MessageTap, vst3::IConnectionPoint> {
public:
    vst3::tresult SLICECAST_VST3_CALL connect(vst3::IConnectionPoint*) override { return vst3::kResultOk; }
    vst3::tresult SLICECAST_VST3_CALL disconnect(vst3::IConnectionPoint*) override { return vst3::kResultOk; }
    vst3::tresult SLICECAST_VST3_CALL notify(vst3::IMessage* message) override {
        message->getAttributes()->getInt("instance", instance);
        message->getAttributes()->getInt("address", address);
        return vst3::kResultOk;
    }
    std::int64_t instance = 0;
    std::int64_t address = 0;
};

class Vst3FeedGuard : public testing::TestWithParam<ForgedCase> {};

TEST_P(Vst3FeedGuard, AMessageThatDoesNotCheckOutGivesNoRing) {
    const ForgedCase& c = GetParam();
    Pair pair;
    const auto tap = vst3host::makeHostObject<MessageTap>();
    ASSERT_EQ(vst3::kResultOk, pair.processorPoint->connect(tap.get()));
    ASSERT_NE(0, tap->address);

    void* made = nullptr;
    vst3::TUID messageId;
    std::memcpy(messageId, vst3::IMessage::iid.data(), sizeof messageId);
    ASSERT_EQ(vst3::kResultOk, pair.context->createInstance(messageId, messageId, &made));
    const auto message = Ref<vst3::IMessage>::adopt(static_cast<vst3::IMessage*>(made));
    message->setMessageID(c.id);
    const auto set = [&](const char* key, std::int64_t value) {
        if (c.leftOut == nullptr || std::strcmp(c.leftOut, key) != 0) message->getAttributes()->setInt(key, value);
    };
    set("magic", c.magic);
    set("version", c.version);
    set("instance", c.ownInstance ? tap->instance : tap->instance + 1000);
    set("address", c.ownAddress ? tap->address : tap->address + 64);
    EXPECT_EQ(vst3::kResultFalse, pair.controllerPoint->notify(message.get()));
    EXPECT_EQ(nullptr, ringOf(pair.controller.get()));

    // The same message with every key right is taken.
    message->setMessageID("SlicecastSummaryRing");
    message->getAttributes()->setInt("magic", kMagic);
    message->getAttributes()->setInt("version", 1);
    message->getAttributes()->setInt("instance", tap->instance);
    message->getAttributes()->setInt("address", tap->address);
    EXPECT_EQ(vst3::kResultOk, pair.controllerPoint->notify(message.get()));
    EXPECT_NE(nullptr, ringOf(pair.controller.get()));
    EXPECT_EQ(vst3::kResultOk, pair.processorPoint->disconnect(tap.get()));
    EXPECT_EQ(vst3::kResultOk, pair.component->terminate());
    EXPECT_EQ(vst3::kResultOk, pair.controller->terminate());
}

INSTANTIATE_TEST_SUITE_P(Messages, Vst3FeedGuard, testing::ValuesIn(kForgedCases),
                         [](const testing::TestParamInfo<ForgedCase>& info) { return std::string(info.param.name); });

}  // namespace
