// The host window on Windows: a top-level window of its own class. The hand
// is SendInput, as a user's would be: it goes to whatever window is under
// the pointer, an editor's child window included.
#include <windows.h>

#include <stdexcept>

#include "host_window.h"

namespace pluginhost {

namespace {

constexpr const wchar_t* kClassName = L"SlicecastHostWindow";

LRESULT CALLBACK hostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class WindowsHostWindow final : public HostWindow {
public:
    explicit WindowsHostWindow(HWND window) : window_(window) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }

    ~WindowsHostWindow() override {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }

    NativeWindow native() const override { return reinterpret_cast<NativeWindow>(window_); }

    void resize(std::int32_t width, std::int32_t height) override {
        RECT frame{0, 0, width, height};
        AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
        SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOMOVE);
    }

    // Child windows show themselves.
    void showChildren() override {}

    bool closed() const override { return closed_; }

    Pixels capture() override {
        RECT client;
        GetClientRect(window_, &client);
        Pixels pixels{client.right, client.bottom, {}};
        pixels.rgb.resize(static_cast<std::size_t>(pixels.width) * static_cast<std::size_t>(pixels.height));
        HDC screen = GetDC(window_);
        HDC memory = CreateCompatibleDC(screen);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = pixels.width;
        info.bmiHeader.biHeight = -pixels.height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap == nullptr) throw std::runtime_error("the window's pixels could not be read");
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, pixels.width, pixels.height, screen, 0, 0, SRCCOPY);
        const auto* words = static_cast<const std::uint32_t*>(bits);
        for (std::size_t i = 0; i < pixels.rgb.size(); ++i) pixels.rgb[i] = words[i] & 0x00FFFFFFu;
        SelectObject(memory, previous);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(window_, screen);
        return pixels;
    }

    void moveTo(std::int32_t x, std::int32_t y) override {
        POINT point{x, y};
        ClientToScreen(window_, &point);
        SetCursorPos(point.x, point.y);
        send(MOUSEEVENTF_MOVE, 0);
    }

    void press() override { send(MOUSEEVENTF_LEFTDOWN, 0); }
    void release() override { send(MOUSEEVENTF_LEFTUP, 0); }
    void turnWheel(int notches) override { send(MOUSEEVENTF_WHEEL, notches * WHEEL_DELTA); }

    void holdShift(bool held) override {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_SHIFT;
        input.ki.dwFlags = held ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &input, sizeof input);
    }

    void markClosed() { closed_ = true; }

private:
    static void send(DWORD flags, int wheel) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        input.mi.mouseData = static_cast<DWORD>(wheel);
        SendInput(1, &input, sizeof input);
    }

    HWND window_;
    bool closed_ = false;
};

LRESULT CALLBACK hostWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        if (auto* host = reinterpret_cast<WindowsHostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA))) {
            host->markClosed();
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

std::unique_ptr<HostWindow> HostWindow::open(UiLoop&, std::int32_t width, std::int32_t height,
                                             const std::string& title) {
    static const ATOM windowClass = [] {
        WNDCLASSEXW description{};
        description.cbSize = sizeof description;
        description.lpfnWndProc = &hostWindowProcedure;
        description.hInstance = GetModuleHandleW(nullptr);
        description.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        description.lpszClassName = kClassName;
        return RegisterClassExW(&description);
    }();
    if (windowClass == 0) return nullptr;
    const std::wstring wideTitle(title.begin(), title.end());
    RECT frame{0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowExW(0, kClassName, wideTitle.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) return nullptr;
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    return std::make_unique<WindowsHostWindow>(window);
}

}  // namespace pluginhost
