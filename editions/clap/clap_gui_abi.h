// The part of CLAP's binary interface an editor adds: the gui extension on
// both sides, the timer and descriptor support a Linux editor runs its
// events through, and the gesture events of an edit by hand. Included by the
// edition and by the project's own host alike, like clap_abi.h, and held to
// the published offsets by the checks at the end.
#pragma once

#include "clap_abi.h"

namespace clap {

// ---------------------------------------------------------------- gui

constexpr const char* kExtGui = "clap.gui";
constexpr const char* kWindowApiX11 = "x11";
constexpr const char* kWindowApiWin32 = "win32";

struct Window {
    const char* api;
    union {
        void* cocoa;
        unsigned long x11;
        void* win32;
        void* ptr;
    } handle;
};

struct GuiResizeHints {
    bool canResizeHorizontally;
    bool canResizeVertically;
    bool preserveAspectRatio;
    std::uint32_t aspectRatioWidth;
    std::uint32_t aspectRatioHeight;
};

struct PluginGui {
    bool(SLICECAST_CLAP_CALL* isApiSupported)(const Plugin* plugin, const char* api, bool isFloating);
    bool(SLICECAST_CLAP_CALL* getPreferredApi)(const Plugin* plugin, const char** api, bool* isFloating);
    bool(SLICECAST_CLAP_CALL* create)(const Plugin* plugin, const char* api, bool isFloating);
    void(SLICECAST_CLAP_CALL* destroy)(const Plugin* plugin);
    bool(SLICECAST_CLAP_CALL* setScale)(const Plugin* plugin, double scale);
    bool(SLICECAST_CLAP_CALL* getSize)(const Plugin* plugin, std::uint32_t* width, std::uint32_t* height);
    bool(SLICECAST_CLAP_CALL* canResize)(const Plugin* plugin);
    bool(SLICECAST_CLAP_CALL* getResizeHints)(const Plugin* plugin, GuiResizeHints* hints);
    bool(SLICECAST_CLAP_CALL* adjustSize)(const Plugin* plugin, std::uint32_t* width, std::uint32_t* height);
    bool(SLICECAST_CLAP_CALL* setSize)(const Plugin* plugin, std::uint32_t width, std::uint32_t height);
    bool(SLICECAST_CLAP_CALL* setParent)(const Plugin* plugin, const Window* window);
    bool(SLICECAST_CLAP_CALL* setTransient)(const Plugin* plugin, const Window* window);
    void(SLICECAST_CLAP_CALL* suggestTitle)(const Plugin* plugin, const char* title);
    bool(SLICECAST_CLAP_CALL* show)(const Plugin* plugin);
    bool(SLICECAST_CLAP_CALL* hide)(const Plugin* plugin);
};

struct HostGui {
    void(SLICECAST_CLAP_CALL* resizeHintsChanged)(const Host* host);
    bool(SLICECAST_CLAP_CALL* requestResize)(const Host* host, std::uint32_t width, std::uint32_t height);
    bool(SLICECAST_CLAP_CALL* requestShow)(const Host* host);
    bool(SLICECAST_CLAP_CALL* requestHide)(const Host* host);
    void(SLICECAST_CLAP_CALL* closed)(const Host* host, bool wasDestroyed);
};

// ---------------------------------------------------------------- timer and descriptors

constexpr const char* kExtTimerSupport = "clap.timer-support";
constexpr const char* kExtPosixFdSupport = "clap.posix-fd-support";

struct PluginTimerSupport {
    void(SLICECAST_CLAP_CALL* onTimer)(const Plugin* plugin, Id timerId);
};

struct HostTimerSupport {
    bool(SLICECAST_CLAP_CALL* registerTimer)(const Host* host, std::uint32_t periodMs, Id* timerId);
    bool(SLICECAST_CLAP_CALL* unregisterTimer)(const Host* host, Id timerId);
};

enum PosixFdFlags : std::uint32_t {
    kPosixFdRead = 1u << 0,
    kPosixFdWrite = 1u << 1,
    kPosixFdError = 1u << 2,
};

struct PluginPosixFdSupport {
    void(SLICECAST_CLAP_CALL* onFd)(const Plugin* plugin, int fd, std::uint32_t flags);
};

struct HostPosixFdSupport {
    bool(SLICECAST_CLAP_CALL* registerFd)(const Host* host, int fd, std::uint32_t flags);
    bool(SLICECAST_CLAP_CALL* modifyFd)(const Host* host, int fd, std::uint32_t flags);
    bool(SLICECAST_CLAP_CALL* unregisterFd)(const Host* host, int fd);
};

// ---------------------------------------------------------------- gestures

struct EventParamGesture {
    EventHeader header;
    Id paramId;
};

// ---------------------------------------------------------------- layout checks

static_assert(sizeof(Window) == pick(16, 8));
static_assert(offsetof(Window, handle) == pick(8, 4));
static_assert(sizeof(GuiResizeHints) == 12);
static_assert(offsetof(GuiResizeHints, aspectRatioWidth) == 4 && offsetof(GuiResizeHints, aspectRatioHeight) == 8);
static_assert(sizeof(PluginGui) == pick(120, 60));
static_assert(offsetof(PluginGui, setScale) == pick(32, 16));
static_assert(offsetof(PluginGui, setParent) == pick(80, 40));
static_assert(offsetof(PluginGui, hide) == pick(112, 56));
static_assert(sizeof(HostGui) == pick(40, 20));
static_assert(offsetof(HostGui, closed) == pick(32, 16));
static_assert(sizeof(PluginTimerSupport) == pick(8, 4));
static_assert(sizeof(HostTimerSupport) == pick(16, 8));
static_assert(sizeof(PluginPosixFdSupport) == pick(8, 4));
static_assert(sizeof(HostPosixFdSupport) == pick(24, 12));
static_assert(offsetof(HostPosixFdSupport, unregisterFd) == pick(16, 8));
static_assert(sizeof(EventParamGesture) == 20);
static_assert(offsetof(EventParamGesture, paramId) == 16);

}  // namespace clap
