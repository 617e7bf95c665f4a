// The binary interface between a CLAP plug-in and its host, as far as a
// stereo effect with parameters, tempo and position needs it: the entry and
// its factory, the descriptor, the plug-in and host objects, the process
// call, events, the audio-ports, params, state and preset-load extensions
// and the preset-discovery factory. The effect side (editions/clap/) and the
// host side (host/clap/, tools/, tests/) include this one header, so both
// agree on every offset and every number.
//
// Layouts are natural (no packing). 64-bit systems share one layout; 32-bit
// Windows has 4-byte pointers but still aligns 64-bit members to 8 inside
// structs. The checks at the end hold both to the published offsets.
#pragma once

#include <cstddef>
#include <cstdint>

// Every function pointer of the interface uses the C calling convention;
// only 32-bit Windows has another one by default for some compilers.
// The exported entry is named in a module-definition file on Windows and
// given default visibility elsewhere.
#if defined(_WIN32)
#define SLICECAST_CLAP_CALL __cdecl
#define SLICECAST_CLAP_EXPORT
#else
#define SLICECAST_CLAP_CALL
#define SLICECAST_CLAP_EXPORT __attribute__((visibility("default")))
#endif

namespace clap {

using Id = std::uint32_t;
constexpr Id kInvalidId = UINT32_MAX;

constexpr std::size_t kNameSize = 256;
constexpr std::size_t kPathSize = 1024;

struct Version {
    std::uint32_t major;
    std::uint32_t minor;
    std::uint32_t revision;
};

// The rules this code follows; hosts accept any version with major >= 1.
constexpr Version kVersion{1, 2, 10};
constexpr bool isCompatible(const Version& version) { return version.major >= 1; }

struct Host;
struct Plugin;
struct PluginFactory;

// ---------------------------------------------------------------- entry

// The value of the exported data symbol clap_entry.
struct PluginEntry {
    Version clapVersion;
    bool(SLICECAST_CLAP_CALL* init)(const char* pluginPath);
    void(SLICECAST_CLAP_CALL* deinit)();
    const void*(SLICECAST_CLAP_CALL* getFactory)(const char* factoryId);
};

constexpr const char* kEntrySymbol = "clap_entry";
constexpr const char* kPluginFactoryId = "clap.plugin-factory";

struct PluginDescriptor {
    Version clapVersion;
    const char* id;
    const char* name;
    const char* vendor;
    const char* url;
    const char* manualUrl;
    const char* supportUrl;
    const char* version;
    const char* description;
    const char* const* features;  // ends with a null pointer
};

struct PluginFactory {
    std::uint32_t(SLICECAST_CLAP_CALL* getPluginCount)(const PluginFactory* factory);
    const PluginDescriptor*(SLICECAST_CLAP_CALL* getPluginDescriptor)(const PluginFactory* factory,
                                                                      std::uint32_t index);
    const Plugin*(SLICECAST_CLAP_CALL* createPlugin)(const PluginFactory* factory, const Host* host,
                                                     const char* pluginId);
};

// ---------------------------------------------------------------- events

constexpr std::uint16_t kCoreEventSpace = 0;

enum EventType : std::uint16_t {
    kEventNoteOn = 0,
    kEventNoteOff = 1,
    kEventNoteChoke = 2,
    kEventNoteEnd = 3,
    kEventNoteExpression = 4,
    kEventParamValue = 5,
    kEventParamMod = 6,
    kEventParamGestureBegin = 7,
    kEventParamGestureEnd = 8,
    kEventTransport = 9,
    kEventMidi = 10,
    kEventMidiSysex = 11,
    kEventMidi2 = 12,
};

enum EventFlags : std::uint32_t {
    kEventIsLive = 1u << 0,
    kEventDontRecord = 1u << 1,
};

struct EventHeader {
    std::uint32_t size;  // the whole event, header included
    std::uint32_t time;  // frame offset inside the block
    std::uint16_t spaceId;
    std::uint16_t type;
    std::uint32_t flags;
};

struct EventParamValue {
    EventHeader header;
    Id paramId;
    void* cookie;  // the plug-in's own, or null
    std::int32_t noteId;
    std::int16_t portIndex;
    std::int16_t channel;
    std::int16_t key;
    double value;  // plain value
};

// Musical and real time in fixed point: value x 2^31, rounded by the writer.
using BeatTime = std::int64_t;
using SecondsTime = std::int64_t;
constexpr double kBeatTimeFactor = 2147483648.0;
constexpr double kSecondsTimeFactor = 2147483648.0;

enum TransportFlags : std::uint32_t {
    kTransportHasTempo = 1u << 0,
    kTransportHasBeatsTimeline = 1u << 1,
    kTransportHasSecondsTimeline = 1u << 2,
    kTransportHasTimeSignature = 1u << 3,
    kTransportIsPlaying = 1u << 4,
    kTransportIsRecording = 1u << 5,
    kTransportIsLoopActive = 1u << 6,
    kTransportIsWithinPreRoll = 1u << 7,
};

struct EventTransport {
    EventHeader header;
    std::uint32_t flags;
    BeatTime songPosBeats;
    SecondsTime songPosSeconds;
    double tempo;
    double tempoInc;
    BeatTime loopStartBeats;
    BeatTime loopEndBeats;
    SecondsTime loopStartSeconds;
    SecondsTime loopEndSeconds;
    BeatTime barStart;
    std::int32_t barNumber;
    std::uint16_t tsigNum;
    std::uint16_t tsigDenom;
};

struct InputEvents {
    void* ctx;
    std::uint32_t(SLICECAST_CLAP_CALL* size)(const InputEvents* list);
    const EventHeader*(SLICECAST_CLAP_CALL* get)(const InputEvents* list, std::uint32_t index);
};

struct OutputEvents {
    void* ctx;
    bool(SLICECAST_CLAP_CALL* tryPush)(const OutputEvents* list, const EventHeader* event);
};

// ---------------------------------------------------------------- process

struct AudioBuffer {
    float** data32;
    double** data64;
    std::uint32_t channelCount;
    std::uint32_t latency;
    std::uint64_t constantMask;
};

struct Process {
    std::int64_t steadyTime;  // -1 when unknown
    std::uint32_t framesCount;
    const EventTransport* transport;  // the block's first frame; null in a free-running host
    const AudioBuffer* audioInputs;
    AudioBuffer* audioOutputs;
    std::uint32_t audioInputsCount;
    std::uint32_t audioOutputsCount;
    const InputEvents* inEvents;
    const OutputEvents* outEvents;
};

using ProcessStatus = std::int32_t;
constexpr ProcessStatus kProcessError = 0;
constexpr ProcessStatus kProcessContinue = 1;
constexpr ProcessStatus kProcessContinueIfNotQuiet = 2;
constexpr ProcessStatus kProcessTail = 3;
constexpr ProcessStatus kProcessSleep = 4;

// ---------------------------------------------------------------- plug-in

struct Plugin {
    const PluginDescriptor* desc;
    void* pluginData;
    bool(SLICECAST_CLAP_CALL* init)(const Plugin* plugin);
    void(SLICECAST_CLAP_CALL* destroy)(const Plugin* plugin);
    bool(SLICECAST_CLAP_CALL* activate)(const Plugin* plugin, double sampleRate, std::uint32_t minFramesCount,
                                        std::uint32_t maxFramesCount);
    void(SLICECAST_CLAP_CALL* deactivate)(const Plugin* plugin);
    bool(SLICECAST_CLAP_CALL* startProcessing)(const Plugin* plugin);
    void(SLICECAST_CLAP_CALL* stopProcessing)(const Plugin* plugin);
    void(SLICECAST_CLAP_CALL* reset)(const Plugin* plugin);
    ProcessStatus(SLICECAST_CLAP_CALL* process)(const Plugin* plugin, const Process* process);
    const void*(SLICECAST_CLAP_CALL* getExtension)(const Plugin* plugin, const char* id);
    void(SLICECAST_CLAP_CALL* onMainThread)(const Plugin* plugin);
};

struct Host {
    Version clapVersion;
    void* hostData;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    const void*(SLICECAST_CLAP_CALL* getExtension)(const Host* host, const char* extensionId);
    void(SLICECAST_CLAP_CALL* requestRestart)(const Host* host);
    void(SLICECAST_CLAP_CALL* requestProcess)(const Host* host);
    void(SLICECAST_CLAP_CALL* requestCallback)(const Host* host);
};

// ---------------------------------------------------------------- audio-ports

constexpr const char* kExtAudioPorts = "clap.audio-ports";

enum AudioPortFlags : std::uint32_t {
    kAudioPortIsMain = 1u << 0,
    kAudioPortSupports64Bits = 1u << 1,
    kAudioPortPrefers64Bits = 1u << 2,
    kAudioPortRequiresCommonSampleSize = 1u << 3,
};

constexpr const char* kPortMono = "mono";
constexpr const char* kPortStereo = "stereo";

struct AudioPortInfo {
    Id id;
    char name[kNameSize];
    std::uint32_t flags;
    std::uint32_t channelCount;
    const char* portType;
    Id inPlacePair;
};

struct PluginAudioPorts {
    std::uint32_t(SLICECAST_CLAP_CALL* count)(const Plugin* plugin, bool isInput);
    bool(SLICECAST_CLAP_CALL* get)(const Plugin* plugin, std::uint32_t index, bool isInput, AudioPortInfo* info);
};

// ---------------------------------------------------------------- params

constexpr const char* kExtParams = "clap.params";

enum ParamInfoFlags : std::uint32_t {
    kParamIsStepped = 1u << 0,
    kParamIsPeriodic = 1u << 1,
    kParamIsHidden = 1u << 2,
    kParamIsReadonly = 1u << 3,
    kParamIsBypass = 1u << 4,
    kParamIsAutomatable = 1u << 5,
    kParamIsModulatable = 1u << 10,
    kParamRequiresProcess = 1u << 15,
    kParamIsEnum = 1u << 16,
};

struct ParamInfo {
    Id id;
    std::uint32_t flags;
    void* cookie;
    char name[kNameSize];
    char module[kPathSize];
    double minValue;
    double maxValue;
    double defaultValue;
};

struct PluginParams {
    std::uint32_t(SLICECAST_CLAP_CALL* count)(const Plugin* plugin);
    bool(SLICECAST_CLAP_CALL* getInfo)(const Plugin* plugin, std::uint32_t paramIndex, ParamInfo* info);
    bool(SLICECAST_CLAP_CALL* getValue)(const Plugin* plugin, Id paramId, double* outValue);
    bool(SLICECAST_CLAP_CALL* valueToText)(const Plugin* plugin, Id paramId, double value, char* outBuffer,
                                           std::uint32_t capacity);
    bool(SLICECAST_CLAP_CALL* textToValue)(const Plugin* plugin, Id paramId, const char* text, double* outValue);
    void(SLICECAST_CLAP_CALL* flush)(const Plugin* plugin, const InputEvents* in, const OutputEvents* out);
};

enum ParamRescanFlags : std::uint32_t {
    kParamRescanValues = 1u << 0,
    kParamRescanText = 1u << 1,
    kParamRescanInfo = 1u << 2,
    kParamRescanAll = 1u << 3,
};

struct HostParams {
    void(SLICECAST_CLAP_CALL* rescan)(const Host* host, std::uint32_t flags);
    void(SLICECAST_CLAP_CALL* clear)(const Host* host, Id paramId, std::uint32_t flags);
    void(SLICECAST_CLAP_CALL* requestFlush)(const Host* host);
};

// ---------------------------------------------------------------- state

constexpr const char* kExtState = "clap.state";

// Both may move fewer bytes than asked: callers loop. read answers 0 at the
// end and -1 on error; write answers -1 on error.
struct InputStream {
    void* ctx;
    std::int64_t(SLICECAST_CLAP_CALL* read)(const InputStream* stream, void* buffer, std::uint64_t size);
};

struct OutputStream {
    void* ctx;
    std::int64_t(SLICECAST_CLAP_CALL* write)(const OutputStream* stream, const void* buffer, std::uint64_t size);
};

struct PluginState {
    bool(SLICECAST_CLAP_CALL* save)(const Plugin* plugin, const OutputStream* stream);
    bool(SLICECAST_CLAP_CALL* load)(const Plugin* plugin, const InputStream* stream);
};

struct HostState {
    void(SLICECAST_CLAP_CALL* markDirty)(const Host* host);
};

// ---------------------------------------------------------------- presets

// The preset-discovery factory, under its id and the draft id hosts made
// for CLAP 1.1 still ask for (the same layout).
constexpr const char* kPresetDiscoveryFactoryId = "clap.preset-discovery-factory/2";
constexpr const char* kPresetDiscoveryFactoryDraftId = "clap.preset-discovery-factory/draft-2";
// The preset-load extension, on the plug-in and on the host, likewise.
constexpr const char* kExtPresetLoad = "clap.preset-load/2";
constexpr const char* kExtPresetLoadDraft = "clap.preset-load.draft/2";

enum PresetLocationKind : std::uint32_t {
    kPresetLocationFile = 0,
    // Presets inside the plug-in itself; the location is then null.
    kPresetLocationPlugin = 1,
};

enum PresetFlags : std::uint32_t {
    kPresetIsFactoryContent = 1u << 0,
    kPresetIsUserContent = 1u << 1,
    kPresetIsDemoContent = 1u << 2,
    kPresetIsFavorite = 1u << 3,
};

using Timestamp = std::uint64_t;

struct UniversalPluginId {
    const char* abi;  // "clap"
    const char* id;
};

struct PresetMetadataReceiver {
    void* receiverData;
    void(SLICECAST_CLAP_CALL* onError)(const PresetMetadataReceiver* receiver, std::int32_t osError,
                                       const char* message);
    bool(SLICECAST_CLAP_CALL* beginPreset)(const PresetMetadataReceiver* receiver, const char* name,
                                           const char* loadKey);
    void(SLICECAST_CLAP_CALL* addPluginId)(const PresetMetadataReceiver* receiver, const UniversalPluginId* pluginId);
    void(SLICECAST_CLAP_CALL* setSoundpackId)(const PresetMetadataReceiver* receiver, const char* soundpackId);
    void(SLICECAST_CLAP_CALL* setFlags)(const PresetMetadataReceiver* receiver, std::uint32_t flags);
    void(SLICECAST_CLAP_CALL* addCreator)(const PresetMetadataReceiver* receiver, const char* creator);
    void(SLICECAST_CLAP_CALL* setDescription)(const PresetMetadataReceiver* receiver, const char* description);
    void(SLICECAST_CLAP_CALL* setTimestamps)(const PresetMetadataReceiver* receiver, Timestamp creation,
                                             Timestamp modification);
    void(SLICECAST_CLAP_CALL* addFeature)(const PresetMetadataReceiver* receiver, const char* feature);
    void(SLICECAST_CLAP_CALL* addExtraInfo)(const PresetMetadataReceiver* receiver, const char* key,
                                            const char* value);
};

struct PresetFiletype {
    const char* name;
    const char* description;
    const char* fileExtension;
};

struct PresetLocation {
    std::uint32_t flags;
    const char* name;
    std::uint32_t kind;
    const char* location;
};

struct PresetSoundpack {
    std::uint32_t flags;
    const char* id;
    const char* name;
    const char* description;
    const char* homepageUrl;
    const char* vendor;
    const char* imagePath;
    Timestamp releaseTimestamp;
};

struct PresetProviderDescriptor {
    Version clapVersion;
    const char* id;
    const char* name;
    const char* vendor;
};

// The host's side of a crawl; a provider may call it from init only.
struct PresetIndexer {
    Version clapVersion;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    void* indexerData;
    bool(SLICECAST_CLAP_CALL* declareFiletype)(const PresetIndexer* indexer, const PresetFiletype* filetype);
    bool(SLICECAST_CLAP_CALL* declareLocation)(const PresetIndexer* indexer, const PresetLocation* location);
    bool(SLICECAST_CLAP_CALL* declareSoundpack)(const PresetIndexer* indexer, const PresetSoundpack* soundpack);
    const void*(SLICECAST_CLAP_CALL* getExtension)(const PresetIndexer* indexer, const char* extensionId);
};

struct PresetProvider {
    const PresetProviderDescriptor* desc;
    void* providerData;
    bool(SLICECAST_CLAP_CALL* init)(const PresetProvider* provider);
    void(SLICECAST_CLAP_CALL* destroy)(const PresetProvider* provider);
    bool(SLICECAST_CLAP_CALL* getMetadata)(const PresetProvider* provider, std::uint32_t locationKind,
                                           const char* location, const PresetMetadataReceiver* receiver);
    const void*(SLICECAST_CLAP_CALL* getExtension)(const PresetProvider* provider, const char* extensionId);
};

struct PresetDiscoveryFactory {
    std::uint32_t(SLICECAST_CLAP_CALL* count)(const PresetDiscoveryFactory* factory);
    const PresetProviderDescriptor*(SLICECAST_CLAP_CALL* getDescriptor)(const PresetDiscoveryFactory* factory,
                                                                        std::uint32_t index);
    const PresetProvider*(SLICECAST_CLAP_CALL* create)(const PresetDiscoveryFactory* factory,
                                                       const PresetIndexer* indexer, const char* providerId);
};

struct PluginPresetLoad {
    bool(SLICECAST_CLAP_CALL* fromLocation)(const Plugin* plugin, std::uint32_t locationKind, const char* location,
                                            const char* loadKey);
};

struct HostPresetLoad {
    void(SLICECAST_CLAP_CALL* onError)(const Host* host, std::uint32_t locationKind, const char* location,
                                       const char* loadKey, std::int32_t osError, const char* message);
    void(SLICECAST_CLAP_CALL* loaded)(const Host* host, std::uint32_t locationKind, const char* location,
                                      const char* loadKey);
};

// ---------------------------------------------------------------- host extensions

constexpr const char* kExtLog = "clap.log";
constexpr const char* kExtThreadCheck = "clap.thread-check";

enum LogSeverity : std::int32_t {
    kLogDebug = 0,
    kLogInfo = 1,
    kLogWarning = 2,
    kLogError = 3,
    kLogFatal = 4,
    kLogHostMisbehaving = 5,
    kLogPluginMisbehaving = 6,
};

struct HostLog {
    void(SLICECAST_CLAP_CALL* log)(const Host* host, std::int32_t severity, const char* message);
};

struct HostThreadCheck {
    bool(SLICECAST_CLAP_CALL* isMainThread)(const Host* host);
    bool(SLICECAST_CLAP_CALL* isAudioThread)(const Host* host);
};

// ---------------------------------------------------------------- layout checks

constexpr bool kWide = sizeof(void*) == 8;
static_assert(sizeof(void*) == 8 || sizeof(void*) == 4);
static_assert(sizeof(bool) == 1);
constexpr std::size_t pick(std::size_t wide, std::size_t narrow) { return kWide ? wide : narrow; }

static_assert(sizeof(Version) == 12);
static_assert(offsetof(Version, minor) == 4 && offsetof(Version, revision) == 8);

static_assert(sizeof(PluginEntry) == pick(40, 24));
static_assert(offsetof(PluginEntry, init) == pick(16, 12));
static_assert(offsetof(PluginEntry, deinit) == pick(24, 16));
static_assert(offsetof(PluginEntry, getFactory) == pick(32, 20));

static_assert(sizeof(PluginFactory) == pick(24, 12));
static_assert(offsetof(PluginFactory, getPluginDescriptor) == pick(8, 4));
static_assert(offsetof(PluginFactory, createPlugin) == pick(16, 8));

static_assert(sizeof(PluginDescriptor) == pick(88, 48));
static_assert(offsetof(PluginDescriptor, id) == pick(16, 12));
static_assert(offsetof(PluginDescriptor, name) == pick(24, 16));
static_assert(offsetof(PluginDescriptor, vendor) == pick(32, 20));
static_assert(offsetof(PluginDescriptor, url) == pick(40, 24));
static_assert(offsetof(PluginDescriptor, manualUrl) == pick(48, 28));
static_assert(offsetof(PluginDescriptor, supportUrl) == pick(56, 32));
static_assert(offsetof(PluginDescriptor, version) == pick(64, 36));
static_assert(offsetof(PluginDescriptor, description) == pick(72, 40));
static_assert(offsetof(PluginDescriptor, features) == pick(80, 44));

static_assert(sizeof(Plugin) == pick(96, 48));
static_assert(offsetof(Plugin, pluginData) == pick(8, 4));
static_assert(offsetof(Plugin, init) == pick(16, 8));
static_assert(offsetof(Plugin, destroy) == pick(24, 12));
static_assert(offsetof(Plugin, activate) == pick(32, 16));
static_assert(offsetof(Plugin, deactivate) == pick(40, 20));
static_assert(offsetof(Plugin, startProcessing) == pick(48, 24));
static_assert(offsetof(Plugin, stopProcessing) == pick(56, 28));
static_assert(offsetof(Plugin, reset) == pick(64, 32));
static_assert(offsetof(Plugin, process) == pick(72, 36));
static_assert(offsetof(Plugin, getExtension) == pick(80, 40));
static_assert(offsetof(Plugin, onMainThread) == pick(88, 44));

static_assert(sizeof(Host) == pick(88, 48));
static_assert(offsetof(Host, hostData) == pick(16, 12));
static_assert(offsetof(Host, name) == pick(24, 16));
static_assert(offsetof(Host, vendor) == pick(32, 20));
static_assert(offsetof(Host, url) == pick(40, 24));
static_assert(offsetof(Host, version) == pick(48, 28));
static_assert(offsetof(Host, getExtension) == pick(56, 32));
static_assert(offsetof(Host, requestRestart) == pick(64, 36));
static_assert(offsetof(Host, requestProcess) == pick(72, 40));
static_assert(offsetof(Host, requestCallback) == pick(80, 44));

static_assert(sizeof(UniversalPluginId) == pick(16, 8));
static_assert(sizeof(PresetMetadataReceiver) == pick(88, 44));
static_assert(offsetof(PresetMetadataReceiver, beginPreset) == pick(16, 8));
static_assert(offsetof(PresetMetadataReceiver, addExtraInfo) == pick(80, 40));
static_assert(sizeof(PresetFiletype) == pick(24, 12));
static_assert(sizeof(PresetLocation) == pick(32, 16));
static_assert(offsetof(PresetLocation, name) == pick(8, 4));
static_assert(offsetof(PresetLocation, kind) == pick(16, 8));
static_assert(offsetof(PresetLocation, location) == pick(24, 12));
static_assert(sizeof(PresetSoundpack) == pick(64, 40));
static_assert(offsetof(PresetSoundpack, id) == pick(8, 4));
static_assert(offsetof(PresetSoundpack, imagePath) == pick(48, 24));
static_assert(offsetof(PresetSoundpack, releaseTimestamp) == pick(56, 32));
static_assert(sizeof(PresetProviderDescriptor) == pick(40, 24));
static_assert(offsetof(PresetProviderDescriptor, id) == pick(16, 12));
static_assert(offsetof(PresetProviderDescriptor, vendor) == pick(32, 20));
static_assert(sizeof(PresetIndexer) == pick(88, 48));
static_assert(offsetof(PresetIndexer, name) == pick(16, 12));
static_assert(offsetof(PresetIndexer, indexerData) == pick(48, 28));
static_assert(offsetof(PresetIndexer, declareFiletype) == pick(56, 32));
static_assert(offsetof(PresetIndexer, getExtension) == pick(80, 44));
static_assert(sizeof(PresetProvider) == pick(48, 24));
static_assert(offsetof(PresetProvider, init) == pick(16, 8));
static_assert(offsetof(PresetProvider, getMetadata) == pick(32, 16));
static_assert(offsetof(PresetProvider, getExtension) == pick(40, 20));
static_assert(sizeof(PresetDiscoveryFactory) == pick(24, 12));
static_assert(sizeof(PluginPresetLoad) == pick(8, 4));
static_assert(sizeof(HostPresetLoad) == pick(16, 8));

static_assert(sizeof(Process) == pick(64, 40));
static_assert(offsetof(Process, framesCount) == 8);
static_assert(offsetof(Process, transport) == pick(16, 12));
static_assert(offsetof(Process, audioInputs) == pick(24, 16));
static_assert(offsetof(Process, audioOutputs) == pick(32, 20));
static_assert(offsetof(Process, audioInputsCount) == pick(40, 24));
static_assert(offsetof(Process, audioOutputsCount) == pick(44, 28));
static_assert(offsetof(Process, inEvents) == pick(48, 32));
static_assert(offsetof(Process, outEvents) == pick(56, 36));

static_assert(sizeof(AudioBuffer) == pick(32, 24));
static_assert(offsetof(AudioBuffer, data64) == pick(8, 4));
static_assert(offsetof(AudioBuffer, channelCount) == pick(16, 8));
static_assert(offsetof(AudioBuffer, latency) == pick(20, 12));
static_assert(offsetof(AudioBuffer, constantMask) == pick(24, 16));

static_assert(sizeof(EventHeader) == 16);
static_assert(offsetof(EventHeader, time) == 4);
static_assert(offsetof(EventHeader, spaceId) == 8);
static_assert(offsetof(EventHeader, type) == 10);
static_assert(offsetof(EventHeader, flags) == 12);

static_assert(sizeof(EventParamValue) == pick(56, 48));
static_assert(offsetof(EventParamValue, paramId) == 16);
static_assert(offsetof(EventParamValue, cookie) == pick(24, 20));
static_assert(offsetof(EventParamValue, noteId) == pick(32, 24));
static_assert(offsetof(EventParamValue, portIndex) == pick(36, 28));
static_assert(offsetof(EventParamValue, channel) == pick(38, 30));
static_assert(offsetof(EventParamValue, key) == pick(40, 32));
static_assert(offsetof(EventParamValue, value) == pick(48, 40));

static_assert(sizeof(EventTransport) == 104);
static_assert(offsetof(EventTransport, flags) == 16);
static_assert(offsetof(EventTransport, songPosBeats) == 24);
static_assert(offsetof(EventTransport, songPosSeconds) == 32);
static_assert(offsetof(EventTransport, tempo) == 40);
static_assert(offsetof(EventTransport, tempoInc) == 48);
static_assert(offsetof(EventTransport, loopStartBeats) == 56);
static_assert(offsetof(EventTransport, loopEndBeats) == 64);
static_assert(offsetof(EventTransport, loopStartSeconds) == 72);
static_assert(offsetof(EventTransport, loopEndSeconds) == 80);
static_assert(offsetof(EventTransport, barStart) == 88);
static_assert(offsetof(EventTransport, barNumber) == 96);
static_assert(offsetof(EventTransport, tsigNum) == 100);
static_assert(offsetof(EventTransport, tsigDenom) == 102);

static_assert(sizeof(InputEvents) == pick(24, 12));
static_assert(offsetof(InputEvents, size) == pick(8, 4));
static_assert(offsetof(InputEvents, get) == pick(16, 8));
static_assert(sizeof(OutputEvents) == pick(16, 8));
static_assert(offsetof(OutputEvents, tryPush) == pick(8, 4));

static_assert(sizeof(AudioPortInfo) == pick(288, 276));
static_assert(offsetof(AudioPortInfo, name) == 4);
static_assert(offsetof(AudioPortInfo, flags) == 260);
static_assert(offsetof(AudioPortInfo, channelCount) == 264);
static_assert(offsetof(AudioPortInfo, portType) == pick(272, 268));
static_assert(offsetof(AudioPortInfo, inPlacePair) == pick(280, 272));
static_assert(sizeof(PluginAudioPorts) == pick(16, 8));
static_assert(offsetof(PluginAudioPorts, get) == pick(8, 4));

static_assert(sizeof(ParamInfo) == 1320);
static_assert(offsetof(ParamInfo, flags) == 4);
static_assert(offsetof(ParamInfo, cookie) == 8);
static_assert(offsetof(ParamInfo, name) == pick(16, 12));
static_assert(offsetof(ParamInfo, module) == pick(272, 268));
static_assert(offsetof(ParamInfo, minValue) == 1296);
static_assert(offsetof(ParamInfo, maxValue) == 1304);
static_assert(offsetof(ParamInfo, defaultValue) == 1312);

static_assert(sizeof(PluginParams) == pick(48, 24));
static_assert(offsetof(PluginParams, getInfo) == pick(8, 4));
static_assert(offsetof(PluginParams, getValue) == pick(16, 8));
static_assert(offsetof(PluginParams, valueToText) == pick(24, 12));
static_assert(offsetof(PluginParams, textToValue) == pick(32, 16));
static_assert(offsetof(PluginParams, flush) == pick(40, 20));

static_assert(sizeof(InputStream) == pick(16, 8) && offsetof(InputStream, read) == pick(8, 4));
static_assert(sizeof(OutputStream) == pick(16, 8) && offsetof(OutputStream, write) == pick(8, 4));
static_assert(sizeof(PluginState) == pick(16, 8) && offsetof(PluginState, load) == pick(8, 4));
static_assert(sizeof(HostLog) == pick(8, 4));
static_assert(sizeof(HostState) == pick(8, 4));
static_assert(sizeof(HostThreadCheck) == pick(16, 8) && offsetof(HostThreadCheck, isAudioThread) == pick(8, 4));
static_assert(sizeof(HostParams) == pick(24, 12));
static_assert(offsetof(HostParams, clear) == pick(8, 4));
static_assert(offsetof(HostParams, requestFlush) == pick(16, 8));

}  // namespace clap
