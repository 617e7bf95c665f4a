// The host object a CLAP plug-in is created with: names, the host
// extensions a plug-in of this kind may ask for (log, thread-check, params,
// state, preset-load under both its ids, and for an editor gui,
// timer-support and posix-fd-support) and a record of what the plug-in
// asked of them, so that tests and tools can see it. With extensions off it
// answers none, as a scanner does. An editor's timers and descriptors run on
// the UI loop the host is bound to; unbound, registering them fails.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "clap_abi.h"
#include "clap_gui_abi.h"
#include "ui_loop.h"

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
    int flushRequests() const { return flushRequests_.load(); }
    // gui: closed() calls, and resize requests (all refused).
    int guiCalls() const { return guiCalls_; }

    // Runs the editor of plugin on loop: its timers and descriptors call
    // plugin's timer and descriptor support there. Null unbinds; what was
    // registered stays until the plug-in removes it.
    void bindEditorLoop(pluginhost::UiLoop* loop, const clap::Plugin* plugin);
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
    static void SLICECAST_CLAP_CALL resizeHintsChanged(const clap::Host* host);
    static bool SLICECAST_CLAP_CALL requestResize(const clap::Host* host, std::uint32_t width, std::uint32_t height);
    static bool SLICECAST_CLAP_CALL requestShow(const clap::Host* host);
    static bool SLICECAST_CLAP_CALL requestHide(const clap::Host* host);
    static void SLICECAST_CLAP_CALL guiClosed(const clap::Host* host, bool wasDestroyed);
    static bool SLICECAST_CLAP_CALL registerTimer(const clap::Host* host, std::uint32_t periodMs, clap::Id* timerId);
    static bool SLICECAST_CLAP_CALL unregisterTimer(const clap::Host* host, clap::Id timerId);
    static bool SLICECAST_CLAP_CALL registerFd(const clap::Host* host, int fd, std::uint32_t flags);
    static bool SLICECAST_CLAP_CALL modifyFd(const clap::Host* host, int fd, std::uint32_t flags);
    static bool SLICECAST_CLAP_CALL unregisterFd(const clap::Host* host, int fd);
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
    std::atomic<int> flushRequests_{0};
    int guiCalls_ = 0;
    pluginhost::UiLoop* editorLoop_ = nullptr;
    const clap::Plugin* editorPlugin_ = nullptr;
};

}  // namespace claphost
