// The binary interface between a VST 3 module and its host, as far as a
// stereo effect with parameters, host tempo and musical position and no
// editor needs it: the module's exports, the factory and its class infos,
// the component, processor and controller interfaces, the host objects the
// plug-in calls (streams, parameter queues, event lists, messages, the
// component handler), and the records of the process call. The effect side
// (editions/vst3/) and the host side (host/, tools/, tests/) include this
// one header, so both agree on every slot, offset, id and number.
//
// Interfaces are classes of pure virtual methods only, each adding its
// methods after its base's in the order the vtable holds them: no virtual
// destructor (it would add slots), no data, no overloads. An object that
// implements several interfaces hands out the pointer adjusted to the one
// asked for. The three places where platforms differ are here and nowhere
// else: the calling convention, the byte order of interface ids and the
// numbers of the result codes. 64-bit systems share one layout; 32-bit
// Windows packs its records to 8, which keeps 64-bit members 8-aligned. The
// checks at the end hold both to the published sizes and offsets.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Every method of every interface, and GetPluginFactory, uses the system's
// COM convention on Windows (on 32-bit x86 that is stdcall: the callee pops
// its arguments; without it GCC would pass `this` in a register). Nothing
// elsewhere. The module's entry and exit functions keep the C convention.
#if defined(_WIN32)
#define SLICECAST_VST3_CALL __stdcall
#define SLICECAST_VST3_EXPORT
#else
#define SLICECAST_VST3_CALL
#define SLICECAST_VST3_EXPORT __attribute__((visibility("default")))
#endif

#if defined(_WIN32) && !defined(_WIN64)
#pragma pack(push, 8)
#endif

namespace vst3 {

// ---------------------------------------------------------------- basic types

using int8 = char;
using uint8 = std::uint8_t;
using int16 = std::int16_t;
using uint16 = std::uint16_t;
using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using uint64 = std::uint64_t;
using TBool = uint8;
using char8 = char;
using char16 = char16_t;
using TChar = char16;
// UTF-16, ending with a NUL: at most 127 units of text.
using String128 = TChar[128];
constexpr std::size_t kString128Size = 128;
using TUID = char[16];
// A C string (categories, message and attribute ids), or the 16 raw bytes
// of a class or interface id where createInstance takes one.
using FIDString = const char8*;
using AttrID = const char8*;

using ParamID = uint32;
using ParamValue = double;  // normalized, 0..1
using TSamples = int64;
using TQuarterNotes = double;
using SampleRate = double;
using Sample32 = float;
using Sample64 = double;
using SpeakerArrangement = uint64;
using Speaker = uint64;
using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using UnitID = int32;
using ProgramListID = int32;
using CtrlNumber = int16;

// ---------------------------------------------------------------- result codes

// Always compare with these, never by sign: Windows uses COM's HRESULTs,
// other systems small integers.
using tresult = int32;
constexpr tresult kResultOk = 0;
constexpr tresult kResultTrue = kResultOk;
constexpr tresult kResultFalse = 1;
#if defined(_WIN32)
constexpr tresult kNoInterface = static_cast<tresult>(0x80004002u);
constexpr tresult kInvalidArgument = static_cast<tresult>(0x80070057u);
constexpr tresult kNotImplemented = static_cast<tresult>(0x80004001u);
constexpr tresult kInternalError = static_cast<tresult>(0x80004005u);
constexpr tresult kNotInitialized = static_cast<tresult>(0x8000FFFFu);
constexpr tresult kOutOfMemory = static_cast<tresult>(0x8007000Eu);
#else
constexpr tresult kNoInterface = -1;
constexpr tresult kInvalidArgument = 2;
constexpr tresult kNotImplemented = 3;
constexpr tresult kInternalError = 4;
constexpr tresult kNotInitialized = 5;
constexpr tresult kOutOfMemory = 6;
#endif

// ---------------------------------------------------------------- ids

// A class or interface id: 16 bytes, compared whole. It is written as four
// 32-bit words (what the validator prints and moduleinfo.json holds, as 32
// hex digits); how the words lie in memory depends on the platform. Windows
// stores the first eight bytes as a COM GUID does (the first word and the
// two halves of the second little-endian), every other system all four
// words big-endian; bytes 8..15 are the same everywhere.
struct Uid {
    std::array<char, 16> bytes;

    const char* data() const noexcept { return bytes.data(); }
    // Whether raw, 16 bytes from a host or a plug-in, is this id.
    bool matches(const char* raw) const noexcept { return raw != nullptr && std::memcmp(raw, bytes.data(), 16) == 0; }
    friend bool operator==(const Uid&, const Uid&) = default;
};

#if defined(_WIN32)
constexpr bool kGuidByteOrder = true;
#else
constexpr bool kGuidByteOrder = false;
#endif

namespace detail {
constexpr void putWord(std::array<char, 16>& bytes, std::size_t at, std::uint32_t word, std::size_t count,
                       bool littleEndian) noexcept {
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t shift = 8 * (littleEndian ? i : count - 1 - i);
        bytes[at + i] = static_cast<char>(static_cast<std::uint8_t>(word >> shift));
    }
}

constexpr std::uint32_t getWord(const std::array<char, 16>& bytes, std::size_t at, std::size_t count,
                                bool littleEndian) noexcept {
    std::uint32_t word = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t shift = 8 * (littleEndian ? i : count - 1 - i);
        word |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[at + i])) << shift;
    }
    return word;
}
}  // namespace detail

using UidWords = std::array<std::uint32_t, 4>;

// The id written as words (l1, l2, l3, l4), in this platform's byte order.
constexpr Uid uidOf(const UidWords& words) noexcept {
    Uid id{};
    detail::putWord(id.bytes, 0, words[0], 4, kGuidByteOrder);
    detail::putWord(id.bytes, 4, words[1] >> 16, 2, kGuidByteOrder);
    detail::putWord(id.bytes, 6, words[1] & 0xFFFFu, 2, kGuidByteOrder);
    detail::putWord(id.bytes, 8, words[2], 4, false);
    detail::putWord(id.bytes, 12, words[3], 4, false);
    return id;
}

constexpr Uid uidOf(std::uint32_t l1, std::uint32_t l2, std::uint32_t l3, std::uint32_t l4) noexcept {
    return uidOf(UidWords{l1, l2, l3, l4});
}

// The four words of an id in this platform's byte order: uidOf undone.
constexpr UidWords wordsOf(const Uid& id) noexcept {
    return {detail::getWord(id.bytes, 0, 4, kGuidByteOrder),
            detail::getWord(id.bytes, 4, 2, kGuidByteOrder) << 16 | detail::getWord(id.bytes, 6, 2, kGuidByteOrder),
            detail::getWord(id.bytes, 8, 4, false), detail::getWord(id.bytes, 12, 4, false)};
}

inline Uid uidFromBytes(const char* raw) noexcept {
    Uid id{};
    std::memcpy(id.bytes.data(), raw, 16);
    return id;
}

// ---------------------------------------------------------------- FUnknown

class FUnknown {
public:
    // On success *object is the interface asked for, with one reference for
    // the caller, and the answer kResultOk; otherwise *object is null and the
    // answer kNoInterface.
    virtual tresult SLICECAST_VST3_CALL queryInterface(const TUID interfaceId, void** object) = 0;
    // Both answer the new count, for information only.
    virtual uint32 SLICECAST_VST3_CALL addRef() = 0;
    virtual uint32 SLICECAST_VST3_CALL release() = 0;

    static constexpr Uid iid = uidOf(0x00000000, 0x00000000, 0xC0000000, 0x00000046);
};

// ---------------------------------------------------------------- strings and flags of the format

// The interface version the records and calls here follow, as class infos
// report it. Hosts read the first number pair: 3.7 and later promise
// IProcessContextRequirements.
constexpr const char* kVstVersionString = "VST 3.7.14";

constexpr const char* kAudioEffectClass = "Audio Module Class";
constexpr const char* kComponentControllerClass = "Component Controller Class";
constexpr const char* kEditorViewType = "editor";

// ---------------------------------------------------------------- factory

struct PFactoryInfo {
    char8 vendor[64];
    char8 url[256];
    char8 email[128];
    int32 flags;
};

enum FactoryFlags : int32 {
    kNoFlags = 0,
    kClassesDiscardable = 1 << 0,
    kLicenseCheck = 1 << 1,
    kComponentNonDiscardable = 1 << 3,
    kUnicode = 1 << 4,
};

constexpr int32 kManyInstances = 0x7FFFFFFF;

struct PClassInfo {
    TUID cid;
    int32 cardinality;
    char8 category[32];
    char8 name[64];
};

enum ComponentFlags : uint32 {
    kDistributable = 1u << 0,
    kSimpleModeSupported = 1u << 1,
};

struct PClassInfo2 {
    TUID cid;
    int32 cardinality;
    char8 category[32];
    char8 name[64];
    uint32 classFlags;
    char8 subCategories[128];  // '|'-separated
    char8 vendor[64];          // empty: the factory's
    char8 version[64];
    char8 sdkVersion[64];
};

struct PClassInfoW {
    TUID cid;
    int32 cardinality;
    char8 category[32];
    char16 name[64];
    uint32 classFlags;
    char8 subCategories[128];
    char16 vendor[64];
    char16 version[64];
    char16 sdkVersion[64];
};

class IPluginFactory : public FUnknown {
public:
    virtual tresult SLICECAST_VST3_CALL getFactoryInfo(PFactoryInfo* info) = 0;
    virtual int32 SLICECAST_VST3_CALL countClasses() = 0;
    virtual tresult SLICECAST_VST3_CALL getClassInfo(int32 index, PClassInfo* info) = 0;
    // classId and interfaceId are 16 raw bytes each. The object comes with
    // one reference for the caller; an unknown class or interface gives null
    // and kNoInterface.
    virtual tresult SLICECAST_VST3_CALL createInstance(FIDString classId, FIDString interfaceId, void** object) = 0;

    static constexpr Uid iid = uidOf(0x7A4D811C, 0x52114A1F, 0xAED9D2EE, 0x0B43BF9F);
};

class IPluginFactory2 : public IPluginFactory {
public:
    virtual tresult SLICECAST_VST3_CALL getClassInfo2(int32 index, PClassInfo2* info) = 0;

    static constexpr Uid iid = uidOf(0x0007B650, 0xF24B4C0B, 0xA464EDB9, 0xF00B2ABB);
};

class IPluginFactory3 : public IPluginFactory2 {
public:
    virtual tresult SLICECAST_VST3_CALL getClassInfoUnicode(int32 index, PClassInfoW* info) = 0;
    virtual tresult SLICECAST_VST3_CALL setHostContext(FUnknown* context) = 0;

    static constexpr Uid iid = uidOf(0x4555A2AB, 0xC1234E57, 0x9B122910, 0x36878931);
};

// ---------------------------------------------------------------- the module's exports

// GetPluginFactory answers the factory with one reference for the caller.
// On Linux the host calls ModuleEntry with the library's handle after
// loading it and ModuleExit before unloading it (both must be exported); on
// Windows InitDll and ExitDll, when exported. false refuses the load.
using GetFactoryProc = IPluginFactory*(SLICECAST_VST3_CALL*)();
using ModuleEntryProc = bool (*)(void* sharedLibraryHandle);
using ModuleExitProc = bool (*)();
using InitDllProc = bool (*)();
using ExitDllProc = bool (*)();

constexpr const char* kGetFactorySymbol = "GetPluginFactory";
constexpr const char* kModuleEntrySymbol = "ModuleEntry";
constexpr const char* kModuleExitSymbol = "ModuleExit";
constexpr const char* kInitDllSymbol = "InitDll";
constexpr const char* kExitDllSymbol = "ExitDll";

// ---------------------------------------------------------------- streams

enum SeekMode : int32 {
    kIBSeekSet = 0,
    kIBSeekCur = 1,
    kIBSeekEnd = 2,
};

// One position for reading and writing. Both may move fewer bytes than
// asked; at the end of the data read answers kResultOk with 0 bytes. The
// count pointers may be null.
class IBStream : public FUnknown {
public:
    virtual tresult SLICECAST_VST3_CALL read(void* buffer, int32 numBytes, int32* numBytesRead) = 0;
    virtual tresult SLICECAST_VST3_CALL write(void* buffer, int32 numBytes, int32* numBytesWritten) = 0;
    virtual tresult SLICECAST_VST3_CALL seek(int64 position, int32 mode, int64* result) = 0;
    virtual tresult SLICECAST_VST3_CALL tell(int64* position) = 0;

    static constexpr Uid iid = uidOf(0xC3BF6EA2, 0x30994752, 0x9B6BF990, 0x1EE33E9B);
};

// ---------------------------------------------------------------- host application, messages

class IAttributeList : public FUnknown {
public:
    virtual tresult SLICECAST_VST3_CALL setInt(AttrID id, int64 value) = 0;
    virtual tresult SLICECAST_VST3_CALL getInt(AttrID id, int64& value) = 0;
    virtual tresult SLICECAST_VST3_CALL setFloat(AttrID id, double value) = 0;
    virtual tresult SLICECAST_VST3_CALL getFloat(AttrID id, double& value) = 0;
    virtual tresult SLICECAST_VST3_CALL setString(AttrID id, const TChar* string) = 0;
    // sizeInBytes counts bytes, not characters.
    virtual tresult SLICECAST_VST3_CALL getString(AttrID id, TChar* string, uint32 sizeInBytes) = 0;
    virtual tresult SLICECAST_VST3_CALL setBinary(AttrID id, const void* data, uint32 sizeInBytes) = 0;
    virtual tresult SLICECAST_VST3_CALL getBinary(AttrID id, const void*& data, uint32& sizeInBytes) = 0;

    static constexpr Uid iid = uidOf(0x1E5F0AEB, 0xCC7F4533, 0xA2544011, 0x38AD5EE4);
};

class IMessage : public FUnknown {
public:
    virtual FIDString SLICECAST_VST3_CALL getMessageID() = 0;
    virtual void SLICECAST_VST3_CALL setMessageID(FIDString id) = 0;
    // Borrowed: the message keeps it.
    virtual IAttributeList* SLICECAST_VST3_CALL getAttributes() = 0;

    static constexpr Uid iid = uidOf(0x936F033B, 0xC6C047DB, 0xBB0882F8, 0x13C1E613);
};

// Passed to IPluginBase::initialize as the context.
class IHostApplication : public FUnknown {
public:
    virtual tresult SLICECAST_VST3_CALL getName(String128 name) = 0;
    // Makes an IMessage or IAttributeList; the caller owns the result.
    virtual tresult SLICECAST_VST3_CALL createInstance(TUID classId, TUID interfaceId, void** object) = 0;

    static constexpr Uid iid = uidOf(0x58E595CC, 0xDB2D4969, 0x8B6AAF8C, 0x36A664E5);
};

// ---------------------------------------------------------------- plug-in base

class IPluginBase : public FUnknown {
public:
    // context is the host's object (ask it for IHostApplication); borrowed.
    // Any answer but kResultOk releases the object without terminate.
    virtual tresult SLICECAST_VST3_CALL initialize(FUnknown* context) = 0;
    virtual tresult SLICECAST_VST3_CALL terminate() = 0;

    static constexpr Uid iid = uidOf(0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);
};

// ---------------------------------------------------------------- component

enum MediaTypes : MediaType {
    kAudio = 0,
    kEvent = 1,
};

enum BusDirections : BusDirection {
    kInput = 0,
    kOutput = 1,
};

enum BusTypes : BusType {
    kMain = 0,
    kAux = 1,
};

enum BusFlags : uint32 {
    kDefaultActive = 1u << 0,
    kIsControlVoltage = 1u << 1,
};

enum IoModes : IoMode {
    kSimple = 0,
    kAdvanced = 1,
    kOfflineProcessing = 2,
};

struct BusInfo {
    MediaType mediaType;
    BusDirection direction;
    int32 channelCount;
    String128 name;  // never empty
    BusType busType;
    uint32 flags;
};

struct RoutingInfo {
    MediaType mediaType;
    int32 busIndex;
    int32 channel;
};

class IComponent : public IPluginBase {
public:
    virtual tresult SLICECAST_VST3_CALL getControllerClassId(TUID classId) = 0;
    virtual tresult SLICECAST_VST3_CALL setIoMode(IoMode mode) = 0;
    virtual int32 SLICECAST_VST3_CALL getBusCount(MediaType type, BusDirection direction) = 0;
    virtual tresult SLICECAST_VST3_CALL getBusInfo(MediaType type, BusDirection direction, int32 index,
                                                   BusInfo& bus) = 0;
    virtual tresult SLICECAST_VST3_CALL getRoutingInfo(RoutingInfo& input, RoutingInfo& output) = 0;
    virtual tresult SLICECAST_VST3_CALL activateBus(MediaType type, BusDirection direction, int32 index,
                                                    TBool state) = 0;
    virtual tresult SLICECAST_VST3_CALL setActive(TBool state) = 0;
    virtual tresult SLICECAST_VST3_CALL setState(IBStream* state) = 0;
    virtual tresult SLICECAST_VST3_CALL getState(IBStream* state) = 0;

    static constexpr Uid iid = uidOf(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);
};

// ---------------------------------------------------------------- speakers

enum Speakers : Speaker {
    kSpeakerL = 1u << 0,
    kSpeakerR = 1u << 1,
    kSpeakerC = 1u << 2,
    kSpeakerLfe = 1u << 3,
    kSpeakerLs = 1u << 4,
    kSpeakerRs = 1u << 5,
    kSpeakerM = 1u << 19,
};

// Arrangements are sets of speakers; a bus has as many channels as bits set.
namespace speaker_arrangements {
constexpr SpeakerArrangement kEmpty = 0;
constexpr SpeakerArrangement kMono = kSpeakerM;  // its own speaker, not the left one
constexpr SpeakerArrangement kStereo = kSpeakerL | kSpeakerR;
constexpr SpeakerArrangement kStereoSurround = kSpeakerLs | kSpeakerRs;
}  // namespace speaker_arrangements

constexpr int32 channelCountOf(SpeakerArrangement arrangement) noexcept {
    int32 count = 0;
    for (; arrangement != 0; arrangement &= arrangement - 1) ++count;
    return count;
}

// ---------------------------------------------------------------- parameter changes, events

// One parameter's points in a block: (sample offset, normalized value),
// sorted by offset, within 0 .. numSamples - 1.
class IParamValueQueue : public FUnknown {
public:
    virtual ParamID SLICECAST_VST3_CALL getParameterId() = 0;
    virtual int32 SLICECAST_VST3_CALL getPointCount() = 0;
    virtual tresult SLICECAST_VST3_CALL getPoint(int32 index, int32& sampleOffset, ParamValue& value) = 0;
    virtual tresult SLICECAST_VST3_CALL addPoint(int32 sampleOffset, ParamValue value, int32& index) = 0;

    static constexpr Uid iid = uidOf(0x01263A18, 0xED074F6F, 0x98C9D356, 0x4686F9BA);
};

// A queue for each parameter that changed in the block, in no order; the
// queues are borrowed.
class IParameterChanges : public FUnknown {
public:
    virtual int32 SLICECAST_VST3_CALL getParameterCount() = 0;
    virtual IParamValueQueue* SLICECAST_VST3_CALL getParameterData(int32 index) = 0;
    virtual IParamValueQueue* SLICECAST_VST3_CALL addParameterData(const ParamID& id, int32& index) = 0;

    static constexpr Uid iid = uidOf(0xA4779663, 0x0BB64A56, 0xB44384A8, 0x466FEB9D);
};

enum EventTypes : uint16 {
    kNoteOnEvent = 0,
    kNoteOffEvent = 1,
    kDataEvent = 2,
    kPolyPressureEvent = 3,
    kNoteExpressionValueEvent = 4,
    kNoteExpressionTextEvent = 5,
    kChordEvent = 6,
    kScaleEvent = 7,
    kLegacyMidiCcOutEvent = 65535,
};

struct NoteOnEvent {
    int16 channel;
    int16 pitch;
    float tuning;
    float velocity;
    int32 length;
    int32 noteId;
};

// Only note-ons are spelled out; an effect without event buses reads no
// other payload. The union is as large and as aligned as its largest member
// (one holding a pointer), which 32-bit Windows packs to 4.
constexpr std::size_t kEventPayloadSize = sizeof(void*) == 8 ? 24 : 20;

struct Event {
    int32 busIndex;
    int32 sampleOffset;
    TQuarterNotes ppqPosition;
    uint16 flags;
    uint16 type;
    union {
        NoteOnEvent noteOn;
        alignas(void*) unsigned char payload[kEventPayloadSize];
    };
};

class IEventList : public FUnknown {
public:
    virtual int32 SLICECAST_VST3_CALL getEventCount() = 0;
    // Copies the event into the caller's record.
    virtual tresult SLICECAST_VST3_CALL getEvent(int32 index, Event& event) = 0;
    virtual tresult SLICECAST_VST3_CALL addEvent(Event& event) = 0;

    static constexpr Uid iid = uidOf(0x3A2C4214, 0x346349FE, 0xB2C4F397, 0xB9695A44);
};

// ---------------------------------------------------------------- process context

struct Chord {
    uint8 keyNote;
    uint8 rootNote;
    int16 chordMask;
};

enum FrameRateFlags : uint32 {
    kPullDownRate = 1u << 0,
    kDropRate = 1u << 1,
};

struct FrameRate {
    uint32 framesPerSecond;
    uint32 flags;
};

// Each field counts only with its flag in state.
enum ProcessContextStates : uint32 {
    kPlaying = 1u << 1,
    kCycleActive = 1u << 2,
    kRecording = 1u << 3,
    kSystemTimeValid = 1u << 8,
    kProjectTimeMusicValid = 1u << 9,
    kTempoValid = 1u << 10,
    kBarPositionValid = 1u << 11,
    kCycleValid = 1u << 12,
    kTimeSigValid = 1u << 13,
    kSmpteValid = 1u << 14,
    kClockValid = 1u << 15,
    kContTimeValid = 1u << 17,
    kChordValid = 1u << 18,
};

// The block's first frame.
struct ProcessContext {
    uint32 state;
    SampleRate sampleRate;
    TSamples projectTimeSamples;
    int64 systemTime;  // nanoseconds
    TSamples continousTimeSamples;
    TQuarterNotes projectTimeMusic;
    TQuarterNotes barPositionMusic;
    TQuarterNotes cycleStartMusic;
    TQuarterNotes cycleEndMusic;
    double tempo;  // beats per minute
    int32 timeSigNumerator;
    int32 timeSigDenominator;
    Chord chord;
    int32 smpteOffsetSubframes;
    FrameRate frameRate;
    int32 samplesToNextClock;
};

// ---------------------------------------------------------------- processor

enum ProcessModes : int32 {
    kRealtime = 0,
    kPrefetch = 1,
    kOffline = 2,
};

enum SymbolicSampleSizes : int32 {
    kSample32 = 0,
    kSample64 = 1,
};

constexpr uint32 kNoTail = 0;
constexpr uint32 kInfiniteTail = 0xFFFFFFFFu;

struct ProcessSetup {
    int32 processMode;
    int32 symbolicSampleSize;
    int32 maxSamplesPerBlock;
    SampleRate sampleRate;
};

struct AudioBusBuffers {
    int32 numChannels;
    uint64 silenceFlags;  // bit c: channel c holds only zeros
    union {
        Sample32** channelBuffers32;
        Sample64** channelBuffers64;
    };
};

// Any pointer may be null, and numSamples 0: a call that only brings
// parameter changes.
struct ProcessData {
    int32 processMode;
    int32 symbolicSampleSize;
    int32 numSamples;
    int32 numInputs;
    int32 numOutputs;
    AudioBusBuffers* inputs;
    AudioBusBuffers* outputs;
    IParameterChanges* inputParameterChanges;
    IParameterChanges* outputParameterChanges;
    IEventList* inputEvents;
    IEventList* outputEvents;
    ProcessContext* processContext;
};

class IAudioProcessor : public FUnknown {
public:
    // Only while inactive: kResultTrue when adopted, else kResultFalse with
    // the arrangement kept.
    virtual tresult SLICECAST_VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                           SpeakerArrangement* outputs, int32 numOuts) = 0;
    virtual tresult SLICECAST_VST3_CALL getBusArrangement(BusDirection direction, int32 index,
                                                          SpeakerArrangement& arrangement) = 0;
    virtual tresult SLICECAST_VST3_CALL canProcessSampleSize(int32 symbolicSampleSize) = 0;
    virtual uint32 SLICECAST_VST3_CALL getLatencySamples() = 0;
    virtual tresult SLICECAST_VST3_CALL setupProcessing(ProcessSetup& setup) = 0;
    virtual tresult SLICECAST_VST3_CALL setProcessing(TBool state) = 0;
    virtual tresult SLICECAST_VST3_CALL process(ProcessData& data) = 0;
    virtual uint32 SLICECAST_VST3_CALL getTailSamples() = 0;

    static constexpr Uid iid = uidOf(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);
};

enum ProcessContextRequirementFlags : uint32 {
    kNeedSystemTime = 1u << 0,
    kNeedContinousTimeSamples = 1u << 1,
    kNeedProjectTimeMusic = 1u << 2,
    kNeedBarPositionMusic = 1u << 3,
    kNeedCycleMusic = 1u << 4,
    kNeedSamplesToNextClock = 1u << 5,
    kNeedTempo = 1u << 6,
    kNeedTimeSignature = 1u << 7,
    kNeedChord = 1u << 8,
    kNeedFrameRate = 1u << 9,
    kNeedTransportState = 1u << 10,
};

// Asked of the processor before activation: the context fields it needs.
class IProcessContextRequirements : public FUnknown {
public:
    virtual uint32 SLICECAST_VST3_CALL getProcessContextRequirements() = 0;

    static constexpr Uid iid = uidOf(0x2A654303, 0xEF764E3D, 0x95B5FE83, 0x730EF6D0);
};

// ---------------------------------------------------------------- controller

constexpr ParamID kNoParamId = 0xFFFFFFFFu;
constexpr UnitID kRootUnitId = 0;
constexpr UnitID kNoParentUnitId = -1;

enum ParameterFlags : int32 {
    kNoParameterFlags = 0,
    kCanAutomate = 1 << 0,
    kIsReadOnly = 1 << 1,
    kIsWrapAround = 1 << 2,
    kIsList = 1 << 3,
    kIsHidden = 1 << 4,
    kIsProgramChange = 1 << 15,
    kIsBypass = 1 << 16,
};

struct ParameterInfo {
    ParamID id;
    String128 title;  // never empty
    String128 shortTitle;
    String128 units;
    int32 stepCount;  // 0 continuous, N: N + 1 values
    ParamValue defaultNormalizedValue;
    UnitID unitId;
    int32 flags;
};

enum RestartFlags : int32 {
    kReloadComponent = 1 << 0,
    kIoChanged = 1 << 1,
    kParamValuesChanged = 1 << 2,
    kLatencyChanged = 1 << 3,
    kParamTitlesChanged = 1 << 4,
    kMidiCCAssignmentChanged = 1 << 5,
    kNoteExpressionChanged = 1 << 6,
    kIoTitlesChanged = 1 << 7,
    kPrefetchableSupportChanged = 1 << 8,
    kRoutingInfoChanged = 1 << 9,
    kKeyswitchChanged = 1 << 10,
    kParamIDMappingChanged = 1 << 11,
};

// The host's callback object for the controller, on the UI thread only.
class IComponentHandler : public FUnknown {
public:
    virtual tresult SLICECAST_VST3_CALL beginEdit(ParamID id) = 0;
    virtual tresult SLICECAST_VST3_CALL performEdit(ParamID id, ParamValue valueNormalized) = 0;
    virtual tresult SLICECAST_VST3_CALL endEdit(ParamID id) = 0;
    virtual tresult SLICECAST_VST3_CALL restartComponent(int32 flags) = 0;

    static constexpr Uid iid = uidOf(0x93A0BEA3, 0x0BD045DB, 0x8E890B0C, 0xC1E46AC6);
};

// An editor's view; only named, as this effect has none.
class IPlugView;

class IEditController : public IPluginBase {
public:
    // The processor's state, as its getState wrote it.
    virtual tresult SLICECAST_VST3_CALL setComponentState(IBStream* state) = 0;
    // The controller's own state.
    virtual tresult SLICECAST_VST3_CALL setState(IBStream* state) = 0;
    virtual tresult SLICECAST_VST3_CALL getState(IBStream* state) = 0;
    virtual int32 SLICECAST_VST3_CALL getParameterCount() = 0;
    virtual tresult SLICECAST_VST3_CALL getParameterInfo(int32 paramIndex, ParameterInfo& info) = 0;
    virtual tresult SLICECAST_VST3_CALL getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                                              String128 string) = 0;
    virtual tresult SLICECAST_VST3_CALL getParamValueByString(ParamID id, TChar* string,
                                                              ParamValue& valueNormalized) = 0;
    virtual ParamValue SLICECAST_VST3_CALL normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
    virtual ParamValue SLICECAST_VST3_CALL plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
    virtual ParamValue SLICECAST_VST3_CALL getParamNormalized(ParamID id) = 0;
    virtual tresult SLICECAST_VST3_CALL setParamNormalized(ParamID id, ParamValue value) = 0;
    virtual tresult SLICECAST_VST3_CALL setComponentHandler(IComponentHandler* handler) = 0;
    virtual IPlugView* SLICECAST_VST3_CALL createView(FIDString name) = 0;

    static constexpr Uid iid = uidOf(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);
};

// ---------------------------------------------------------------- units and programs

constexpr ProgramListID kNoProgramListId = -1;

struct UnitInfo {
    UnitID id;
    UnitID parentUnitId;
    String128 name;  // never empty, the root's included
    ProgramListID programListId;
};

struct ProgramListInfo {
    ProgramListID id;
    String128 name;
    int32 programCount;
};

// On the controller: its units and the program lists they select among.
// The host shows a unit's programs as its presets and selects one through
// the parameter flagged kIsProgramChange.
class IUnitInfo : public FUnknown {
public:
    virtual int32 SLICECAST_VST3_CALL getUnitCount() = 0;
    virtual tresult SLICECAST_VST3_CALL getUnitInfo(int32 unitIndex, UnitInfo& info) = 0;
    virtual int32 SLICECAST_VST3_CALL getProgramListCount() = 0;
    virtual tresult SLICECAST_VST3_CALL getProgramListInfo(int32 listIndex, ProgramListInfo& info) = 0;
    virtual tresult SLICECAST_VST3_CALL getProgramName(ProgramListID listId, int32 programIndex,
                                                       String128 name) = 0;
    virtual tresult SLICECAST_VST3_CALL getProgramInfo(ProgramListID listId, int32 programIndex,
                                                       const char8* attributeId, String128 attributeValue) = 0;
    virtual tresult SLICECAST_VST3_CALL hasProgramPitchNames(ProgramListID listId, int32 programIndex) = 0;
    virtual tresult SLICECAST_VST3_CALL getProgramPitchName(ProgramListID listId, int32 programIndex,
                                                            int16 midiPitch, String128 name) = 0;
    virtual UnitID SLICECAST_VST3_CALL getSelectedUnit() = 0;
    virtual tresult SLICECAST_VST3_CALL selectUnit(UnitID unitId) = 0;
    virtual tresult SLICECAST_VST3_CALL getUnitByBus(MediaType type, BusDirection dir, int32 busIndex,
                                                     int32 channel, UnitID& unitId) = 0;
    virtual tresult SLICECAST_VST3_CALL setUnitProgramData(int32 listOrUnitId, int32 programIndex,
                                                           IBStream* data) = 0;

    static constexpr Uid iid = uidOf(0x3D4BD6B5, 0x913A4FD2, 0xA886E768, 0xA5EB92C1);
};

// ---------------------------------------------------------------- the host's run loop

// Called back on the host's UI thread by its run loop.
class ITimerHandler : public FUnknown {
public:
    virtual void SLICECAST_VST3_CALL onTimer() = 0;

    static constexpr Uid iid = uidOf(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);
};

class IEventHandler;

// The host's UI event loop, which a plug-in on Linux may ask the host's
// objects for (the frame, the component handler in some hosts, the
// factory's host context) instead of running a loop of its own.
class IRunLoop : public FUnknown {
public:
    virtual tresult SLICECAST_VST3_CALL registerEventHandler(IEventHandler* handler, int fileDescriptor) = 0;
    virtual tresult SLICECAST_VST3_CALL unregisterEventHandler(IEventHandler* handler) = 0;
    virtual tresult SLICECAST_VST3_CALL registerTimer(ITimerHandler* handler, uint64 milliseconds) = 0;
    virtual tresult SLICECAST_VST3_CALL unregisterTimer(ITimerHandler* handler) = 0;

    static constexpr Uid iid = uidOf(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);
};

// ---------------------------------------------------------------- connection

// On the processor and on the controller. The peer may be a host's proxy:
// never take it for the other object.
class IConnectionPoint : public FUnknown {
public:
    virtual tresult SLICECAST_VST3_CALL connect(IConnectionPoint* other) = 0;
    virtual tresult SLICECAST_VST3_CALL disconnect(IConnectionPoint* other) = 0;
    virtual tresult SLICECAST_VST3_CALL notify(IMessage* message) = 0;

    static constexpr Uid iid = uidOf(0x70A4156F, 0x6E6E4026, 0x989148BF, 0xAA60D8D1);
};

// ---------------------------------------------------------------- interfaces known by id only

// Hosts ask for these; an effect like this one answers kNoInterface, so
// only their ids are needed.
constexpr Uid kISizeableStreamIid = uidOf(0x04F9549E, 0xE02F4E6E, 0x87E86A87, 0x47F4E17F);
constexpr Uid kIAudioPresentationLatencyIid = uidOf(0x309ECE78, 0xEB7D4FAE, 0x8B2225D9, 0x09FD08B6);
constexpr Uid kIEditController2Iid = uidOf(0x7F4EFE59, 0xF3204967, 0xAC27A3AE, 0xAFB63038);
constexpr Uid kIStreamAttributesIid = uidOf(0xD6CE2FFC, 0xEFAF4B8C, 0x9E74F1BB, 0x12DA44B4);
constexpr Uid kIComponentHandler2Iid = uidOf(0xF040B4B3, 0xA36045EC, 0xABCDC045, 0xB4D5A2CC);
constexpr Uid kIMidiMappingIid = uidOf(0xDF0FF9F7, 0x49B74669, 0xB63AB732, 0x7ADBF5E5);
constexpr Uid kIMidiLearnIid = uidOf(0x6B2449CC, 0x419740B5, 0xAB3C79DA, 0xC5FE5C86);
constexpr Uid kINoteExpressionControllerIid = uidOf(0xB7F8F859, 0x41234872, 0x91169581, 0x4F3721A3);
constexpr Uid kIKeyswitchControllerIid = uidOf(0x1F2F76D3, 0xBFFB4B96, 0xB99527A5, 0x5EBCCEF4);
constexpr Uid kIPlugViewIid = uidOf(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);

// ---------------------------------------------------------------- layout checks

constexpr bool kWide = sizeof(void*) == 8;
static_assert(sizeof(void*) == 8 || sizeof(void*) == 4);
static_assert(sizeof(char16) == 2 && sizeof(TBool) == 1 && sizeof(double) == 8);
constexpr std::size_t pick(std::size_t wide, std::size_t narrow) { return kWide ? wide : narrow; }

// Ids: the worked example, bytes 8..15 alike everywhere, and the words
// read back.
static_assert(IComponent::iid.bytes[8] == static_cast<char>(0x92) && IComponent::iid.bytes[15] == 0x02);
static_assert(IComponent::iid.bytes[0] == (kGuidByteOrder ? 0x31 : static_cast<char>(0xE8)));
static_assert(IComponent::iid.bytes[4] == (kGuidByteOrder ? static_cast<char>(0xD5) : static_cast<char>(0xF2)));
static_assert(IComponent::iid.bytes[7] == (kGuidByteOrder ? 0x43 : 0x01));
static_assert(wordsOf(IComponent::iid) == UidWords{0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802});
static_assert(FUnknown::iid.bytes[8] == static_cast<char>(0xC0) && FUnknown::iid.bytes[15] == 0x46);

static_assert(sizeof(tresult) == 4 && kResultOk == 0 && kResultFalse == 1);
static_assert(kNoInterface == (kGuidByteOrder ? static_cast<tresult>(0x80004002u) : -1));

static_assert(sizeof(PFactoryInfo) == 452 && alignof(PFactoryInfo) == 4);
static_assert(offsetof(PFactoryInfo, url) == 64);
static_assert(offsetof(PFactoryInfo, email) == 320);
static_assert(offsetof(PFactoryInfo, flags) == 448);

static_assert(sizeof(PClassInfo) == 116 && alignof(PClassInfo) == 4);
static_assert(offsetof(PClassInfo, cardinality) == 16);
static_assert(offsetof(PClassInfo, category) == 20);
static_assert(offsetof(PClassInfo, name) == 52);

static_assert(sizeof(PClassInfo2) == 440 && alignof(PClassInfo2) == 4);
static_assert(offsetof(PClassInfo2, cardinality) == 16);
static_assert(offsetof(PClassInfo2, category) == 20);
static_assert(offsetof(PClassInfo2, name) == 52);
static_assert(offsetof(PClassInfo2, classFlags) == 116);
static_assert(offsetof(PClassInfo2, subCategories) == 120);
static_assert(offsetof(PClassInfo2, vendor) == 248);
static_assert(offsetof(PClassInfo2, version) == 312);
static_assert(offsetof(PClassInfo2, sdkVersion) == 376);

static_assert(sizeof(PClassInfoW) == 696 && alignof(PClassInfoW) == 4);
static_assert(offsetof(PClassInfoW, cardinality) == 16);
static_assert(offsetof(PClassInfoW, category) == 20);
static_assert(offsetof(PClassInfoW, name) == 52);
static_assert(offsetof(PClassInfoW, classFlags) == 180);
static_assert(offsetof(PClassInfoW, subCategories) == 184);
static_assert(offsetof(PClassInfoW, vendor) == 312);
static_assert(offsetof(PClassInfoW, version) == 440);
static_assert(offsetof(PClassInfoW, sdkVersion) == 568);

static_assert(sizeof(BusInfo) == 276 && alignof(BusInfo) == 4);
static_assert(offsetof(BusInfo, direction) == 4);
static_assert(offsetof(BusInfo, channelCount) == 8);
static_assert(offsetof(BusInfo, name) == 12);
static_assert(offsetof(BusInfo, busType) == 268);
static_assert(offsetof(BusInfo, flags) == 272);

static_assert(sizeof(RoutingInfo) == 12 && alignof(RoutingInfo) == 4);
static_assert(offsetof(RoutingInfo, busIndex) == 4);
static_assert(offsetof(RoutingInfo, channel) == 8);

static_assert(sizeof(ProcessSetup) == 24 && alignof(ProcessSetup) == 8);
static_assert(offsetof(ProcessSetup, symbolicSampleSize) == 4);
static_assert(offsetof(ProcessSetup, maxSamplesPerBlock) == 8);
static_assert(offsetof(ProcessSetup, sampleRate) == 16);

static_assert(sizeof(AudioBusBuffers) == 24 && alignof(AudioBusBuffers) == 8);
static_assert(offsetof(AudioBusBuffers, silenceFlags) == 8);
static_assert(offsetof(AudioBusBuffers, channelBuffers32) == 16);
static_assert(offsetof(AudioBusBuffers, channelBuffers64) == 16);

static_assert(sizeof(ProcessData) == pick(80, 48) && alignof(ProcessData) == pick(8, 4));
static_assert(offsetof(ProcessData, symbolicSampleSize) == 4);
static_assert(offsetof(ProcessData, numSamples) == 8);
static_assert(offsetof(ProcessData, numInputs) == 12);
static_assert(offsetof(ProcessData, numOutputs) == 16);
static_assert(offsetof(ProcessData, inputs) == pick(24, 20));
static_assert(offsetof(ProcessData, outputs) == pick(32, 24));
static_assert(offsetof(ProcessData, inputParameterChanges) == pick(40, 28));
static_assert(offsetof(ProcessData, outputParameterChanges) == pick(48, 32));
static_assert(offsetof(ProcessData, inputEvents) == pick(56, 36));
static_assert(offsetof(ProcessData, outputEvents) == pick(64, 40));
static_assert(offsetof(ProcessData, processContext) == pick(72, 44));

static_assert(sizeof(ProcessContext) == 112 && alignof(ProcessContext) == 8);
static_assert(offsetof(ProcessContext, sampleRate) == 8);
static_assert(offsetof(ProcessContext, projectTimeSamples) == 16);
static_assert(offsetof(ProcessContext, systemTime) == 24);
static_assert(offsetof(ProcessContext, continousTimeSamples) == 32);
static_assert(offsetof(ProcessContext, projectTimeMusic) == 40);
static_assert(offsetof(ProcessContext, barPositionMusic) == 48);
static_assert(offsetof(ProcessContext, cycleStartMusic) == 56);
static_assert(offsetof(ProcessContext, cycleEndMusic) == 64);
static_assert(offsetof(ProcessContext, tempo) == 72);
static_assert(offsetof(ProcessContext, timeSigNumerator) == 80);
static_assert(offsetof(ProcessContext, timeSigDenominator) == 84);
static_assert(offsetof(ProcessContext, chord) == 88);
static_assert(offsetof(ProcessContext, smpteOffsetSubframes) == 92);
static_assert(offsetof(ProcessContext, frameRate) == 96);
static_assert(offsetof(ProcessContext, samplesToNextClock) == 104);

static_assert(sizeof(Chord) == 4 && alignof(Chord) == 2);
static_assert(offsetof(Chord, rootNote) == 1 && offsetof(Chord, chordMask) == 2);
static_assert(sizeof(FrameRate) == 8 && alignof(FrameRate) == 4 && offsetof(FrameRate, flags) == 4);

static_assert(sizeof(ParameterInfo) == 792 && alignof(ParameterInfo) == 8);
static_assert(offsetof(ParameterInfo, title) == 4);
static_assert(offsetof(ParameterInfo, shortTitle) == 260);
static_assert(offsetof(ParameterInfo, units) == 516);
static_assert(offsetof(ParameterInfo, stepCount) == 772);
static_assert(offsetof(ParameterInfo, defaultNormalizedValue) == 776);
static_assert(offsetof(ParameterInfo, unitId) == 784);
static_assert(offsetof(ParameterInfo, flags) == 788);

static_assert(sizeof(UnitInfo) == 268 && alignof(UnitInfo) == 4);
static_assert(offsetof(UnitInfo, name) == 8 && offsetof(UnitInfo, programListId) == 264);
static_assert(sizeof(ProgramListInfo) == 264 && alignof(ProgramListInfo) == 4);
static_assert(offsetof(ProgramListInfo, name) == 4 && offsetof(ProgramListInfo, programCount) == 260);

static_assert(sizeof(Event) == pick(48, 40) && alignof(Event) == 8);
static_assert(offsetof(Event, sampleOffset) == 4);
static_assert(offsetof(Event, ppqPosition) == 8);
static_assert(offsetof(Event, flags) == 16);
static_assert(offsetof(Event, type) == 18);
static_assert(offsetof(Event, noteOn) == pick(24, 20) && offsetof(Event, payload) == pick(24, 20));

static_assert(sizeof(NoteOnEvent) == 20 && alignof(NoteOnEvent) == 4);
static_assert(offsetof(NoteOnEvent, pitch) == 2);
static_assert(offsetof(NoteOnEvent, tuning) == 4);
static_assert(offsetof(NoteOnEvent, velocity) == 8);
static_assert(offsetof(NoteOnEvent, length) == 12);
static_assert(offsetof(NoteOnEvent, noteId) == 16);

// An interface object is its vtable pointer and nothing else.
static_assert(sizeof(FUnknown) == sizeof(void*) && sizeof(IEditController) == sizeof(void*));
static_assert(speaker_arrangements::kMono == 0x80000 && channelCountOf(speaker_arrangements::kStereo) == 2);

}  // namespace vst3

#if defined(_WIN32) && !defined(_WIN64)
#pragma pack(pop)
#endif
