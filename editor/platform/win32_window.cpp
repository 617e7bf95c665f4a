// The editor's window on Windows: a child of the host's window whose
// procedure the host's message loop calls on its UI thread, with a timer of
// its own there. Its window class is named after the module that holds it,
// so that two builds of the plug-in loaded at once never share a class, and
// the class goes when the module's last editor window closes.
#include "editor_window.h"

#include <windows.h>
#include <windowsx.h>

#include <cstdio>

namespace slicecast::editor {

const WindowSystem kWindowSystem{"win32", false};

namespace {

constexpr UINT_PTR kTimerId = 1;

HINSTANCE thisModule() noexcept {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&thisModule), &module);
    return module;
}

// "SlicecastEditor" and the module's address.
struct ClassName {
    ClassName() noexcept {
        std::swprintf(text, sizeof text / sizeof text[0], L"SlicecastEditor%p", static_cast<void*>(thisModule()));
    }
    wchar_t text[64];
};

// Windows open in this module, all on the host's UI thread.
int openWindows = 0;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class Win32Window final : public EditorWindow {
public:
    explicit Win32Window(WindowEvents& events) noexcept : events_(events) {}

    ~Win32Window() override {
        if (window_ != nullptr) {
            KillTimer(window_, kTimerId);
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
            DestroyWindow(window_);
        }
        if (--openWindows == 0) UnregisterClassW(ClassName().text, thisModule());
    }

    bool open(HWND parent, std::int32_t width, std::int32_t height, std::int32_t timerMilliseconds) noexcept {
        const ClassName name;
        if (openWindows++ == 0) {
            WNDCLASSEXW windowClass{};
            windowClass.cbSize = sizeof windowClass;
            windowClass.style = CS_DBLCLKS;
            windowClass.lpfnWndProc = &windowProcedure;
            windowClass.hInstance = thisModule();
            windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
            windowClass.lpszClassName = name.text;
            if (RegisterClassExW(&windowClass) == 0) return false;
        }
        window_ = CreateWindowExW(0, name.text, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, width, height, parent,
                                  nullptr, thisModule(), nullptr);
        if (window_ == nullptr) return false;
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetTimer(window_, kTimerId, static_cast<UINT>(timerMilliseconds), nullptr);
        return true;
    }

    NativeParent native() const noexcept override { return reinterpret_cast<NativeParent>(window_); }
    int eventDescriptor() const noexcept override { return -1; }
    // The host's message loop calls the window procedure itself.
    void dispatchEvents() noexcept override {}
    void show() noexcept override { ShowWindow(window_, SW_SHOWNA); }
    void hide() noexcept override { ShowWindow(window_, SW_HIDE); }

    void resize(std::int32_t width, std::int32_t height) noexcept override {
        SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }

    void present(const std::uint32_t* pixels, std::int32_t width, std::int32_t height) noexcept override {
        // 0xAARRGGBB words are what a top-down 32-bit DIB takes as they are.
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        HDC context = GetDC(window_);
        SetDIBitsToDevice(context, 0, 0, static_cast<DWORD>(width), static_cast<DWORD>(height), 0, 0, 0,
                          static_cast<UINT>(height), pixels, &info, DIB_RGB_COLORS);
        ReleaseDC(window_, context);
    }

    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        const double x = GET_X_LPARAM(lParam);
        const double y = GET_Y_LPARAM(lParam);
        const bool fine = (wParam & MK_SHIFT) != 0;
        switch (message) {
            case WM_LBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
                SetCapture(window_);
                events_.pointerPressed(x, y, fine, message == WM_LBUTTONDBLCLK ? 2 : 1);
                return 0;
            case WM_MOUSEMOVE: events_.pointerMoved(x, y, fine); return 0;
            case WM_LBUTTONUP:
                ReleaseCapture();
                return 0;
            case WM_CAPTURECHANGED: events_.pointerReleased(); return 0;
            case WM_MOUSEWHEEL: {
                // The wheel reports the point on the screen.
                POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
                ScreenToClient(window_, &point);
                events_.wheelTurned(point.x, point.y, GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
                return 0;
            }
            case WM_PAINT: {
                PAINTSTRUCT paint;
                BeginPaint(window_, &paint);
                EndPaint(window_, &paint);
                events_.exposed();
                return 0;
            }
            case WM_TIMER: events_.ticked(); return 0;
            default: return DefWindowProcW(window_, message, wParam, lParam);
        }
    }

private:
    WindowEvents& events_;
    HWND window_ = nullptr;
};

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* editor = reinterpret_cast<Win32Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (editor == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return editor->handle(message, wParam, lParam);
}

}  // namespace

std::unique_ptr<EditorWindow> openEditorWindow(NativeParent parent, std::int32_t width, std::int32_t height,
                                               WindowEvents& events, std::int32_t timerMilliseconds) {
    auto window = std::make_unique<Win32Window>(events);
    if (!window->open(reinterpret_cast<HWND>(parent), width, height, timerMilliseconds)) return nullptr;
    return window;
}

}  // namespace slicecast::editor
