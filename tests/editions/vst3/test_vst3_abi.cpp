// The interface header as the compiler lays it out: every method in the
// vtable slot the format gives it (the sizes and offsets of the records are
// checked where they are declared), and ids built in the platform's byte
// order that read back as their words.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "vst3_abi.h"

namespace {

// The slot a pointer to a virtual member function names. GCC keeps such a
// pointer as {ptr, adj}: where virtual functions need no flag bit in the
// address (x86, both widths), ptr is 1 + the slot's byte offset; on AArch64
// the flag is adj's low bit and ptr is the byte offset itself.
template <typename Member>
std::size_t slotOf(Member member) {
    struct Representation {
        std::uintptr_t ptr;
        std::ptrdiff_t adj;
    };
    static_assert(sizeof(Member) == sizeof(Representation));
    Representation representation;
    std::memcpy(&representation, &member, sizeof representation);
#if defined(__aarch64__)
    EXPECT_EQ(representation.adj & 1, 1) << "not a virtual function";
    return representation.ptr / sizeof(void*);
#else
    EXPECT_EQ(representation.ptr & 1, 1u) << "not a virtual function";
    return (representation.ptr - 1) / sizeof(void*);
#endif
}

struct Slot {
    const char* name;
    std::size_t slot;
    std::size_t expected;
};

#define SLICECAST_SLOT(Interface, method, expected) \
    {#Interface "::" #method, slotOf(&vst3::Interface::method), expected}

TEST(Vst3Interface, EveryMethodSitsInItsSlot) {
    const Slot slots[] = {
        SLICECAST_SLOT(FUnknown, queryInterface, 0),
        SLICECAST_SLOT(FUnknown, addRef, 1),
        SLICECAST_SLOT(FUnknown, release, 2),
        SLICECAST_SLOT(IPluginBase, initialize, 3),
        SLICECAST_SLOT(IPluginBase, terminate, 4),
        SLICECAST_SLOT(IPluginFactory, getFactoryInfo, 3),
        SLICECAST_SLOT(IPluginFactory, countClasses, 4),
        SLICECAST_SLOT(IPluginFactory, getClassInfo, 5),
        SLICECAST_SLOT(IPluginFactory, createInstance, 6),
        SLICECAST_SLOT(IPluginFactory2, getClassInfo2, 7),
        SLICECAST_SLOT(IPluginFactory3, getClassInfoUnicode, 8),
        SLICECAST_SLOT(IPluginFactory3, setHostContext, 9),
        SLICECAST_SLOT(IComponent, getControllerClassId, 5),
        SLICECAST_SLOT(IComponent, setIoMode, 6),
        SLICECAST_SLOT(IComponent, getBusCount, 7),
        SLICECAST_SLOT(IComponent, getBusInfo, 8),
        SLICECAST_SLOT(IComponent, getRoutingInfo, 9),
        SLICECAST_SLOT(IComponent, activateBus, 10),
        SLICECAST_SLOT(IComponent, setActive, 11),
        SLICECAST_SLOT(IComponent, setState, 12),
        SLICECAST_SLOT(IComponent, getState, 13),
        SLICECAST_SLOT(IAudioProcessor, setBusArrangements, 3),
        SLICECAST_SLOT(IAudioProcessor, getBusArrangement, 4),
        SLICECAST_SLOT(IAudioProcessor, canProcessSampleSize, 5),
        SLICECAST_SLOT(IAudioProcessor, getLatencySamples, 6),
        SLICECAST_SLOT(IAudioProcessor, setupProcessing, 7),
        SLICECAST_SLOT(IAudioProcessor, setProcessing, 8),
        SLICECAST_SLOT(IAudioProcessor, process, 9),
        SLICECAST_SLOT(IAudioProcessor, getTailSamples, 10),
        SLICECAST_SLOT(IProcessContextRequirements, getProcessContextRequirements, 3),
        SLICECAST_SLOT(IEditController, setComponentState, 5),
        SLICECAST_SLOT(IEditController, setState, 6),
        SLICECAST_SLOT(IEditController, getState, 7),
        SLICECAST_SLOT(IEditController, getParameterCount, 8),
        SLICECAST_SLOT(IEditController, getParameterInfo, 9),
        SLICECAST_SLOT(IEditController, getParamStringByValue, 10),
        SLICECAST_SLOT(IEditController, getParamValueByString, 11),
        SLICECAST_SLOT(IEditController, normalizedParamToPlain, 12),
        SLICECAST_SLOT(IEditController, plainParamToNormalized, 13),
        SLICECAST_SLOT(IEditController, getParamNormalized, 14),
        SLICECAST_SLOT(IEditController, setParamNormalized, 15),
        SLICECAST_SLOT(IEditController, setComponentHandler, 16),
        SLICECAST_SLOT(IEditController, createView, 17),
        SLICECAST_SLOT(IConnectionPoint, connect, 3),
        SLICECAST_SLOT(IConnectionPoint, disconnect, 4),
        SLICECAST_SLOT(IConnectionPoint, notify, 5),
        SLICECAST_SLOT(IMessage, getMessageID, 3),
        SLICECAST_SLOT(IMessage, setMessageID, 4),
        SLICECAST_SLOT(IMessage, getAttributes, 5),
        SLICECAST_SLOT(IAttributeList, setInt, 3),
        SLICECAST_SLOT(IAttributeList, getInt, 4),
        SLICECAST_SLOT(IAttributeList, setFloat, 5),
        SLICECAST_SLOT(IAttributeList, getFloat, 6),
        SLICECAST_SLOT(IAttributeList, setString, 7),
        SLICECAST_SLOT(IAttributeList, getString, 8),
        SLICECAST_SLOT(IAttributeList, setBinary, 9),
        SLICECAST_SLOT(IAttributeList, getBinary, 10),
        SLICECAST_SLOT(IComponentHandler, beginEdit, 3),
        SLICECAST_SLOT(IComponentHandler, performEdit, 4),
        SLICECAST_SLOT(IComponentHandler, endEdit, 5),
        SLICECAST_SLOT(IComponentHandler, restartComponent, 6),
        SLICECAST_SLOT(IHostApplication, getName, 3),
        SLICECAST_SLOT(IHostApplication, createInstance, 4),
        SLICECAST_SLOT(IBStream, read, 3),
        SLICECAST_SLOT(IBStream, write, 4),
        SLICECAST_SLOT(IBStream, seek, 5),
        SLICECAST_SLOT(IBStream, tell, 6),
        SLICECAST_SLOT(IParamValueQueue, getParameterId, 3),
        SLICECAST_SLOT(IParamValueQueue, getPointCount, 4),
        SLICECAST_SLOT(IParamValueQueue, getPoint, 5),
        SLICECAST_SLOT(IParamValueQueue, addPoint, 6),
        SLICECAST_SLOT(IParameterChanges, getParameterCount, 3),
        SLICECAST_SLOT(IParameterChanges, getParameterData, 4),
        SLICECAST_SLOT(IParameterChanges, addParameterData, 5),
        SLICECAST_SLOT(IEventList, getEventCount, 3),
        SLICECAST_SLOT(IEventList, getEvent, 4),
        SLICECAST_SLOT(IEventList, addEvent, 5),
    };
    for (const Slot& slot : slots) EXPECT_EQ(slot.slot, slot.expected) << slot.name;
}

TEST(Vst3Interface, IdsReadBackAsTheirWordsWhateverTheirBytes) {
    const vst3::UidWords words[] = {{0x30E1D665, 0xB62B4B7C, 0xAB2EC3C6, 0xD1E4BE17},
                                    {0x00000000, 0x00000000, 0xC0000000, 0x00000046},
                                    {0xFFFFFFFF, 0x8000FFFF, 0x00000001, 0x80000000}};
    for (const auto& word : words) {
        const vst3::Uid id = vst3::uidOf(word);
        EXPECT_EQ(vst3::wordsOf(id), word);
        EXPECT_TRUE(id.matches(id.data()));
        EXPECT_EQ(vst3::uidFromBytes(id.data()), id);
        // Bytes 8..15 are the last two words big-endian on every platform.
        EXPECT_EQ(static_cast<std::uint8_t>(id.bytes[8]), word[2] >> 24);
        EXPECT_EQ(static_cast<std::uint8_t>(id.bytes[15]), word[3] & 0xFF);
    }
    EXPECT_FALSE(vst3::IComponent::iid.matches(nullptr));
    EXPECT_FALSE(vst3::IComponent::iid.matches(vst3::IAudioProcessor::iid.data()));
}

}  // namespace
