// The host object a CLAP plug-in is created with: names, the host
// extensions a plug-in of this kind may ask for (log, thread-check, params,
// state, preset-load under both its ids) and a record of what the plug-in asked of them, so that tests and
// tools can see it. With extensions off it answers none, as a scanner does.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "clap_abi.h"

namespace claphost {

class HostObject {
public:
    explicit HostObject(bool offerExtensions = true);
    HostObject(const HostObject&) = delete;
    HostObject& operator=(const HostObject&) = delete;

    const clap::Host* host() const { return &host_; }

    // What the plug-in did through the host, since creation.
    std::vector<std::string> logMessages() const;
    // Calls of the params extension (rescan, clear, request_flush).
    int paramsCalls() const { return paramsCalls_.load(); }
    int restartRequests() const { return restartRequests_.load(); }
    int callbackRequests() const { return callbackRequests_.load(); }
    int dirtyMarks() const { return dirtyMarks_.load(); }
    // The load keys of presets the plug-in said it loaded, and the messages
    // of those it said it could not, in order.
    std::vector<std::string> presetsLoaded() const;
    std::vector<std::string> presetErrors() const;

    // Marks the calling thread as playing the audio-thread role while the
    // guard lives (what is_audio_thread answers).
    class AudioThreadRole {
    public:
        AudioThreadRole();
        ~AudioThreadRole();
        AudioThreadRole(const AudioThreadRole&) = delete;
        AudioThreadRole& operator=(const AudioThreadRole&) = delete;

    private:
        bool previous_;
    };

private:
    static const void* SLICECAST_CLAP_CALL getExtension(const clap::Host* host, const char* id);
    static void SLICECAST_CLAP_CALL requestRestart(const clap::Host* host);
    static void SLICECAST_CLAP_CALL requestProcess(const clap::Host* host);
    static void SLICECAST_CLAP_CALL requestCallback(const clap::Host* host);
    static void SLICECAST_CLAP_CALL log(const clap::Host* host, std::int32_t severity, const char* message);
    static bool SLICECAST_CLAP_CALL isMainThread(const clap::Host* host);
    static bool SLICECAST_CLAP_CALL isAudioThread(const clap::Host* host);
    static void SLICECAST_CLAP_CALL rescan(const clap::Host* host, std::uint32_t flags);
    static void SLICECAST_CLAP_CALL clear(const clap::Host* host, clap::Id id, std::uint32_t flags);
    static void SLICECAST_CLAP_CALL requestFlush(const clap::Host* host);
    static void SLICECAST_CLAP_CALL markDirty(const clap::Host* host);
    static void SLICECAST_CLAP_CALL presetError(const clap::Host* host, std::uint32_t locationKind,
                                                const char* location, const char* loadKey, std::int32_t osError,
                                                const char* message);
    static void SLICECAST_CLAP_CALL presetLoaded(const clap::Host* host, std::uint32_t locationKind,
                                                 const char* location, const char* loadKey);
    static HostObject& of(const clap::Host* host);

    clap::Host host_;
    bool offerExtensions_;
    std::thread::id mainThread_;
    mutable std::mutex logMutex_;
    std::vector<std::string> logMessages_;
    std::vector<std::string> presetsLoaded_;
    std::vector<std::string> presetErrors_;
    std::atomic<int> paramsCalls_{0};
    std::atomic<int> restartRequests_{0};
    std::atomic<int> callbackRequests_{0};
    std::atomic<int> dirtyMarks_{0};
};

}  // namespace claphost
