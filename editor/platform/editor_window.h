// The editor's own child window inside the host's window, on whatever
// window system the platform has: it shows a buffer of 32-bit pixels
// (0xAARRGGBB) and reports the pointer in physical pixels. It never runs a
// loop or a thread of its own: the host's UI thread calls dispatchEvents
// through the host's loop (a descriptor to watch, a timer), and every call
// returns at once.
#pragma once

#include <cstdint>
#include <memory>

namespace slicecast::editor {

// What the window reports, on the host's UI thread, from dispatchEvents or
// from the window procedure the host's message loop calls.
class WindowEvents {
public:
    // clicks is 2 for the second press of a double click.
    virtual void pointerPressed(double x, double y, bool fine, int clicks) = 0;
    virtual void pointerMoved(double x, double y, bool fine) = 0;
    virtual void pointerReleased() = 0;
    // notches > 0 away from the user (up).
    virtual void wheelTurned(double x, double y, int notches) = 0;
    // Part of the window needs its pixels again.
    virtual void exposed() = 0;
    // A timer tick, on platforms whose window keeps its own timer (the host
    // drives it elsewhere).
    virtual void ticked() = 0;

protected:
    ~WindowEvents() = default;
};

// The window system the editor's window lives on, by its usual short name
// ("x11", "win32"), and whether the host's loop must drive the window (a
// descriptor to watch and a timer) or the window system calls it itself.
struct WindowSystem {
    const char* name;
    bool drivenByHostLoop;
};
extern const WindowSystem kWindowSystem;

// The host's window: an X11 window id or an HWND, as a number.
using NativeParent = std::uintptr_t;

class EditorWindow {
public:
    virtual ~EditorWindow() = default;

    // The window itself, as the window system names it.
    virtual NativeParent native() const noexcept = 0;
    // The descriptor a host's loop watches for the window's events, or -1
    // where the window system calls the window itself.
    virtual int eventDescriptor() const noexcept = 0;
    // Handles whatever events are waiting, without ever waiting for one.
    virtual void dispatchEvents() noexcept = 0;
    // Makes the window visible, for hosts that leave that to the plug-in.
    virtual void show() noexcept = 0;
    virtual void hide() noexcept = 0;
    virtual void resize(std::int32_t width, std::int32_t height) noexcept = 0;
    // Puts width x height pixels, row after row, at the window's top left.
    virtual void present(const std::uint32_t* pixels, std::int32_t width, std::int32_t height) noexcept = 0;
};

// A child window of parent, or nothing when the window system cannot be
// reached. timerMilliseconds is the period of ticked() where the window
// keeps its own timer.
std::unique_ptr<EditorWindow> openEditorWindow(NativeParent parent, std::int32_t width, std::int32_t height,
                                               WindowEvents& events, std::int32_t timerMilliseconds);

}  // namespace slicecast::editor
