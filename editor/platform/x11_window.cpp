// The editor's window on X11: a child of the host's window on a display
// connection of its own, so that the editor never reads or disturbs the
// host's events. It carries the XEmbed information (not yet mapped) before
// the first flush: hosts that embed through XEmbed read it when they see the
// window appear and map it themselves; others have show() map it.
#include "editor_window.h"

#include <array>
#include <cstdlib>

// Xlib last: its macros (Bool, None, Status) break headers after it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace slicecast::editor {

const WindowSystem kWindowSystem{"x11", true};

namespace {

// Two presses of the first button this close in time and place make a
// double click.
constexpr Time kDoubleClickMilliseconds = 400;
constexpr int kDoubleClickPixels = 4;
// The buttons X reports for the wheel.
constexpr unsigned int kWheelUp = 4;
constexpr unsigned int kWheelDown = 5;

// The XEmbed information: version 0, and whether the window wants to be
// mapped.
void announceEmbedding(Display* display, Window window, bool mapped) {
    const Atom info = XInternAtom(display, "_XEMBED_INFO", False);
    const std::array<long, 2> data{0, mapped ? 1 : 0};
    XChangeProperty(display, window, info, info, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()), static_cast<int>(data.size()));
}


// Xlib reports a failed request to one handler for the whole process, and
// its default ends the process: while the editor makes its window (the
// host's window id may be stale), errors are caught and counted instead,
// and the host's handler is put back after.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display) noexcept : display_(display) {
        XSync(display_, False);
        errors = 0;
        previous_ = XSetErrorHandler(&count);
    }
    ~ErrorTrap() { XSetErrorHandler(previous_); }
    // Whether every request so far went through.
    bool clean() noexcept {
        XSync(display_, False);
        return errors == 0;
    }

private:
    static int count(Display*, XErrorEvent*) {
        ++errors;
        return 0;
    }
    static inline int errors = 0;
    Display* display_;
    XErrorHandler previous_;
};

class X11Window final : public EditorWindow {
public:
    X11Window(Display* display, Window window, WindowEvents& events) noexcept
        : display_(display), window_(window), events_(events) {}

    ~X11Window() override {
        guarded([this] { XDestroyWindow(display_, window_); });
        XCloseDisplay(display_);
    }

    NativeParent native() const noexcept override { return static_cast<NativeParent>(window_); }
    int eventDescriptor() const noexcept override { return ConnectionNumber(display_); }

    void dispatchEvents() noexcept override {
        // Xlib may already hold events it read with an earlier request, so
        // the queue is drained, not the socket.
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            handle(event);
        }
    }

    void show() noexcept override {
        guarded([this] {
            // Hosts that embed through XEmbed map the window when it says
            // it wants to be; the rest see it mapped.
            announceEmbedding(display_, window_, true);
            XMapRaised(display_, window_);
        });
    }

    void hide() noexcept override {
        guarded([this] { XUnmapWindow(display_, window_); });
    }

    void resize(std::int32_t width, std::int32_t height) noexcept override {
        guarded([&] { XResizeWindow(display_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height)); });
    }

    void present(const std::uint32_t* pixels, std::int32_t width, std::int32_t height) noexcept override {
        guarded([&] { put(pixels, width, height); });
    }

private:
    // Requests that may meet a window already gone: a host may destroy its
    // own window, and ours with it, before it closes the editor. The first
    // failed request tells us so, and no more are sent.
    template <typename Requests>
    void guarded(Requests&& requests) noexcept {
        if (gone_) return;
        ErrorTrap trap(display_);
        requests();
        if (!trap.clean()) gone_ = true;
    }

    void put(const std::uint32_t* pixels, std::int32_t width, std::int32_t height) noexcept {
        const int screen = DefaultScreen(display_);
        // 0xAARRGGBB words are what a 24-bit TrueColor visual with 32 bits
        // per pixel takes as they are.
        XImage* image = XCreateImage(display_, DefaultVisual(display_, screen), 24, ZPixmap, 0,
                                     reinterpret_cast<char*>(const_cast<std::uint32_t*>(pixels)),
                                     static_cast<unsigned>(width), static_cast<unsigned>(height), 32, width * 4);
        if (image == nullptr) return;
        XPutImage(display_, window_, DefaultGC(display_, screen), image, 0, 0, 0, 0, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
        // The pixels are the caller's: XDestroyImage would free them.
        image->data = nullptr;
        XDestroyImage(image);
    }

    void handle(const XEvent& event) noexcept {
        switch (event.type) {
            case DestroyNotify:
                if (event.xdestroywindow.window == window_) gone_ = true;
                break;
            case Expose:
                if (event.xexpose.count == 0) events_.exposed();
                break;
            case ButtonPress: pressed(event.xbutton); break;
            case ButtonRelease:
                if (event.xbutton.button == Button1) events_.pointerReleased();
                break;
            case MotionNotify:
                events_.pointerMoved(event.xmotion.x, event.xmotion.y, (event.xmotion.state & ShiftMask) != 0);
                break;
            default: break;
        }
    }

    void pressed(const XButtonEvent& button) noexcept {
        if (button.button == kWheelUp || button.button == kWheelDown) {
            events_.wheelTurned(button.x, button.y, button.button == kWheelUp ? 1 : -1);
            return;
        }
        if (button.button != Button1) return;
        const bool doubleClick = lastPress_.valid && button.time - lastPress_.time <= kDoubleClickMilliseconds &&
                                 std::abs(button.x - lastPress_.x) <= kDoubleClickPixels &&
                                 std::abs(button.y - lastPress_.y) <= kDoubleClickPixels;
        // A third press starts over rather than making another double click.
        lastPress_ = {!doubleClick, button.time, button.x, button.y};
        events_.pointerPressed(button.x, button.y, (button.state & ShiftMask) != 0, doubleClick ? 2 : 1);
    }

    struct Press {
        bool valid = false;
        Time time = 0;
        int x = 0;
        int y = 0;
    };

    Display* display_;
    Window window_;
    WindowEvents& events_;
    Press lastPress_;
    bool gone_ = false;
};

}  // namespace

std::unique_ptr<EditorWindow> openEditorWindow(NativeParent parent, std::int32_t width, std::int32_t height,
                                               WindowEvents& events, std::int32_t) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    const int screen = DefaultScreen(display);
    // The pixels go out as they are: only a 24-bit TrueColor default visual
    // takes them so.
    XVisualInfo visual;
    if (parent == 0 || DefaultDepth(display, screen) != 24 ||
        XMatchVisualInfo(display, screen, 24, TrueColor, &visual) == 0 ||
        visual.visual != DefaultVisual(display, screen)) {
        XCloseDisplay(display);
        return nullptr;
    }
    ErrorTrap trap(display);
    XSetWindowAttributes attributes{};
    attributes.event_mask =
        ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | StructureNotifyMask;
    attributes.background_pixel = BlackPixel(display, screen);
    const Window window =
        XCreateWindow(display, static_cast<Window>(parent), 0, 0, static_cast<unsigned>(width),
                      static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                      CWEventMask | CWBackPixel, &attributes);
    announceEmbedding(display, window, false);
    if (!trap.clean()) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::make_unique<X11Window>(display, window, events);
}

}  // namespace slicecast::editor
