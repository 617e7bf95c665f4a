// The host's own window that an editor opens inside: a top-level window of
// the size the editor asks for, the hand that works it (pointer moves,
// presses, the wheel and Shift, sent as the window system's own input, so
// that they reach whatever window lies under the pointer, the editor's
// child included), and the pixels it shows. For the render tool's edit
// command and the editors' tests; X11 and Windows each have their own file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui_loop.h"

namespace pluginhost {

// A window of the platform's window system, as a number: an X11 window id
// or an HWND.
using NativeWindow = std::uintptr_t;

struct Pixels {
    std::int32_t width = 0;
    std::int32_t height = 0;
    // 0x00RRGGBB, row after row.
    std::vector<std::uint32_t> rgb;
};

class HostWindow {
public:
    virtual ~HostWindow() = default;

    // A window at the screen's top left, or null when no display can be
    // reached. Its own events run through loop until it is destroyed.
    static std::unique_ptr<HostWindow> open(UiLoop& loop, std::int32_t width, std::int32_t height,
                                            const std::string& title);

    virtual NativeWindow native() const = 0;
    virtual void resize(std::int32_t width, std::int32_t height) = 0;
    // Maps the children an editor left for its host to map (the XEmbed
    // way); nothing where children show themselves.
    virtual void showChildren() = 0;
    // Whether the user closed the window.
    virtual bool closed() const = 0;
    // What the window shows now, children included.
    virtual Pixels capture() = 0;

    // The hand, at points inside the window.
    virtual void moveTo(std::int32_t x, std::int32_t y) = 0;
    virtual void press() = 0;
    virtual void release() = 0;
    virtual void turnWheel(int notches) = 0;
    virtual void holdShift(bool held) = 0;
};

}  // namespace pluginhost
