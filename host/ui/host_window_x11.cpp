// The host window on X11, on a display connection of its own. The hand is
// the XTest extension's input, as a user's would be: it goes to whatever
// window is under the pointer, an editor's child window included.
#include <cstring>
#include <stdexcept>

#include "host_window.h"

// Xlib last: its macros (Bool, None, Status) break headers after it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace pluginhost {

namespace {

constexpr unsigned int kWheelUp = 4;
constexpr unsigned int kWheelDown = 5;

class X11HostWindow final : public HostWindow {
public:
    X11HostWindow(UiLoop& loop, Display* display, Window window)
        : loop_(loop), display_(display), window_(window) {
        deleteMessage_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display_, window_, &deleteMessage_, 1);
        loop_.addDescriptor(ConnectionNumber(display_), [this] { dispatch(); });
    }

    ~X11HostWindow() override {
        loop_.removeDescriptor(ConnectionNumber(display_));
        XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }

    NativeWindow native() const override { return static_cast<NativeWindow>(window_); }

    void resize(std::int32_t width, std::int32_t height) override {
        XResizeWindow(display_, window_, static_cast<unsigned>(width), static_cast<unsigned>(height));
        XSync(display_, False);
    }

    void showChildren() override {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display_, window_, &root, &parent, &children, &count) == 0) return;
        for (unsigned int i = 0; i < count; ++i) XMapWindow(display_, children[i]);
        if (children != nullptr) XFree(children);
        XSync(display_, False);
    }

    bool closed() const override { return closed_; }

    Pixels capture() override {
        XWindowAttributes attributes;
        XGetWindowAttributes(display_, window_, &attributes);
        Pixels pixels{attributes.width, attributes.height, {}};
        XImage* image = XGetImage(display_, window_, 0, 0, static_cast<unsigned>(attributes.width),
                                  static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
        if (image == nullptr) throw std::runtime_error("the window's pixels could not be read");
        pixels.rgb.resize(static_cast<std::size_t>(attributes.width) * static_cast<std::size_t>(attributes.height));
        for (int y = 0; y < attributes.height; ++y) {
            for (int x = 0; x < attributes.width; ++x) {
                pixels.rgb[static_cast<std::size_t>(y) * static_cast<std::size_t>(attributes.width) +
                           static_cast<std::size_t>(x)] = static_cast<std::uint32_t>(XGetPixel(image, x, y)) &
                                                          0x00FFFFFFu;
            }
        }
        XDestroyImage(image);
        return pixels;
    }

    void moveTo(std::int32_t x, std::int32_t y) override {
        Window child = 0;
        int screenX = 0;
        int screenY = 0;
        XTranslateCoordinates(display_, window_, DefaultRootWindow(display_), x, y, &screenX, &screenY, &child);
        XTestFakeMotionEvent(display_, DefaultScreen(display_), screenX, screenY, CurrentTime);
        XSync(display_, False);
    }

    void press() override { button(Button1, true); }
    void release() override { button(Button1, false); }

    void turnWheel(int notches) override {
        for (int i = 0; i < (notches < 0 ? -notches : notches); ++i) {
            button(notches > 0 ? kWheelUp : kWheelDown, true);
            button(notches > 0 ? kWheelUp : kWheelDown, false);
        }
    }

    void holdShift(bool held) override {
        XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, XK_Shift_L), held ? True : False, CurrentTime);
        XSync(display_, False);
    }

private:
    void button(unsigned int which, bool down) {
        XTestFakeButtonEvent(display_, which, down ? True : False, CurrentTime);
        XSync(display_, False);
    }

    void dispatch() {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == deleteMessage_) {
                closed_ = true;
            }
        }
    }

    UiLoop& loop_;
    Display* display_;
    Window window_;
    Atom deleteMessage_ = 0;
    bool closed_ = false;
};

}  // namespace

std::unique_ptr<HostWindow> HostWindow::open(UiLoop& loop, std::int32_t width, std::int32_t height,
                                             const std::string& title) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return nullptr;
    int event = 0;
    int error = 0;
    int major = 0;
    int minor = 0;
    if (XTestQueryExtension(display, &event, &error, &major, &minor) == 0) {
        XCloseDisplay(display);
        return nullptr;
    }
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0,
                                              static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
                                              BlackPixel(display, screen), BlackPixel(display, screen));
    XStoreName(display, window, title.c_str());
    XSelectInput(display, window, StructureNotifyMask);
    XMapWindow(display, window);
    XSync(display, False);
    return std::make_unique<X11HostWindow>(loop, display, window);
}

}  // namespace pluginhost
