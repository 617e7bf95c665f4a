// The host's own objects as a plug-in uses them: streams that move a few
// bytes a call, parameter changes in offset order, messages and attribute
// lists made by the host's context, the handler's record, and the
// references each of them counts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "component_handler.h"
#include "event_list.h"
#include "host_application.h"
#include "host_message.h"
#include "host_object.h"
#include "memory_stream.h"
#include "parameter_changes.h"

namespace {

using vst3host::makeHostObject;
using vst3host::Ref;
using Bytes = std::vector<std::uint8_t>;

// Reads until a call moves nothing, asking for ask bytes a call.
Bytes readAll(vst3::IBStream& stream, vst3::int32 ask, int& calls) {
    Bytes all;
    for (;;) {
        std::uint8_t buffer[16] = {};
        vst3::int32 moved = -1;
        EXPECT_EQ(stream.read(buffer, ask, &moved), vst3::kResultOk);
        ++calls;
        if (moved == 0) return all;
        EXPECT_LE(moved, ask);
        all.insert(all.end(), buffer, buffer + moved);
    }
}

TEST(MemoryStream, ReadsAndWritesAtMostItsStrideAndAnswersOkWithNothingAtTheEnd) {
    const Bytes bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const struct {
        vst3::int32 stride;
        vst3::int32 ask;
        int calls;  // reads, the last of which moves nothing
    } rows[] = {{1, 16, 11}, {3, 16, 5}, {INT32_MAX, 16, 2}, {INT32_MAX, 4, 4}, {4, 3, 5}};
    for (const auto& row : rows) {
        const auto reading = makeHostObject<vst3host::MemoryStream>(bytes, row.stride);
        int calls = 0;
        EXPECT_EQ(readAll(*reading, row.ask, calls), bytes) << row.stride << ", " << row.ask;
        EXPECT_EQ(calls, row.calls) << row.stride << ", " << row.ask;

        const auto writing = makeHostObject<vst3host::MemoryStream>(Bytes{}, row.stride);
        Bytes copy = bytes;
        vst3::int32 written = 0;
        EXPECT_EQ(writing->write(copy.data(), 10, &written), vst3::kResultOk);
        EXPECT_EQ(written, std::min(row.stride, 10)) << row.stride;
        EXPECT_EQ(writing->bytes(), Bytes(bytes.begin(), bytes.begin() + written));
    }
}

TEST(MemoryStream, SeeksFromEachOriginAndWritesPastTheEndOverZeros) {
    const auto stream = makeHostObject<vst3host::MemoryStream>(Bytes{1, 2, 3, 4});
    const struct {
        vst3::int64 offset;
        vst3::int32 mode;
        vst3::tresult result;
        vst3::int64 position;  // afterwards
    } rows[] = {
        {2, vst3::kIBSeekSet, vst3::kResultOk, 2},       {1, vst3::kIBSeekCur, vst3::kResultOk, 3},
        {-4, vst3::kIBSeekEnd, vst3::kResultOk, 0},      {-1, vst3::kIBSeekSet, vst3::kInvalidArgument, 0},
        {-1, vst3::kIBSeekCur, vst3::kInvalidArgument, 0}, {3, 7, vst3::kInvalidArgument, 0},
        {2, vst3::kIBSeekEnd, vst3::kResultOk, 6},
    };
    for (const auto& row : rows) {
        vst3::int64 result = -1;
        EXPECT_EQ(stream->seek(row.offset, row.mode, &result), row.result) << row.offset << ", " << row.mode;
        vst3::int64 told = -1;
        EXPECT_EQ(stream->tell(&told), vst3::kResultOk);
        EXPECT_EQ(told, row.position) << row.offset << ", " << row.mode;
        if (row.result == vst3::kResultOk) {
            EXPECT_EQ(result, row.position);
        }
    }
    std::uint8_t nine = 9;
    EXPECT_EQ(stream->write(&nine, 1, nullptr), vst3::kResultOk);
    EXPECT_EQ(stream->bytes(), (Bytes{1, 2, 3, 4, 0, 0, 9}));
    vst3::int32 moved = -1;
    EXPECT_EQ(stream->read(&nine, -1, &moved), vst3::kInvalidArgument);
    EXPECT_EQ(moved, 0);
}

TEST(ParameterChanges, OneQueuePerParameterItsPointsInOffsetOrder) {
    const auto changes = makeHostObject<vst3host::ParameterChanges>();
    changes->add(4, 100, 0.5).add(1, 7, 0.25).add(4, 3, 0.125).add(4, 100, 0.75).add(4, 50, 1.0);
    ASSERT_EQ(changes->getParameterCount(), 2);
    vst3::IParamValueQueue* queue = changes->getParameterData(0);
    ASSERT_NE(queue, nullptr);
    EXPECT_EQ(queue->getParameterId(), 4u);
    const std::vector<std::pair<vst3::int32, double>> expected{{3, 0.125}, {50, 1.0}, {100, 0.5}, {100, 0.75}};
    ASSERT_EQ(queue->getPointCount(), 4);
    for (vst3::int32 i = 0; i < 4; ++i) {
        vst3::int32 offset = -1;
        double value = -1.0;
        EXPECT_EQ(queue->getPoint(i, offset, value), vst3::kResultOk);
        EXPECT_EQ(std::make_pair(offset, value), expected[static_cast<std::size_t>(i)]) << i;
    }
    vst3::int32 offset = 0;
    double value = 0.0;
    EXPECT_EQ(queue->getPoint(4, offset, value), vst3::kInvalidArgument);
    EXPECT_EQ(changes->getParameterData(2), nullptr);
    vst3::int32 index = -1;
    EXPECT_EQ(changes->addParameterData(1, index), changes->getParameterData(1));
    EXPECT_EQ(index, 1);

    // Cleared, the queues are reused for the next block's parameters.
    changes->clear();
    EXPECT_EQ(changes->getParameterCount(), 0);
    changes->add(5, 0, 0.5);
    ASSERT_EQ(changes->getParameterCount(), 1);
    EXPECT_EQ(changes->getParameterData(0), queue);
    EXPECT_EQ(queue->getParameterId(), 5u);
    EXPECT_EQ(queue->getPointCount(), 1);
}

TEST(HostApplication, MakesMessagesAndAttributeListsForTheCaller) {
    const auto context = makeHostObject<vst3host::HostApplication>("Tester");
    vst3::String128 name{};
    EXPECT_EQ(context->getName(name), vst3::kResultOk);
    EXPECT_EQ(std::u16string(name), u"Tester");

    void* made = nullptr;
    vst3::TUID messageId{};
    std::copy_n(vst3::IMessage::iid.data(), 16, messageId);
    ASSERT_EQ(context->createInstance(messageId, messageId, &made), vst3::kResultOk);
    const auto message = Ref<vst3::IMessage>::adopt(static_cast<vst3::IMessage*>(made));
    message->setMessageID("values");
    EXPECT_STREQ(message->getMessageID(), "values");
    vst3::IAttributeList* attributes = message->getAttributes();
    ASSERT_NE(attributes, nullptr);
    EXPECT_EQ(attributes->setInt("count", -7), vst3::kResultOk);
    EXPECT_EQ(attributes->setFloat("gain", 0.25), vst3::kResultOk);
    EXPECT_EQ(attributes->setString("name", u"Slice"), vst3::kResultOk);
    const std::uint8_t blob[] = {9, 8, 7};
    EXPECT_EQ(attributes->setBinary("blob", blob, 3), vst3::kResultOk);
    vst3::int64 count = 0;
    double gain = 0.0;
    vst3::TChar text[4] = {};
    const void* data = nullptr;
    vst3::uint32 size = 0;
    EXPECT_EQ(attributes->getInt("count", count), vst3::kResultOk);
    EXPECT_EQ(attributes->getFloat("gain", gain), vst3::kResultOk);
    EXPECT_EQ(attributes->getString("name", text, sizeof text), vst3::kResultOk);
    EXPECT_EQ(attributes->getBinary("blob", data, size), vst3::kResultOk);
    EXPECT_EQ(count, -7);
    EXPECT_EQ(gain, 0.25);
    EXPECT_EQ(std::u16string(text), u"Sli") << "cut to the bytes given, the NUL kept";
    ASSERT_EQ(size, 3u);
    EXPECT_TRUE(std::equal(blob, blob + 3, static_cast<const std::uint8_t*>(data)));
    EXPECT_EQ(attributes->getInt("gain", count), vst3::kResultFalse) << "a float is no integer";
    EXPECT_EQ(attributes->getFloat("missing", gain), vst3::kResultFalse);

    vst3::TUID listId{};
    std::copy_n(vst3::IAttributeList::iid.data(), 16, listId);
    ASSERT_EQ(context->createInstance(listId, listId, &made), vst3::kResultOk);
    EXPECT_EQ(static_cast<vst3::IAttributeList*>(made)->release(), 0u) << "the caller holds the only reference";
    vst3::TUID streamId{};
    std::copy_n(vst3::IBStream::iid.data(), 16, streamId);
    made = &listId;
    EXPECT_EQ(context->createInstance(streamId, streamId, &made), vst3::kNoInterface);
    EXPECT_EQ(made, nullptr);
}

TEST(ComponentHandler, RecordsEditsAndRestartsInTheirOrder) {
    const auto handler = makeHostObject<vst3host::ComponentHandler>();
    handler->beginEdit(2);
    handler->performEdit(2, 0.5);
    handler->restartComponent(vst3::kParamValuesChanged);
    handler->endEdit(2);
    using Kind = vst3host::ParameterEdit::Kind;
    EXPECT_EQ(handler->edits(), (std::vector<vst3host::ParameterEdit>{
                                    {Kind::Begin, 2, 0.0}, {Kind::Perform, 2, 0.5}, {Kind::End, 2, 0.0}}));
    EXPECT_EQ(handler->restarts(), std::vector<vst3::int32>{vst3::kParamValuesChanged});
}

// Every host object answers for FUnknown and its own interfaces, each
// answer one more reference, and no other.
template <typename Object, typename Interface>
void expectCounted(const Ref<Object>& object) {
    EXPECT_EQ(object->references(), 1u);
    for (const vst3::Uid* id : {&vst3::FUnknown::iid, &Interface::iid}) {
        void* answer = nullptr;
        ASSERT_EQ(object->queryInterface(id->data(), &answer), vst3::kResultOk);
        EXPECT_EQ(answer, static_cast<Interface*>(object.get()));
        EXPECT_EQ(object->references(), 2u);
        EXPECT_EQ(static_cast<Interface*>(answer)->release(), 1u);
    }
    void* answer = &answer;
    EXPECT_EQ(object->queryInterface(vst3::IComponent::iid.data(), &answer), vst3::kNoInterface);
    EXPECT_EQ(answer, nullptr);
    EXPECT_EQ(object->queryInterface(Interface::iid.data(), nullptr), vst3::kInvalidArgument);
    EXPECT_EQ(object->references(), 1u);
}

TEST(HostObjects, AnswerTheirInterfacesAndCountTheirReferences) {
    expectCounted<vst3host::HostApplication, vst3::IHostApplication>(makeHostObject<vst3host::HostApplication>());
    expectCounted<vst3host::ComponentHandler, vst3::IComponentHandler>(makeHostObject<vst3host::ComponentHandler>());
    expectCounted<vst3host::MemoryStream, vst3::IBStream>(makeHostObject<vst3host::MemoryStream>());
    expectCounted<vst3host::ParameterChanges, vst3::IParameterChanges>(makeHostObject<vst3host::ParameterChanges>());
    expectCounted<vst3host::EventList, vst3::IEventList>(makeHostObject<vst3host::EventList>());
    expectCounted<vst3host::HostMessage, vst3::IMessage>(makeHostObject<vst3host::HostMessage>());
}

TEST(HostObjects, OneKeptByAPlugInOutlivesTheHostsReference) {
    // What a plug-in does with a context it keeps: a reference of its own,
    // given back after the host let go of its one. Under the address
    // sanitizer, a lost or doubled release shows here.
    vst3::FUnknown* kept = nullptr;
    {
        const auto context = makeHostObject<vst3host::HostApplication>();
        kept = context.get();
        kept->addRef();
    }
    vst3::String128 name{};
    EXPECT_EQ(static_cast<vst3::IHostApplication*>(kept)->getName(name), vst3::kResultOk);
    EXPECT_EQ(kept->release(), 0u);
}

}  // namespace
